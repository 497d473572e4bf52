#include "frmGiftPreview.h"

#include "core/Helpers.h"
#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "core/clsDBEvent.h"
#include "core/DbError.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Layouts;
using namespace modGlobal;
using GiftImport::How;

namespace {
enum GiftColumn { gcLine, gcDate, gcDeposit, gcDonor, gcContributor, gcFund, gcAmount, gcFee, gcTransaction, gcNote, gcCount };

QString Money(qint64 cents)
{
    return FormatAmount(double(cents) / 100.0);
}

QString How_Text(const GiftImport::Donor& d)
{
    switch (d.how) {
    case How::Email: return d.contributorName + QStringLiteral(" (e-mail)");
    case How::Name:
    case How::Chosen: return d.contributorName;
    case How::Candidates: return QStringLiteral("? %1 similar").arg(d.candidates.size());
    case How::New: return QStringLiteral("New contributor");
    case How::Unknown: return QStringLiteral("New contributor?");
    }
    return QString();
}

QListWidget* List(QWidget* parent, const char* name)
{
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}
} // namespace

frmGiftPreview::frmGiftPreview(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmGiftPreview", QStringLiteral("Import Online Gifts: Preview"));
    fgGifts = Grid(this, "fgGifts");
    fgTotals = Grid(this, "fgTotals");
    lstDonors = List(this, "lstDonors");
    lstDesignations = List(this, "lstDesignations");
    cboContributor = Combo(this, "cboContributor");
    cboFund = Combo(this, "cboFund");
    lblQuestions = Label(this, "lblQuestions", QString());
    lblQuestions->setWordWrap(true);
    cmdImport = Button(this, "cmdImport", QStringLiteral("&Import"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* choices = new QGridLayout;
    choices->addWidget(Label(this, "lblDonors", QStringLiteral("D&onors to match"), lstDonors), 0, 0);
    choices->addWidget(lstDonors, 1, 0);
    choices->addLayout(Pair(Label(this, "lblContributor", QStringLiteral("Co&ntributor"), cboContributor), cboContributor),
                       2, 0);
    choices->addWidget(Label(this, "lblDesignations", QStringLiteral("&Designations"), lstDesignations), 0, 1);
    choices->addWidget(lstDesignations, 1, 1);
    choices->addLayout(Pair(Label(this, "lblFund", QStringLiteral("F&und"), cboFund), cboFund), 2, 1);
    choices->addWidget(Label(this, "lblTotals", QStringLiteral("&Totals"), fgTotals), 0, 2);
    choices->addWidget(fgTotals, 1, 2, 2, 1);
    choices->setColumnStretch(2, 1);

    auto* page = Page(this);
    page->addWidget(Label(this, "lblGifts", QStringLiteral("&Gifts"), fgGifts));
    page->addWidget(fgGifts, 3);
    page->addLayout(choices, 2);
    page->addWidget(lblQuestions);
    page->addLayout(ButtonRow({cmdImport, cmdCancel}));
    Set_Default_Button(cmdImport);
    Set_Cancel_Button(cmdCancel);
    Set_First_Control(fgGifts);
    Open_At(this, 11000, 7200);

    connect(lstDonors, &QListWidget::currentRowChanged, this, [this] { Show_Choices(); });
    connect(lstDesignations, &QListWidget::currentRowChanged, this, [this] { Show_Choices(); });
    connect(cboContributor, &QComboBox::activated, this, [this](int index) {
        const int row = lstDonors->currentRow();
        if (m_filling || row < 0 || row >= m_openDonors.size() || index < 0)
            return;
        GiftImport::Choose_Contributor(m_plan, m_openDonors.at(row), cboContributor->itemData(index).toInt());
        Fill_Gifts();
        Fill_Lists();
        lstDonors->setCurrentRow(row);
    });
    connect(cboFund, &QComboBox::activated, this, [this](int index) {
        const int row = lstDesignations->currentRow();
        if (m_filling || row < 0 || index < 0)
            return;
        GiftImport::Map_Designation(m_plan, row, cboFund->itemData(index).toInt());
        Fill_Gifts();
        Fill_Lists();
        lstDesignations->setCurrentRow(row);
    });
    connect(cmdImport, &QPushButton::clicked, this, &frmGiftPreview::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Close_Unasked(); });
}

void frmGiftPreview::Form_Load()
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Messages::Show(m_fileName + QStringLiteral(": ") + file.errorString(), {}, Messages::Icon::Critical);
        return;
    }
    const GiftCsv::Table table = GiftCsv::Read(file.readAll());
    try {
        GiftImport::Mapping m;
        if (!GiftImport::Kept_Mapping(table.header, &m))
            m = GiftImport::Guess_Mapping(table.header);
        m_plan = GiftImport::Prepare(table, m, QFileInfo(m_fileName).fileName());
    } catch (const DbError& e) {
        Messages::Show(e.Message(), {}, Messages::Icon::Critical);
    }
    Fill_Gifts();
    Fill_Lists();
    Grow_To_Fit();
}

