#include "StatementMail.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "core/modDBConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <curl/curl.h>

using namespace modDBConnection;
using modGlobal::FieldLong;
using modGlobal::FieldText;

namespace StatementMail {

namespace {
const QString kSection = QStringLiteral("Mail");

QString Template_Path()
{
    return QFileInfo(modSettings::SettingsFilePath()).dir().filePath(QStringLiteral("StatementMail.txt"));
}

bool Is_This_Machine(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    static const QRegularExpression loopback(QStringLiteral("^(127(\\.\\d{1,3}){3}|::1|\\[::1\\])$"));
    return loopback.match(host).hasMatch();
}

// A header value in plain ASCII as it is, anything else as encoded words
// short enough for a header line.
QByteArray Header_Text(const QString& text)
{
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() >= 32 && c.unicode() < 127;
    if (ascii)
        return text.toLatin1();
    QByteArrayList words;
    QString chunk;
    for (qsizetype i = 0; i < text.size(); ++i) {
        chunk += text[i];
        // Never split a surrogate pair between two words.
        if (chunk.toUtf8().size() >= 40 && !text[i].isHighSurrogate()) {
            words << "=?UTF-8?B?" + chunk.toUtf8().toBase64() + "?=";
            chunk.clear();
        }
    }
    if (!chunk.isEmpty())
        words << "=?UTF-8?B?" + chunk.toUtf8().toBase64() + "?=";
    return words.join("\r\n ");
}

// A name before an address: quoted, since "Smith, John" unquoted would
// read as two addresses.
QByteArray Display_Name(const QString& name)
{
    const QByteArray text = Header_Text(name);
    if (text.startsWith("=?"))
        return text;
    return '"' + QByteArray(text).replace('\\', "\\\\").replace('"', "\\\"") + '"';
}

QByteArray Base64_Lines(const QByteArray& data)
{
    const QByteArray b = data.toBase64();
    QByteArray out;
    out.reserve(b.size() + b.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < b.size(); i += 76)
        out += b.mid(i, 76) + "\r\n";
    return out;
}

QString Domain_Of(const QString& address)
{
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    return at < 0 ? QStringLiteral("localhost") : address.mid(at + 1);
}

QString Church_Name()
{
    clsChurch church;
    church.Get_One_Record();
    return church.ChurchName();
}
} // namespace

QString Default_Subject()
{
    return QStringLiteral("Contribution statement {from} to {to}");
}

QString Default_Body()
{
    return QStringLiteral("Dear {name},\n\nAttached is your statement of contributions to {church} from {from} through {to}. "
                          "Please keep it with your tax records.\n\nThank you for your generosity.\n\n{church}\n");
}

Settings Settings::Load()
{
    Settings s;
    const auto get = [](const char* key) { return modSettings::Read(kSection, QLatin1String(key)).trimmed(); };
    s.server = get("Server");
    const QString security = get("Security").toUpper();
    s.security = security == QLatin1String("TLS") ? Security::Tls : security == QLatin1String("NONE") ? Security::None : Security::StartTls;
    bool ok = false;
    const int port = get("Port").toInt(&ok);
    s.port = ok && port > 0 && port < 65536 ? port : s.security == Security::Tls ? 465 : 587;
    s.user = get("User");
    s.sender = get("Sender");
    s.replyTo = get("ReplyTo");
    // Only an explicit "No" turns the certificate checks off.
    s.verifyCertificates = get("VerifyCertificates").compare(QLatin1String("No"), Qt::CaseInsensitive) != 0;
    s.subject = Default_Subject();
    s.body = Default_Body();
    QFile file(Template_Path());
    if (file.open(QIODevice::ReadOnly)) {
        // "Subject: ..." on the first line, the body after a blank line.
        const QString text = QString::fromUtf8(file.readAll()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
        const qsizetype cut = text.indexOf(QLatin1String("\n\n"));
        const QString head = cut < 0 ? text : text.left(cut);
        if (head.startsWith(QLatin1String("Subject:"), Qt::CaseInsensitive) && cut >= 0) {
            s.subject = head.mid(8).trimmed();
            s.body = text.mid(cut + 2);
        }
    }
    return s;
}

QString Settings::Problem() const
{
    if (server.isEmpty())
        return QStringLiteral("There is no mail server in the settings file: give Server, Port, Security and Sender in its [Mail] section.");
    if (!ContributorEmail::Valid_Address(sender))
        return QStringLiteral("The sender address in the settings file is not an e-mail address: ") + ContributorEmail::Address_Problem(sender);
    if (!replyTo.isEmpty() && !ContributorEmail::Valid_Address(replyTo))
        return QStringLiteral("The reply-to address in the settings file is not an e-mail address: ") + ContributorEmail::Address_Problem(replyTo);
    if (security == Security::None && !Is_This_Machine(server))
        return QStringLiteral("Mail without encryption is sent only to a server on this computer; choose STARTTLS or TLS for %1.").arg(server);
    return {};
}

QString Settings::Url() const
{
    return QStringLiteral("%1://%2:%3").arg(security == Security::Tls ? QStringLiteral("smtps") : QStringLiteral("smtp"), server).arg(port);
}

QString Fill(const QString& text, const QString& name, const QDate& from, const QDate& to, const QString& church)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString out = text;
    out.replace(QLatin1String("{name}"), name);
    out.replace(QLatin1String("{from}"), english.toString(from, QStringLiteral("MMMM d, yyyy")));
    out.replace(QLatin1String("{to}"), english.toString(to, QStringLiteral("MMMM d, yyyy")));
    out.replace(QLatin1String("{church}"), church);
    return out;
}

int Plan::Pending() const
{
    return int(std::count_if(email.begin(), email.end(), [](const Recipient& r) { return !r.alreadySent; }));
}

bool Logged(int contributorID, const QDate& from, const QDate& to)
{
    Recordset rs(QStringLiteral("SELECT 1 FROM StatementEmailLog WHERE RangeBegin = %1 AND RangeEnd = %2 AND ContributorID = %3;")
                     .arg(TextLiteral(from.toString(Qt::ISODate)), TextLiteral(to.toString(Qt::ISODate)))
                     .arg(contributorID),
                 modGlobal::DB(), Recordset::Cursor::ForwardOnly);
    return !rs.Eof();
}

Plan Make_Plan(const rptStatement& report, const QDate& from, const QDate& to)
{
    Plan plan;
    const ReportTable* s = report.Table(2);
    if (!s)
        return plan;
    const QHash<int, ContributorEmail::Entry> addresses = ContributorEmail::All();
    QSet<int> logged;
    for (Recordset rs(QStringLiteral("SELECT ContributorID FROM StatementEmailLog WHERE RangeBegin = %1 AND RangeEnd = %2;")
                          .arg(TextLiteral(from.toString(Qt::ISODate)), TextLiteral(to.toString(Qt::ISODate))),
                      modGlobal::DB(), Recordset::Cursor::ForwardOnly);
         !rs.Eof(); rs.MoveNext())
        logged.insert(FieldLong(rs.Field(0)));
    for (int row : report.Statement_Order()) {
        Recipient r;
        r.contributorID = int(s->Integer(row, QStringLiteral("ContributorID")));
        r.summaryRow = row;
        const QStringList info = s->Text(row, QStringLiteral("ContributorInfo")).split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
        r.name = info.value(0).trimmed();
        const bool postal = info.size() > 1;
        const ContributorEmail::Entry e = addresses.value(r.contributorID);
        if (e.Emailed()) {
            r.email = e.email;
            r.alreadySent = logged.contains(r.contributorID);
            plan.email << r;
        }
        if (e.Posted()) {
            r.paper = true;
            if (postal)
                plan.paper << r;
            else if (!e.Emailed())
                plan.neither << r;
        }
    }
    return plan;
}

QStringList Plan_Lines(const Plan& plan)
{
    QStringList lines;
    for (const Recipient& r : plan.email)
        lines << QStringLiteral("e-mail\t%1 <%2>%3").arg(r.name, r.email, r.alreadySent ? QStringLiteral("\t(already sent)") : QString());
    for (const Recipient& r : plan.paper)
        lines << QStringLiteral("paper\t%1").arg(r.name);
    for (const Recipient& r : plan.neither)
        lines << QStringLiteral("neither\t%1 (no postal or e-mail address)").arg(r.name);
    return lines;
}

QByteArray Compose(const Settings& settings, Message& m, const QDateTime& now)
{
    if (m.messageID.isEmpty())
        m.messageID = QStringLiteral("<%1@%2>").arg(QUuid::createUuid().toString(QUuid::WithoutBraces), Domain_Of(settings.sender));
    const QByteArray boundary = "=_qv_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    const QLocale c = QLocale::c();
    QByteArray out;
    out.reserve(m.pdf.size() * 4 / 3 + 4096);
    out += "From: " + settings.sender.toUtf8() + "\r\n";
    out += "To: " + (m.toName.isEmpty() ? QByteArray() : Display_Name(m.toName) + " ") + "<" + m.to.toUtf8() + ">\r\n";
    if (!settings.replyTo.isEmpty())
        out += "Reply-To: " + settings.replyTo.toUtf8() + "\r\n";
    out += "Subject: " + Header_Text(m.subject) + "\r\n";
    out += "Date: " + c.toString(now.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")).toLatin1() + " +0000\r\n";
    out += "Message-ID: " + m.messageID.toLatin1() + "\r\n";
    out += "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    QString body = m.body;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    out += Base64_Lines(body.toUtf8());
    const QByteArray file = Header_Text(m.attachmentName);
    out += "--" + boundary + "\r\nContent-Type: application/pdf; name=\"" + file + "\"\r\nContent-Disposition: attachment; filename=\"" + file
        + "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    out += Base64_Lines(m.pdf);
    out += "--" + boundary + "--\r\n";
    return out;
}

struct Sender::Impl {
    Settings settings;
    QByteArray password;
    CURL* curl = nullptr;
    QByteArray upload;
    qsizetype sentBytes = 0;
    QByteArrayList answers;

    static size_t Read(char* buffer, size_t size, size_t items, void* self)
    {
        auto* d = static_cast<Impl*>(self);
        const size_t n = std::min<size_t>(size * items, size_t(d->upload.size() - d->sentBytes));
        memcpy(buffer, d->upload.constData() + d->sentBytes, n);
        d->sentBytes += qsizetype(n);
        return n;
    }
    // The server's answers reach us as header lines.
    static size_t Header(char* buffer, size_t size, size_t items, void* self)
    {
        auto* d = static_cast<Impl*>(self);
        d->answers << QByteArray(buffer, qsizetype(size * items)).trimmed();
        return size * items;
    }
};

Sender::Sender(Settings settings, QString password) : d(new Impl)
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(ready);
    d->settings = std::move(settings);
    d->password = password.toUtf8();
    d->curl = curl_easy_init();
}

Sender::~Sender()
{
    if (d->curl)
        curl_easy_cleanup(d->curl);
    delete d;
}

Outcome Sender::Send(const QString& to, const QByteArray& message)
{
    Outcome o;
    CURL* c = d->curl;
    if (!c) {
        o.connectionLost = true;
        o.answer = QStringLiteral("The mail library could not start.");
        return o;
    }
    const Settings& s = d->settings;
    d->upload = message;
    d->sentBytes = 0;
    d->answers.clear();
    const QByteArray url = s.Url().toUtf8(), from = "<" + s.sender.toUtf8() + ">", rcpt = "<" + to.toUtf8() + ">";
    curl_slist* recipients = curl_slist_append(nullptr, rcpt.constData());
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &Impl::Read);
    curl_easy_setopt(c, CURLOPT_READDATA, d);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &Impl::Header);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, d);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that stops answering for a minute counts as a lost connection.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(s.security == Settings::Security::StartTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, s.verifyCertificates ? 1L : 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, s.verifyCertificates ? 2L : 0L);
    if (!s.user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, s.user.toUtf8().constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, d->password.constData());
    }
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, nullptr);
    curl_slist_free_all(recipients);
    // After a refusal the library says QUIT: the refusal is the last
    // answer of 400 or more, not the last answer.
    QByteArray last = d->answers.isEmpty() ? QByteArray() : d->answers.constLast();
    for (const QByteArray& answer : std::as_const(d->answers))
        if (answer.left(3).toInt() >= 400)
            last = answer;
    const int code = last.left(3).toInt();
    if (rc == CURLE_OK) {
        o.accepted = true;
        o.answer = QString::fromUtf8(last);
    } else if (code >= 400 && code < 600 && rc != CURLE_LOGIN_DENIED && rc != CURLE_USE_SSL_FAILED) {
        // The server said no to this message; the next may go.
        o.answer = QString::fromUtf8(last);
    } else {
        o.connectionLost = true;
        o.answer = QString::fromUtf8(curl_easy_strerror(rc)) + (last.isEmpty() ? QString() : QStringLiteral(" (") + QString::fromUtf8(last) + QLatin1Char(')'));
    }
    return o;
}

