#include "TestSmtpServer.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
QSemaphore& Started()
{
    static QSemaphore s;
    return s;
}
} // namespace

// One client's conversation.
class SmtpSession : public QObject {
public:
    SmtpSession(TestSmtpServer* server, QTcpServer* listener, QTcpSocket* socket) : m_server(server), m_listener(listener), m_socket(socket)
    {
        connect(socket, &QTcpSocket::readyRead, this, [this] { Read(); });
        connect(socket, &QTcpSocket::disconnected, this, [this] { deleteLater(); });
        Say("220 localhost test SMTP ready");
    }

private:
    void Say(const QByteArray& line) { m_socket->write(line + "\r\n"); }

    void Read()
    {
        m_buffer += m_socket->readAll();
        for (;;) {
            if (m_inData) {
                const qsizetype end = m_buffer.indexOf("\r\n.\r\n");
                if (end < 0 && !m_buffer.startsWith(".\r\n"))
                    return;
                QByteArray data = m_buffer.startsWith(".\r\n") ? QByteArray() : m_buffer.left(end + 2);
                m_buffer.remove(0, m_buffer.startsWith(".\r\n") ? 3 : end + 5);
                data.replace("\r\n..", "\r\n.");
                if (data.startsWith(".."))
                    data.remove(0, 1);
                m_inData = false;
                m_mail.data = data;
                if (!m_server->Accept(m_mail)) {
                    Drop();
                    return;
                }
                Say("250 2.0.0 Ok: queued as " + QByteArray::number(qHash(data), 16));
                m_mail = {};
                continue;
            }
            const qsizetype eol = m_buffer.indexOf("\r\n");
            if (eol < 0)
                return;
            const QByteArray line = m_buffer.left(eol);
            m_buffer.remove(0, eol + 2);
            Command(line);
        }
    }

    void Command(const QByteArray& line)
    {
        const QByteArray verb = line.left(4).toUpper();
        static const QRegularExpression angle(QStringLiteral("<([^>]*)>"));
        const QString address = angle.match(QString::fromUtf8(line)).captured(1);
        if (verb == "EHLO")
            Say("250-localhost\r\n250 8BITMIME");
        else if (verb == "HELO")
            Say("250 localhost");
        else if (verb == "MAIL") {
            m_mail = {};
            m_mail.from = address;
            Say("250 2.1.0 Ok");
        } else if (verb == "RCPT") {
            if (m_server->m_refuse.contains(address))
                Say("550 5.1.1 <" + address.toUtf8() + ">: Recipient address rejected: User unknown");
            else {
                m_mail.to << address;
                Say("250 2.1.5 Ok");
            }
        } else if (verb == "DATA") {
            if (m_mail.to.isEmpty())
                Say("554 5.5.1 No valid recipients");
            else {
                m_inData = true;
                Say("354 End data with <CR><LF>.<CR><LF>");
            }
        } else if (verb == "RSET") {
            m_mail = {};
            Say("250 2.0.0 Ok");
        } else if (verb == "NOOP")
            Say("250 2.0.0 Ok");
        else if (verb == "QUIT") {
            Say("221 2.0.0 Bye");
            m_socket->disconnectFromHost();
        } else
            Say("502 5.5.2 Command not recognized");
    }

    void Drop()
    {
        m_listener->close();
        m_socket->abort();
    }

    TestSmtpServer* m_server;
    QTcpServer* m_listener;
    QTcpSocket* m_socket;
    QByteArray m_buffer;
    bool m_inData = false;
    TestSmtpServer::Mail m_mail;
};

TestSmtpServer::TestSmtpServer(QSet<QString> refuse, int dropAfter, bool keepBodies)
    : m_refuse(std::move(refuse)), m_dropAfter(dropAfter), m_keepBodies(keepBodies)
{
    start();
    Started().acquire();
}

TestSmtpServer::~TestSmtpServer()
{
    quit();
    wait();
}

void TestSmtpServer::run()
{
    QTcpServer listener;
    listener.listen(QHostAddress::LocalHost, 0);
    m_port = listener.serverPort();
    QObject::connect(&listener, &QTcpServer::newConnection, &listener, [&] {
        while (QTcpSocket* s = listener.nextPendingConnection())
            new SmtpSession(this, &listener, s);
    });
    Started().release();
    exec();
}

bool TestSmtpServer::Accept(const Mail& mail)
{
    QMutexLocker lock(&m_lock);
    if (m_dropAfter >= 0 && m_mails.size() >= m_dropAfter)
        return false;
    m_mails << mail;
    if (!m_keepBodies)
        m_mails.last().data.truncate(mail.data.indexOf("\r\n\r\n"));
    return true;
}

QList<TestSmtpServer::Mail> TestSmtpServer::Mails() const
{
    QMutexLocker lock(&m_lock);
    return m_mails;
}

int TestSmtpServer::Count() const
{
    QMutexLocker lock(&m_lock);
    return int(m_mails.size());
}

QString TestSmtpServer::Header(const QByteArray& data, const QByteArray& name)
{
    const QByteArray head = data.left(data.indexOf("\r\n\r\n"));
    const QByteArray unfolded = QByteArray(head).replace("\r\n ", " ");
    for (const QByteArray& line : unfolded.split('\n')) {
        if (!line.toLower().startsWith(name.toLower() + ":"))
            continue;
        QString value = QString::fromUtf8(line.mid(name.size() + 1).trimmed());
        static const QRegularExpression word(QStringLiteral("=\\?UTF-8\\?B\\?([^?]*)\\?=\\s*"));
        QString out;
        qsizetype at = 0;
        for (auto it = word.globalMatch(value); it.hasNext();) {
            const auto m = it.next();
            out += value.mid(at, m.capturedStart() - at) + QString::fromUtf8(QByteArray::fromBase64(m.captured(1).toLatin1()));
            at = m.capturedEnd();
        }
        return out + value.mid(at);
    }
    return {};
}

QByteArray TestSmtpServer::Attachment(const QByteArray& data)
{
    const qsizetype part = data.indexOf("Content-Type: application/pdf");
    if (part < 0)
        return {};
    const qsizetype start = data.indexOf("\r\n\r\n", part) + 4;
    const qsizetype end = data.indexOf("\r\n--", start);
    return QByteArray::fromBase64(data.mid(start, end - start).replace("\r\n", ""));
}