void frmGiftPreview::Handle_DBChange(int table, bool, bool, bool, int, int)
{
    if (table != dbFunds)
        return;
    Fill_Gifts();
    Fill_Lists();
}

void frmGiftPreview::Fill_Gifts()
{
    QvGrid* g = fgGifts;
    const int keep = g->Row();
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(gcCount);
    const int widths[gcCount] = {600, 1100, 1100, 2000, 2200, 1800, 1100, 900, 1500, 1800};
    for (int c = 0; c < gcCount; ++c)
        g->SetColWidthTwips(c, widths[c]);
    g->AddItem(QStringLiteral("Line\tDate\tDeposit\tDonor\tContributor\tFund\tAmount\tFee\tTransaction\tNote"));
    g->SetColAlignment(gcAmount, Qt::AlignRight | Qt::AlignVCenter);
    g->SetColAlignment(gcFee, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("\t\t\t\t\t\t\t\t\t"));
    g->SetRowHidden(1, true);
    for (int i = 0; i < m_plan.gifts.size(); ++i) {
        const GiftImport::Gift& gift = m_plan.gifts.at(i);
        const GiftImport::Designation& d = m_plan.designations.at(m_plan.designationOf.at(i));
        const QString fund = d.mapped ? GiftImport::Fund_Name(d.fundID == 0 ? -gift.date.year() : d.fundID)
                                      : QStringLiteral("? ") + d.text;
        QString note;
        if (m_plan.already.at(i))
            note = QStringLiteral("Imported before");
        else if (gift.cents < 0)
            note = QStringLiteral("Refund");
        const QStringList cells = {QString::number(gift.line),
                                   ShortDate(gift.date),
                                   ShortDate(gift.deposit),
                                   NameJoin(gift.lastName, gift.firstNames, true),
                                   How_Text(m_plan.donors.at(m_plan.donorOf.at(i))),
                                   fund,
                                   Money(gift.cents),
                                   Money(gift.feeCents),
                                   gift.transactionID.startsWith(QLatin1String("row:")) ? QString() : gift.transactionID,
                                   note};
        QStringList clean;
        for (const QString& c : cells)
            clean << QString(c).replace(QLatin1Char('\t'), QLatin1Char(' '));
        g->AddItem(clean.join(QLatin1Char('\t')));
    }
    for (const GiftImport::Refused& r : m_plan.refused)
        g->AddItem(QString::number(r.line) + QStringLiteral("\t\t\t\t\t\t\t\t\tNot read: ")
                   + QString(r.reason).replace(QLatin1Char('\t'), QLatin1Char(' ')));
    if (keep >= 2 && keep < g->Rows())
        g->SetRow(keep);
    g->setUpdatesEnabled(true);
    Fill_Totals();
}

void frmGiftPreview::Fill_Lists()
{
    m_filling = true;
    const int donorRow = lstDonors->currentRow(), designationRow = lstDesignations->currentRow();
    lstDonors->clear();
    m_openDonors.clear();
    for (int d = 0; d < m_plan.donors.size(); ++d) {
        const GiftImport::Donor& donor = m_plan.donors.at(d);
        if (donor.how == How::Email || donor.how == How::Name)
            continue;
        m_openDonors << d;
        lstDonors->addItem(NameJoin(donor.lastName, donor.firstNames, true) + QStringLiteral(": ") + How_Text(donor));
    }
    lstDesignations->clear();
    for (const GiftImport::Designation& d : m_plan.designations)
        lstDesignations->addItem((d.text.isEmpty() ? QStringLiteral("(none)") : d.text) + QStringLiteral(": ")
                                 + (d.mapped ? GiftImport::Fund_Name(d.fundID) : QStringLiteral("?")));
    cboFund->clear();
    for (const auto& [id, name] : GiftImport::Fund_Choices())
        cboFund->addItem(name, id);
    lstDonors->setCurrentRow(std::min(std::max(donorRow, 0), int(lstDonors->count()) - 1));
    lstDesignations->setCurrentRow(std::min(std::max(designationRow, 0), int(lstDesignations->count()) - 1));
    m_filling = false;
    Show_Choices();
    const QStringList open = GiftImport::Open_Questions(m_plan);
    lblQuestions->setText(open.isEmpty() ? QStringLiteral("Ready to import.") : open.join(QLatin1Char('\n')));
}

