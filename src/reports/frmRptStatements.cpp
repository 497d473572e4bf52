#include "frmRptStatements.h"

#include "widgets/Layouts.h"
#include "CRViewer91.h"
#include "frmEmailStatements.h"
#include "rptStatement.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"
#include "core/DbError.h"

#include <QComboBox>
#include "widgets/QvDateBox.h"
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

using namespace Layouts;

namespace {
const QString kCaption = QStringLiteral("Contributors' Statements");

QvDateBox* Date_Box(QWidget* parent, const char* name)
{
    auto* box = new QvDateBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}
} // namespace

frmRptStatements::frmRptStatements(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(kCaption);
}

void frmRptStatements::Build_Controls()
{
    cboWhich = Combo(this, "cboWhich");
    lblWhich = Label(this, "lblWhich", QStringLiteral("Statements to &Prepare"), cboWhich);
    dpBegin = Date_Box(this, "dpBegin");
    lblDate = Label(this, "lblDate", QStringLiteral("Show &Contributions from"), dpBegin);
    lblThrough = Label(this, "lblThrough", QStringLiteral("through"));
    dpEnd = Date_Box(this, "dpEnd");
    cmdSaveEach = Button(this, "cmdSaveEach", QStringLiteral("&Save a PDF for each contributor..."));
    Add_To_Strip({lblWhich, cboWhich});
    Add_To_Strip({lblDate, dpBegin, lblThrough, dpEnd});
    cmdEmail = Button(this, "cmdEmail", QStringLiteral("&E-mail statements..."));
    Add_To_Strip({cmdSaveEach, cmdEmail});

    connect(cboWhich, &QComboBox::currentIndexChanged, this, &frmRptStatements::Which_Chosen);
    // The range is taken once a date is whole (left, picked in the
    // calendar or stepped), never at every digit typed.
    for (QvDateBox* box : {dpBegin, dpEnd})
        connect(box, &QvDateBox::dateChanged, this, &frmRptStatements::Date_Changed);
    connect(cmdSaveEach, &QPushButton::clicked, this, &frmRptStatements::Save_Each);
    connect(cmdEmail, &QPushButton::clicked, this, &frmRptStatements::Email_Statements);
    setTabOrder(cboWhich, dpBegin);
    setTabOrder(dpBegin, dpEnd);
    setTabOrder(dpEnd, cmdSaveEach);
    setTabOrder(cmdSaveEach, cmdEmail);
}

void frmRptStatements::Fill_Lists()
{
    const QDate today = modGlobal::Today();
    dpBegin->setDate(Statements::Default_Begin(today));
    dpEnd->setDate(Statements::Default_End(today));
    const QSignalBlocker quiet(cboWhich);
    cboWhich->clear();
    for (const Statements::WhichItem& item : Statements::Which_List())
        cboWhich->addItem(item.text, item.data);
    cboWhich->setCurrentIndex(-1);
}

void frmRptStatements::Which_Chosen(int index)
{
    if (Loading() || index < 0)
        return;
    m_choice = Statements::Choice_Of({cboWhich->itemText(index), cboWhich->itemData(index).toInt()});
    Build();
}

void frmRptStatements::Date_Changed()
{
    if (Loading() || (dpBegin->date() == m_builtBegin && dpEnd->date() == m_builtEnd))
        return;
    Build();
}

std::unique_ptr<Report> frmRptStatements::Make_Report()
{
    m_builtBegin = dpBegin->date();
    m_builtEnd = dpEnd->date();
    cmdSaveEach->setEnabled(false);
    cmdEmail->setEnabled(false);
    if (!m_choice.Any() || Range_Refused(m_builtBegin, m_builtEnd))
        return nullptr;
    Statements::Tables tables;
    {
        // Everybody's statements take a moment: the progress window shows it.
        std::unique_ptr<frmProgess> progress;
        int shown = 0;
        Statements::Progress step;
        if (m_choice.All()) {
            progress = std::make_unique<frmProgess>();
            step = [&](int done, int total) {
                if (shown == 0)
                    progress->Show_Progress(total, QStringLiteral("Preparing the statements"));
                if (done - shown >= 100 || done == total) {
                    progress->Increment_Progess(done - shown);
                    shown = done;
                }
            };
        }
        tables = Statements::Build(m_choice, m_builtBegin, m_builtEnd, step);
    }
    if (tables.lines.IsEmpty())
        return nullptr;
    auto report = std::make_unique<rptStatement>();
    report->Bind(std::move(tables));
    cmdSaveEach->setEnabled(true);
    cmdEmail->setEnabled(true);
    return report;
}

