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

Answer Show(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    Message m{text, title.isEmpty() ? ProgramTitle() : title, icon, buttons};
    if (CurrentHandler())
        return CurrentHandler()(m);
    std::fprintf(stderr, "%s: %s\n", qPrintable(m.title), qPrintable(m.text));
    switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    default:
        return Answer::OK;
    }
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
        CurrentNote()(text);
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
