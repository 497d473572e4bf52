#include "ScriptedResponder.h"

#include <QtTest/QTest>

ScriptedResponder::ScriptedResponder()
{
    m_previous = Messages::SetHandler([this](const Messages::Message& m) { return Answer(m); });
    m_previousBeep = Messages::SetBeepHandler([this] { ++m_beeps; });
    m_previousNote = Messages::SetNoteHandler([this](const QString& note, Messages::NoteMode mode) {
        if (mode == Messages::NoteMode::Release)
            m_notes.removeAll(note);
        else
            m_notes.append(note);
    });
}

ScriptedResponder::~ScriptedResponder()
{
    VerifyAllShown();
    Messages::SetHandler(m_previous);
    Messages::SetBeepHandler(m_previousBeep);
    Messages::SetNoteHandler(m_previousNote);
}

void ScriptedResponder::Expect(const QString& textPart, Messages::Answer answer)
{
    m_queue.append({textPart, answer});
}

void ScriptedResponder::ExpectEnter(const QString& textPart)
{
    m_queue.append({textPart, Messages::Answer::OK, true});
}

void ScriptedResponder::VerifyAllShown()
{
    for (const Expectation& e : m_queue)
        QTest::qFail(qPrintable(QStringLiteral("Expected message never shown: ") + e.textPart), __FILE__, __LINE__);
    m_queue.clear();
}

Messages::Answer ScriptedResponder::Answer(const Messages::Message& m)
{
    m_seen.append(m);
    if (m_queue.isEmpty() || !m.text.contains(m_queue.first().textPart)) {
        QTest::qFail(qPrintable(QStringLiteral("Unexpected message [") + m.title + QStringLiteral("]: ") + m.text),
                     __FILE__, __LINE__);
        return m.buttons == Messages::Buttons::OK ? Messages::Answer::OK : Messages::Answer::Cancel;
    }
    const Expectation e = m_queue.takeFirst();
    return e.enter ? m.defaultAnswer : e.answer;
}
