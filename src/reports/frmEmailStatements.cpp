#include "frmEmailStatements.h"

#include "MailSecrets.h"
#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "widgets/frmProgess.h"
#include "core/DbError.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Layouts;

namespace {
const QString kCaption = QStringLiteral("E-mail Statements");
}

frmEmailStatements::frmEmailStatements(const rptStatement& report, const QDate& from, const QDate& to, const QString& checkText,
                                       QWidget* parent)
    : QDialog(parent), m_report(report), m_from(from), m_to(to)
{
    setObjectName(QStringLiteral("frmEmailStatements"));
    setWindowTitle(kCaption);
    lblCheck = Label(this, "lblCheck", checkText);
    lblCheck->setWordWrap(true);
    lblCheck->setVisible(!checkText.isEmpty());
    lstWho = new QTreeWidget(this);
    lstWho->setObjectName(QStringLiteral("lstWho"));
    lstWho->setHeaderLabels({QStringLiteral("Statement by"), QStringLiteral("Contributor"), QStringLiteral("E-mail Address")});
    lstWho->setRootIsDecorated(false);
    lstWho->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblList = Label(this, "lblList", QStringLiteral("&Who gets what"), lstWho);
    lblSummary = Label(this, "lblSummary", {});
    txtPassword = Box(this, "txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    lblPassword = Label(this, "lblPassword", QStringLiteral("Mail &Password"), txtPassword);
    chkKeep = Check(this, "chkKeep", QStringLiteral("&Keep the password in the desktop's secret store"));
    cmdSend = Button(this, "cmdSend", QStringLiteral("&Send"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* page = Page(this);
    page->addWidget(lblCheck);
    page->addWidget(lblList);
    page->addWidget(lstWho, 1);
    page->addWidget(lblSummary);
    page->addLayout(Row({lblPassword, txtPassword, chkKeep, nullptr}));
    page->addLayout(ButtonRow({cmdSend, cmdCancel}));
    connect(cmdSend, &QPushButton::clicked, this, &frmEmailStatements::Send);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_settings = StatementMail::Settings::Load();
    // Without a user name the server takes mail without a password.
    const bool needPassword = !m_settings.user.isEmpty();
    const bool store = needPassword && MailSecrets::Available();
    const QString kept = store ? MailSecrets::Lookup(m_settings.server, m_settings.user) : QString();
    txtPassword->setText(kept);
    lblPassword->setVisible(needPassword);
    txtPassword->setVisible(needPassword);
    chkKeep->setVisible(store);
    chkKeep->setChecked(!kept.isEmpty());
    Fill();
    resize(760, 520);
}

void frmEmailStatements::Fill()
{
    m_plan = StatementMail::Make_Plan(m_report, m_from, m_to);
    lstWho->clear();
    for (const auto& r : m_plan.email)
        lstWho->addTopLevelItem(new QTreeWidgetItem(
            {r.alreadySent ? QStringLiteral("E-mail (sent)") : QStringLiteral("E-mail"), r.name, r.email}));
    for (const auto& r : m_plan.paper)
        lstWho->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("Paper"), r.name, QString()}));
    for (const auto& r : m_plan.neither)
        lstWho->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("Neither"), r.name, QStringLiteral("no postal or e-mail address")}));
    const int sent = int(m_plan.email.size()) - m_plan.Pending();
    lblSummary->setText(QStringLiteral("%1 to send by e-mail, %2 already sent for this range, %3 on paper, %4 with neither.")
                            .arg(m_plan.Pending())
                            .arg(sent)
                            .arg(m_plan.paper.size())
                            .arg(m_plan.neither.size()));
    cmdSend->setEnabled(m_plan.Pending() > 0 || !m_plan.paper.isEmpty());
}

int frmEmailStatements::Send()
{
    using namespace StatementMail;
    m_settings = Settings::Load();
    if (m_plan.Pending() > 0) {
        if (const QString problem = m_settings.Problem(); !problem.isEmpty()) {
            Messages::Show(problem, kCaption, Messages::Icon::Information);
            return 0;
        }
        if (!m_settings.user.isEmpty() && txtPassword->text().isEmpty()) {
            Messages::Show(QStringLiteral("Please enter the password of the mail server."), kCaption, Messages::Icon::Information);
            txtPassword->setFocus();
            return 0;
        }
    }
    RunResult result;
    try {
        Sender sender(m_settings, txtPassword->text());
        frmProgess progress;
        progress.Allow_Cancel();
        progress.Show_Progress(int(m_plan.email.size()), QStringLiteral("Sending the statements"));
        int shown = 0;
        result = Run(m_report, m_plan, m_from, m_to, sender, m_settings, {}, [&](int done, int, const QString&) {
            progress.Increment_Progess(done - shown);
            shown = done;
            return !progress.Cancelled();
        });
        progress.close();
    } catch (const DbError& e) {
        Messages::Show(e.Message(), kCaption, Messages::Icon::Critical);
        Fill();
        return 0;
    }
    if (chkKeep->isVisible() && result.sent > 0) {
        QString why;
        if (chkKeep->isChecked() && !MailSecrets::Store(m_settings.server, m_settings.user, txtPassword->text(), &why))
            Messages::Show(QStringLiteral("The password could not be kept in the secret store: ") + why, kCaption, Messages::Icon::Information);
        else if (!chkKeep->isChecked())
            MailSecrets::Forget(m_settings.server, m_settings.user);
    }
    QString text = QStringLiteral("%1 statement(s) were sent by e-mail.").arg(result.sent);
    if (!result.refused.isEmpty())
        text += QStringLiteral("\n\nThe mail server refused %1:\n").arg(result.refused.size()) + result.refused.mid(0, 10).join(QLatin1Char('\n'))
            + (result.refused.size() > 10 ? QStringLiteral("\n... and %1 more").arg(result.refused.size() - 10) : QString());
    if (!result.stopped.isEmpty())
        text += QStringLiteral("\n\nThe sending stopped: %1\nStart it again to send the rest; what was sent is not sent again.").arg(result.stopped);
    Messages::Show(text, kCaption, result.refused.isEmpty() && result.stopped.isEmpty() ? Messages::Icon::Information : Messages::Icon::Critical);
    if (!result.paperRows.isEmpty()) {
        QFileDialog dialog(this, QStringLiteral("Save the paper statements"));
        dialog.setObjectName(QStringLiteral("dlgPaper"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (WindowServices::ShowModal(&dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            QString error;
            if (!Write_Paper(m_report, result.paperRows, dialog.selectedFiles().constFirst(), &error))
                Messages::Show(error, kCaption, Messages::Icon::Critical);
        }
    }
    Fill();
    return result.sent;
}
