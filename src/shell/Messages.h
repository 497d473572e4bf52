#pragma once

#include <QString>
#include <functional>

// Every message box and every beep of the program goes through here. The
// window layer installs the real message box; tests install a scripted
// responder that answers from a queue.
namespace Messages {

enum class Icon { None, Information, Exclamation, Question, Critical };
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Answer { OK, Cancel, Yes, No };

struct Message {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::OK;
};

using Handler = std::function<Answer(const Message&)>;
using BeepHandler = std::function<void()>;
using NoteHandler = std::function<void(const QString&)>;

// The program's title, used when a message names no title of its own.
QString ProgramTitle();

// Shows a message and returns the button pressed. Without a handler (a
// tool run without windows) the message goes to standard error and the
// first button of the set is the answer.
Answer Show(const QString& text, const QString& title = {}, Icon icon = Icon::None, Buttons buttons = Buttons::OK);
void Beep();
// A short note in the main window's status bar, for what the user should
// notice without being stopped: what a beep was about.
void Note(const QString& text);
// A failure the database engine or the file system reported, in its own
// words, with the critical icon. The program goes on after it.
void Show_Error(const QString& engineText);

// Installs a handler and returns the one it replaces.
Handler SetHandler(Handler h);
BeepHandler SetBeepHandler(BeepHandler h);
NoteHandler SetNoteHandler(NoteHandler h);

} // namespace Messages