RunResult Run(const rptStatement& report, const Plan& plan, const QDate& from, const QDate& to, Sender& sender, const Settings& settings,
              const QString& paperPdf, const Progress& progress)
{
    RunResult result;
    const QString church = Church_Name();
    const QDate printed = modGlobal::Today();
    QTemporaryDir scratch;
    const QString pdfPath = scratch.filePath(QStringLiteral("statement.pdf"));
    QSet<int> paperRows;
    for (const Recipient& r : plan.paper)
        paperRows.insert(r.summaryRow);
    int done = 0;
    const int total = int(plan.email.size());
    for (const Recipient& r : plan.email) {
        ++done;
        // The log is read again here, not trusted from the plan: another
        // run may have sent it since the list was made.
        if (Logged(r.contributorID, from, to)) {
            ++result.skipped;
            continue;
        }
        if (progress && !progress(done - 1, total, r.name)) {
            result.cancelled = true;
            result.stopped = QStringLiteral("Cancelled.");
            break;
        }
        QString error;
        if (!report.Layout_Statements(printed, {r.summaryRow}).WritePdf(pdfPath, &error)) {
            result.stopped = QStringLiteral("The statement of %1 could not be made: %2").arg(r.name, error);
            break;
        }
        QFile file(pdfPath);
        Message m;
        m.to = r.email;
        m.toName = r.name;
        m.subject = Fill(settings.subject, r.name, from, to, church);
        m.body = Fill(settings.body, r.name, from, to, church);
        m.attachmentName = QStringLiteral("Statement %1.pdf").arg(to.year());
        if (file.open(QIODevice::ReadOnly))
            m.pdf = file.readAll();
        const Outcome o = sender.Send(r.email, Compose(settings, m, QDateTime::currentDateTimeUtc()));
        if (o.accepted) {
            // Written the moment the server took it: a run killed from here
            // on sends this message at most once more.
            modGlobal::DB().Execute(QStringLiteral("INSERT INTO StatementEmailLog (ContributorID, RangeBegin, RangeEnd, SentAt, Email, "
                                                   "MessageID, ServerAnswer) VALUES (%1, %2, %3, %4, %5, %6, %7);")
                                        .arg(r.contributorID)
                                        .arg(TextLiteral(from.toString(Qt::ISODate)), TextLiteral(to.toString(Qt::ISODate)),
                                             TextLiteral(QDateTime::currentDateTimeUtc().toString(Qt::ISODate)), TextLiteral(r.email),
                                             TextLiteral(m.messageID), TextLiteral(o.answer)));
            ++result.sent;
        } else if (o.connectionLost) {
            result.stopped = o.answer;
            break;
        } else {
            result.refused << QStringLiteral("%1 <%2>: %3").arg(r.name, r.email, o.answer);
            if (!r.paper)
                paperRows.insert(r.summaryRow);
        }
    }
    // The paper file in the order the statements print.
    const std::vector<int> order = report.Statement_Order();
    for (int row : order)
        if (paperRows.contains(row))
            result.paperRows << row;
    if (!paperPdf.isEmpty() && !result.paperRows.isEmpty()) {
        if (Write_Paper(report, result.paperRows, paperPdf, &result.paperError))
            result.paperFile = paperPdf;
    }
    return result;
}

bool Write_Paper(const rptStatement& report, const QList<int>& rows, const QString& path, QString* error)
{
    QString why;
    if (report.Layout_Statements(modGlobal::Today(), std::vector<int>(rows.begin(), rows.end())).WritePdf(path, &why))
        return true;
    *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
    return false;
}

} // namespace StatementMail
