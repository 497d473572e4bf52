#include "Messages.h"

#include <cstdio>

namespace Messages {

namespace {
Handler& CurrentHandler()
{
    static Handler h;
    return h;
}
BeepHandler& CurrentBeep()
{
    static BeepHandler h;
    return h;
}
NoteHandler& CurrentNote()
{
    static NoteHandler h;
    return h;
}
} // namespace

QString ProgramTitle()
{
    return QStringLiteral("Quorvane");
}

namespace {
Answer Put(Message m)
{
    if (m.title.isEmpty())
        m.title = ProgramTitle();
    if (CurrentHandler())
        return CurrentHandler()(m);
    std::fprintf(stderr, "%s: %s\n", qPrintable(m.title), qPrintable(m.text));
    return m.defaultAnswer;
}
} // namespace

Answer Show(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    const bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
    return Put({text, title, icon, buttons, yesNo ? Answer::Yes : Answer::OK});
}

Answer Ask_Default_No(const QString& text, const QString& title, Icon icon)
{
    return Put({text, title, icon, Buttons::YesNo, Answer::No});
}

void Show_Error(const QString& engineText)
{
    Show(QStringLiteral("The data file reported an error:\r\n\r\n") + engineText, {}, Icon::Critical);
}

void Beep()
{
    if (CurrentBeep())
        CurrentBeep()();
}

void Note(const QString& text)
{
    if (CurrentNote())
        CurrentNote()(text, NoteMode::Passing);
}

void Hold_Note(const QString& text)
{
    if (CurrentNote())
        CurrentNote()(text, NoteMode::Held);
}

void Release_Note(const QString& text)
{
    if (CurrentNote())
        CurrentNote()(text, NoteMode::Release);
}

Handler SetHandler(Handler h)
{
    std::swap(h, CurrentHandler());
    return h;
}

BeepHandler SetBeepHandler(BeepHandler h)
{
    std::swap(h, CurrentBeep());
    return h;
}

NoteHandler SetNoteHandler(NoteHandler h)
{
    std::swap(h, CurrentNote());
    return h;
}

} // namespace Messages