void frmGiftPreview::Show_Choices()
{
    if (m_filling)
        return;
    m_filling = true;
    cboContributor->clear();
    const int row = lstDonors->currentRow();
    if (row >= 0 && row < m_openDonors.size()) {
        const GiftImport::Donor& d = m_plan.donors.at(m_openDonors.at(row));
        for (const auto& [id, name] : d.candidates)
            cboContributor->addItem(name, id);
        if (d.how == How::Chosen && d.contributorID > 0 && cboContributor->findData(d.contributorID) < 0)
            cboContributor->addItem(d.contributorName, d.contributorID);
        cboContributor->addItem(QStringLiteral("Add as a new contributor"), 0);
        cboContributor->setCurrentIndex(d.how == How::Chosen || d.how == How::New ? cboContributor->findData(d.contributorID)
                                                                                  : -1);
    }
    cboContributor->setEnabled(row >= 0);
    const int des = lstDesignations->currentRow();
    if (des >= 0 && des < m_plan.designations.size()) {
        const GiftImport::Designation& d = m_plan.designations.at(des);
        cboFund->setCurrentIndex(d.mapped ? cboFund->findData(d.fundID) : -1);
    }
    m_filling = false;
}

void frmGiftPreview::Fill_Totals()
{
    QvGrid* g = fgTotals;
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(4);
    const int widths[4] = {2200, 700, 1200, 1000};
    for (int c = 0; c < 4; ++c)
        g->SetColWidthTwips(c, widths[c]);
    g->AddItem(QStringLiteral("Per fund / deposit\tGifts\tAmount\tFees"));
    for (int c = 1; c < 4; ++c)
        g->SetColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("\t\t\t"));
    g->SetRowHidden(1, true);
    auto add = [g](const GiftImport::TotalRow& t) {
        g->AddItem(QString(t.label).replace(QLatin1Char('\t'), QLatin1Char(' ')) + QLatin1Char('\t')
                   + QString::number(t.gifts) + QLatin1Char('\t') + Money(t.cents) + QLatin1Char('\t') + Money(t.feeCents));
    };
    for (const GiftImport::TotalRow& t : GiftImport::Totals_Per_Fund(m_plan))
        add(t);
    for (const GiftImport::TotalRow& t : GiftImport::Totals_Per_Date(m_plan))
        add(t);
    g->setUpdatesEnabled(true);
}

void frmGiftPreview::cmdImport_Click()
{
    if (const QStringList open = GiftImport::Open_Questions(m_plan); !open.isEmpty()) {
        Messages::Show(open.join(QStringLiteral("\r\n")), {}, Messages::Icon::Exclamation);
        return;
    }
    QStringList unknown;
    for (const GiftImport::Donor& d : m_plan.donors)
        if (d.how == How::Unknown)
            unknown << NameJoin(d.lastName, d.firstNames, false);
    if (!unknown.isEmpty()) {
        const QString question = QStringLiteral("These donors are not contributors yet:\r\n\r\n") + unknown.join(QStringLiteral("\r\n"))
            + QStringLiteral("\r\n\r\nAdd them as new contributors?");
        if (Messages::Ask_Default_No(question) != Messages::Answer::Yes)
            return;
    }
    GiftImport::Plan plan = m_plan;
    for (int d = 0; d < plan.donors.size(); ++d)
        if (plan.donors.at(d).how == How::Unknown)
            GiftImport::Choose_Contributor(plan, d, 0);
    GiftImport::Summary s;
    try {
        s = GiftImport::Write(plan);
    } catch (const DbError& e) {
        // Nothing was written; the choices stay for another try.
        Messages::Show(e.Message(), {}, Messages::Icon::Critical);
        return;
    }
    Messages::Show(GiftImport::Summary_Lines(s).join(QStringLiteral("\r\n")), {}, Messages::Icon::Information);
    Close_Unasked();
}