int frmRptStatements::Save_Each()
{
    const auto* report = dynamic_cast<const rptStatement*>(Current_Report());
    if (!report || !report->Table(2) || report->Table(2)->IsEmpty()) {
        Messages::Show(QStringLiteral("There are no statements to save."), kCaption, Messages::Icon::Information);
        return 0;
    }
    const int total = report->Table(2)->RowCount();
    try {
        Statements::Tables shown;
        shown.summaries = *report->Table(2);
        const Statements::Check check = Statements::Pre_Run_Check(m_choice, shown, m_builtBegin, m_builtEnd);
        if (!check.Clean()
            && Messages::Show(check.Text() + QStringLiteral("\n\nSave the statements anyway?"), kCaption, Messages::Icon::Question,
                              Messages::Buttons::YesNo)
                != Messages::Answer::Yes)
            return 0;

        QFileDialog dialog(this, QStringLiteral("Save a PDF for each contributor: choose a folder"));
        dialog.setObjectName(QStringLiteral("dlgSaveEach"));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (WindowServices::ShowModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return 0;
        const QString folder = dialog.selectedFiles().constFirst();

        frmProgess progress;
        progress.Allow_Cancel();
        progress.Show_Progress(total, QStringLiteral("Saving the statements"));
        const StatementFiles files =
            Write_Statement_Pdfs(*report, folder, -m_builtEnd.year(), modGlobal::Today(), [&](int, int) {
                progress.Increment_Progess(1);
                return !progress.Cancelled();
            });
        progress.close();
        const QString where = QDir::toNativeSeparators(folder);
        if (!files.failed.isEmpty()) {
            // A long list is cut: the first ones tell what went wrong.
            QStringList shownFailures = files.failed.mid(0, 10);
            if (files.failed.size() > 10)
                shownFailures << QStringLiteral("... and %1 more").arg(files.failed.size() - 10);
            Messages::Show(QStringLiteral("%1 statement(s) could not be saved:\r\n").arg(files.failed.size())
                               + shownFailures.join(QStringLiteral("\r\n"))
                               + QStringLiteral("\r\n\r\n%1 of %2 statements were saved in %3.").arg(files.written).arg(total).arg(where),
                           kCaption, Messages::Icon::Critical);
        }
        else if (files.cancelled)
            Messages::Show(QStringLiteral("Cancelled: %1 of %2 statements were saved in %3.").arg(files.written).arg(total).arg(where),
                           kCaption, Messages::Icon::Information);
        else
            Messages::Show(QStringLiteral("%1 statements were saved in %2.").arg(files.written).arg(where), kCaption,
                           Messages::Icon::Information);
        return files.written;
    } catch (const DbError& e) {
        Messages::Show(e.Message(), kCaption, Messages::Icon::Critical);
        return 0;
    }
}

bool frmRptStatements::Email_Statements()
{
    const auto* report = dynamic_cast<const rptStatement*>(Current_Report());
    if (!report || !report->Table(2) || report->Table(2)->IsEmpty()) {
        Messages::Show(QStringLiteral("There are no statements to send."), kCaption, Messages::Icon::Information);
        return false;
    }
    try {
        Statements::Tables shown;
        shown.summaries = *report->Table(2);
        const Statements::Check check = Statements::Pre_Run_Check(m_choice, shown, m_builtBegin, m_builtEnd);
        frmEmailStatements dialog(*report, m_builtBegin, m_builtEnd, check.Clean() ? QString() : check.Text(), this);
        WindowServices::ShowModal(&dialog);
        return true;
    } catch (const DbError& e) {
        Messages::Show(e.Message(), kCaption, Messages::Icon::Critical);
        return false;
    }
}

void frmRptStatements::Handle_DBChange(int, bool, bool, bool, int, int)
{
    // Any change may touch a statement: the list again, keeping the
    // choice when it is still there (a contributor by ID, whose name may
    // have changed), and the report again.
    const QString chosen = cboWhich->currentText();
    const int data = cboWhich->currentData().toInt();
    {
        const QSignalBlocker quiet(cboWhich);
        cboWhich->clear();
        int keep = -1;
        for (const Statements::WhichItem& item : Statements::Which_List()) {
            cboWhich->addItem(item.text, item.data);
            if (data > 1 ? item.data == data : item.text == chosen)
                keep = cboWhich->count() - 1;
        }
        cboWhich->setCurrentIndex(keep);
        if (keep < 0)
            m_choice = {};
    }
    Build();
}
