#include "frmGiftMapping.h"

#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/Windows.h"
#include "core/DbError.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Layouts;
using GiftImport::FieldCount;

namespace {
// The window's own captions, each with a letter of its own.
const char* const kCaptions[FieldCount] = {"&Date of the gift", "Donor &name (or last name)", "&First name (own column)",
                                           "E-&mail", "&Amount", "F&ee", "F&und or designation", "&Transaction ID",
                                           "De&posit date"};
} // namespace

frmGiftMapping::frmGiftMapping(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmGiftMapping", QStringLiteral("Import Online Gifts: Columns"));
    lblFile = Label(this, "lblFile", QString());
    txtPlatform = Box(this, "txtPlatform", 40);
    auto* form = Form();
    form->addRow(Label(this, "lblPlatform", QStringLiteral("P&latform"), txtPlatform), txtPlatform);
    for (int f = 0; f < FieldCount; ++f) {
        const QByteArray name = "cboColumn(" + QByteArray::number(f) + ')';
        const QByteArray sample = "lblSample(" + QByteArray::number(f) + ')';
        QComboBox* combo = Combo(this, name.constData());
        QLabel* value = Label(this, sample.constData(), QString());
        value->setTextInteractionFlags(Qt::NoTextInteraction);
        cboColumn << combo;
        lblSample << value;
        form->addRow(Label(this, ("lblField(" + QByteArray::number(f) + ')').constData(),
                           QString::fromUtf8(kCaptions[f]), combo),
                     Row({combo, value, nullptr}));
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { Show_Samples(); });
    }
    cmdOK = Button(this, "cmdOK", QStringLiteral("Pre&view"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto* page = Page(this);
    page->addWidget(lblFile);
    page->addLayout(form);
    page->addStretch(1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Set_Default_Button(cmdOK);
    Set_Cancel_Button(cmdCancel);
    Set_First_Control(txtPlatform);
    Open_At(this, 6600, 5400);
    connect(cmdOK, &QPushButton::clicked, this, &frmGiftMapping::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Close_Unasked(); });
}

void frmGiftMapping::Form_Load()
{
    QFile file(m_fileName);
    if (file.open(QIODevice::ReadOnly))
        m_table = GiftCsv::Read(file.readAll());
    else
        Messages::Show(m_fileName + QStringLiteral(": ") + file.errorString(), {}, Messages::Icon::Critical);
    lblFile->setText(QFileInfo(m_fileName).fileName());
    GiftImport::Mapping m;
    try {
        if (!GiftImport::Kept_Mapping(m_table.header, &m))
            m = GiftImport::Guess_Mapping(m_table.header);
    } catch (const DbError& e) {
        Messages::Show(e.Message(), {}, Messages::Icon::Critical);
        m = GiftImport::Guess_Mapping(m_table.header);
    }
    txtPlatform->setText(m.name.isEmpty() ? QFileInfo(m_fileName).completeBaseName().left(40) : m.name);
    for (int f = 0; f < FieldCount; ++f) {
        QComboBox* combo = cboColumn.at(f);
        combo->clear();
        combo->addItem(QStringLiteral("(none)"), -1);
        for (int c = 0; c < m_table.header.size(); ++c)
            combo->addItem(m_table.header.at(c).isEmpty() ? QStringLiteral("Column %1").arg(c + 1) : m_table.header.at(c), c);
        combo->setCurrentIndex(m.column[f] + 1);
    }
    Show_Samples();
    Grow_To_Fit();
}

void frmGiftMapping::Show_Samples()
{
    const QStringList first = m_table.rows.value(0);
    for (int f = 0; f < cboColumn.size() && f < lblSample.size(); ++f)
        lblSample.at(f)->setText(first.value(cboColumn.at(f)->currentData().toInt()).simplified().left(40));
}

void frmGiftMapping::cmdOK_Click()
{
    GiftImport::Mapping m;
    m.name = txtPlatform->text().trimmed();
    for (int f = 0; f < FieldCount; ++f)
        m.column[f] = cboColumn.at(f)->currentData().toInt();
    QString problem = GiftImport::Mapping_Problem(m);
    if (m.name.isEmpty())
        problem = QStringLiteral("Please name the platform the file comes from.");
    if (m_table.rows.isEmpty())
        problem = QStringLiteral("The file holds no gifts.");
    if (!problem.isEmpty()) {
        Messages::Show(problem, {}, Messages::Icon::Exclamation);
        return;
    }
    try {
        GiftImport::Keep_Mapping(m_table.header, m);
    } catch (const DbError& e) {
        Messages::Show(e.Message(), {}, Messages::Icon::Critical);
        return;
    }
    const QString fileName = m_fileName;
    Close_Unasked();
    Windows::Open_New(QStringLiteral("frmGiftPreview"), {{QStringLiteral("FileName"), fileName}});
}
