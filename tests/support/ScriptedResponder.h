#pragma once

#include "core/Messages.h"

#include <QList>
#include <QString>
#include <QStringList>

// Answers the program's messages from a queue while a test runs. Each
// message must have been announced with Expect (matched by a part of its
// text); any other message fails the test. Leftover expectations fail it too.
class ScriptedResponder {
public:
    ScriptedResponder();
    ~ScriptedResponder();
    ScriptedResponder(const ScriptedResponder&) = delete;
    ScriptedResponder& operator=(const ScriptedResponder&) = delete;

    void Expect(const QString& textPart, Messages::Answer answer = Messages::Answer::OK);
    // The message is answered as Enter answers it: by its default button.
    void ExpectEnter(const QString& textPart);
    // Every message shown so far, expected or not.
    const QList<Messages::Message>& Seen() const { return m_seen; }
    int Beeps() const { return m_beeps; }
    // The status-bar notes given so far, less those released.
    const QStringList& Notes() const { return m_notes; }
    int Pending() const { return int(m_queue.size()); }
    // Fails the test when expected messages were never shown; clears them.
    void VerifyAllShown();

private:
    struct Expectation {
        QString textPart;
        Messages::Answer answer;
        bool enter = false;
    };
    Messages::Answer Answer(const Messages::Message& m);

    QList<Expectation> m_queue;
    QList<Messages::Message> m_seen;
    int m_beeps = 0;
    QStringList m_notes;
    Messages::NoteHandler m_previousNote;
    Messages::Handler m_previous;
    Messages::BeepHandler m_previousBeep;
};
