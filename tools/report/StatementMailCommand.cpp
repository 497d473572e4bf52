// qv-report's statements --email: the statements of the run sent by e-mail
// through the mail server of the settings file, the statements for paper in
// one PDF file. The password comes from QV_SMTP_PASSWORD or the desktop's
// secret store. Exit status 0 when everything went, 4 when the server
// refused some, 1 when the run stopped (run it again: what was sent is not
// sent twice).
#include "reports/MailSecrets.h"
#include "reports/StatementMail.h"

#include <cstdio>

int Email_Statements(const rptStatement& report, const QDate& from, const QDate& to, bool dryRun, const QString& paperPdf)
{
    using namespace StatementMail;
    const Plan plan = Make_Plan(report, from, to);
    if (dryRun) {
        for (const QString& line : Plan_Lines(plan))
            std::printf("%s\n", qPrintable(line));
        std::printf("%d to send, %d already sent, %d on paper, %d with neither\n", plan.Pending(),
                    int(plan.email.size()) - plan.Pending(), int(plan.paper.size()), int(plan.neither.size()));
        return 0;
    }
    const Settings settings = Settings::Load();
    if (const QString problem = settings.Problem(); !problem.isEmpty()) {
        std::fprintf(stderr, "qv-report: %s\n", qPrintable(problem));
        return 2;
    }
    QString password = qEnvironmentVariable("QV_SMTP_PASSWORD");
    if (password.isEmpty() && !settings.user.isEmpty())
        password = MailSecrets::Lookup(settings.server, settings.user);
    if (password.isEmpty() && !settings.user.isEmpty()) {
        std::fprintf(stderr, "qv-report: the mail server wants a password: set QV_SMTP_PASSWORD or keep it in the secret store\n");
        return 2;
    }
    Sender sender(settings, password);
    const RunResult r = Run(report, plan, from, to, sender, settings, paperPdf);
    std::printf("%d sent, %d already sent, %d refused\n", r.sent, r.skipped, int(r.refused.size()));
    for (const QString& line : r.refused)
        std::fprintf(stderr, "refused: %s\n", qPrintable(line));
    if (!r.paperFile.isEmpty())
        std::printf("%s: %d paper statements\n", qPrintable(r.paperFile), int(r.paperRows.size()));
    if (!r.paperError.isEmpty())
        std::fprintf(stderr, "qv-report: %s\n", qPrintable(r.paperError));
    if (!r.stopped.isEmpty()) {
        std::fprintf(stderr, "qv-report: the run stopped: %s\n", qPrintable(r.stopped));
        return 1;
    }
    return r.refused.isEmpty() && r.paperError.isEmpty() ? 0 : 4;
}
