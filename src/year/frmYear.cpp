#include "frmYear.h"

#include "SafetyCopy.h"
#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsFunds.h"

#include <QVBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;
using modGlobal::ProcessingYear;

namespace {
const QString kTitle = QStringLiteral("Change Processing Year");
}

frmYear::frmYear(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmYear", kTitle);
    cboYear = Combo(this, "cboYear");
    lblYear = Label(this, "lblYear", QStringLiteral("Selected Processing Year"), cboYear);
    chkOldInactive = Check(this, "chkOldInactive", QString());
    chkNewActive = Check(this, "chkNewActive", QString());
    QLayout* envelopes = Choice[0].Create(this, 0, QString());
    QLayout* auxiliary = Choice[1].Create(this, 1, QString());
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* page = Page(this);
    page->addLayout(Row({lblYear, cboYear, nullptr}));
    page->addSpacing(fontMetrics().height() / 2);
    page->addWidget(chkOldInactive);
    page->addWidget(chkNewActive);
    page->addSpacing(fontMetrics().height() / 2);
    page->addLayout(envelopes);
    page->addLayout(auxiliary);
    page->addStretch(1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 4695, 4950);

    connect(cboYear, &QComboBox::currentIndexChanged, this, &frmYear::Build_Captions);
    for (auto& c : Choice)
        connect(c.txtBegin, &QLineEdit::returnPressed, this, &frmYear::cmdOK_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmYear::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    CloseOnEscape(this);
    SelectAllOnFocus(this);
}

void frmYear::Form_Load()
{
    const modGlobal::YearList list = modGlobal::Year_List(modGlobal::Today());
    cboYear->blockSignals(true);
    cboYear->clear();
    for (int y : list.years)
        cboYear->addItem(QString::number(y));
    cboYear->setCurrentIndex(list.selected);
    cboYear->blockSignals(false);
    Build_Captions();
    for (auto& c : Choice)
        c.Count_Again();
}

int frmYear::Chosen_Year() const
{
    return cboYear->currentText().toInt();
}

void frmYear::Build_Captions()
{
    // Read from the file each time: the main fund's name may just have changed.
    const QString old = modGlobal::Fund_Display_Name(-ProcessingYear);
    const QString chosen = modGlobal::Fund_Display_Name(-Chosen_Year());
    chkOldInactive->setText(QStringLiteral("Mark all ") + old + QStringLiteral(" pledges as &Inactive"));
    chkNewActive->setText(QStringLiteral("Mark all ") + chosen + QStringLiteral(" pledges as &Active"));
    Choice[0].chkAssign->setText(QStringLiteral("Assign ") + chosen + QStringLiteral(" &envelope numbers"));
    Choice[1].chkAssign->setText(QStringLiteral("Assign ") + chosen + QStringLiteral(" a&uxiliary numbers"));
    Grow_To_Fit();
}

void frmYear::Handle_DBChange(int table, bool, bool, bool, int recordID, int)
{
    if (table == dbFunds && recordID == 1)
        Build_Captions();
    else if (table == dbContributors)
        for (auto& c : Choice)
            c.Count_Again();
}

void frmYear::cmdOK_Click()
{
    const int old = ProcessingYear;
    const int year = Chosen_Year();
    if (year == old && chkNewActive->isChecked() && chkOldInactive->isChecked()) {
        Messages::Show(QStringLiteral("The new year and the current year are both ") + QString::number(old)
                           + QStringLiteral(" and the ") + modGlobal::Fund_Display_Name(-old)
                           + QStringLiteral(" pledges cannot be marked both Active and Inactive."),
                       QStringLiteral("Invalid"), Messages::Icon::Information);
        return;
    }
    if (!YearWindows::Choices_Valid(Choice, kTitle))
        return;

    QString copy;
    m_changes.clear();
    const bool work = chkOldInactive->isChecked() || chkNewActive->isChecked() || Choice[0].Checked() || Choice[1].Checked();
    if (work) {
        try {
            if (!SafetyCopy::Copy_Before_Change(&copy))
                return;
            // The year-end steps as one: a failure part-way leaves the
            // pledges, and the processing year, as they were.
            Connection::Transaction transaction(modGlobal::DB());
            if (chkOldInactive->isChecked()) {
                YearWindows::ProgressWindow p(kTitle);
                modGlobal::Set_Pledges_Active(-old, false, p.Sink());
            }
            for (auto& c : Choice) {
                if (!c.Checked())
                    continue;
                YearWindows::ProgressWindow p(kTitle);
                m_changes += modGlobal::Assign_Numbers(-year, c.First(), c.Envelope(), p.Sink());
            }
            if (chkNewActive->isChecked()) {
                YearWindows::ProgressWindow p(kTitle);
                modGlobal::Set_Pledges_Active(-year, true, p.Sink());
            }
            transaction.Commit();
        } catch (const DbError& e) {
            m_changes.clear();
            YearWindows::Show_Failure(e.Message());
            return;
        }
    }

    // The year is stored in the settings file at exit. No change notice:
    // every other window was closed before this one opened.
    ProcessingYear = year;
    WindowServices::Show_Processing_Year();
    SafetyCopy::Tell_Copy(copy, kTitle);
    YearWindows::Show_Changed_Numbers(-year, m_changes);
    close();
}
