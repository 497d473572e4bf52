#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>

// A mail server for the tests, on a free port of this machine, in a thread
// of its own so that a blocking client (or a child process the test waits
// for) can talk to it. It speaks plain SMTP without TLS or AUTH: EHLO/HELO,
// MAIL FROM, RCPT TO (refusing the addresses it is told to), DATA, RSET,
// NOOP, QUIT. After dropAfter accepted messages it closes every connection
// and stops listening, as a network that goes away.
class TestSmtpServer : public QThread {
public:
    struct Mail {
        QString from;
        QStringList to;
        QByteArray data; // dot-stuffing undone, CRLF line ends
    };

    // keepBodies false keeps each message's headers only (for runs of
    // thousands, whose attachments would fill the memory).
    explicit TestSmtpServer(QSet<QString> refuse = {}, int dropAfter = -1, bool keepBodies = true);
    ~TestSmtpServer() override;
    quint16 Port() const { return m_port; }
    QList<Mail> Mails() const;
    int Count() const;

    // What a message holds, taken apart for checking.
    static QString Header(const QByteArray& data, const QByteArray& name); // encoded words decoded
    static QByteArray Attachment(const QByteArray& data);                  // the base64 part named *.pdf, decoded

protected:
    void run() override;

private:
    friend class SmtpSession;
    bool Accept(const Mail& mail); // false once the drop point is passed
    QSet<QString> m_refuse;
    int m_dropAfter;
    bool m_keepBodies;
    quint16 m_port = 0;
    mutable QMutex m_lock;
    QList<Mail> m_mails;
};
