#pragma once

#include "rptStatement.h"
#include "storage/ContributorEmail.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

// Statements by e-mail: the church's mail settings, who gets an e-mail and
// who gets paper, the message of each statement and the run that sends them
// through the SMTP server, logging each message the server accepted so that
// a run started again sends only what the log does not hold.
namespace StatementMail {

// The [Mail] section of the settings file. The password is never kept
// there: it is asked, or read from the desktop's secret store.
struct Settings {
    enum class Security { StartTls, Tls, None };
    QString server;
    int port = 587;
    Security security = Security::StartTls;
    QString user, sender, replyTo;
    bool verifyCertificates = true;
    QString subject, body; // templates: {name} {from} {to} {church}
    static Settings Load();
    // What keeps a run from starting: no server, no sender, a plain
    // connection to anything but this machine.
    QString Problem() const;
    QString Url() const;
};
QString Default_Subject();
QString Default_Body();
// The template with its placeholders filled in.
QString Fill(const QString& text, const QString& name, const QDate& from, const QDate& to, const QString& church);

struct Recipient {
    int contributorID = 0;
    int summaryRow = -1;
    QString name;  // first line of the statement's address
    QString email; // empty when the statement goes on paper only
    bool paper = false;
    bool alreadySent = false; // the log holds it for this range
};
// Everybody of a statement run, sorted into who gets what, in the order the
// statements print.
struct Plan {
    QList<Recipient> email;   // to be sent (alreadySent ones included)
    QList<Recipient> paper;   // a paper statement (both: in both lists)
    QList<Recipient> neither; // no e-mail and no postal address
    int Pending() const;
};
Plan Make_Plan(const rptStatement& report, const QDate& from, const QDate& to);
// The plan as lines of text, for --dry-run and the list before sending.
QStringList Plan_Lines(const Plan& plan);

// Whether the log holds this contributor's statement of this range.
bool Logged(int contributorID, const QDate& from, const QDate& to);

// One message: headers, the body as text, the PDF attached.
struct Message {
    QString to, toName, subject, body, attachmentName;
    QByteArray pdf;
    QString messageID; // <...@domain>, made when empty
};
QByteArray Compose(const Settings& settings, Message& message, const QDateTime& now);

// What the server said to one message.
struct Outcome {
    bool accepted = false;
    bool connectionLost = false; // no answer: the run stops, nothing refused
    QString answer;              // the server's words (or the library's)
};

// Talks to the SMTP server, one connection kept open for the whole run.
class Sender {
public:
    Sender(Settings settings, QString password);
    ~Sender();
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;
    Outcome Send(const QString& to, const QByteArray& message);

private:
    struct Impl;
    Impl* d;
};

struct RunResult {
    int sent = 0;
    int skipped = 0; // already in the log
    QStringList refused; // "Name <address>: server's words"
    QString stopped;     // why the run stopped early (network, cancel); empty when it ran through
    bool cancelled = false;
    QList<int> paperRows; // summary rows that belong in the paper file
    QString paperFile;    // written when paperRows is not empty and a path was given
    QString paperError;
};
// The statements of these summary rows as one PDF file for the post.
bool Write_Paper(const rptStatement& report, const QList<int>& rows, const QString& path, QString* error);

// progress(done, total, name) is asked before each message; false stops.
using Progress = std::function<bool(int done, int total, const QString& name)>;
RunResult Run(const rptStatement& report, const Plan& plan, const QDate& from, const QDate& to, Sender& sender,
              const Settings& settings, const QString& paperPdf, const Progress& progress = {});

} // namespace StatementMail
