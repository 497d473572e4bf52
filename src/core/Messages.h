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
    // The button Enter presses: the first one, but No where Yes would make a
    // second of something or delete records.
    Answer defaultAnswer = Answer::OK;
};

using Handler = std::function<Answer(const Message&)>;
using BeepHandler = std::function<void()>;
// A status-bar note passes after a while, is held until released, or is
// released (cleared when it is still the one shown).
enum class NoteMode { Passing, Held, Release };
using NoteHandler = std::function<void(const QString&, NoteMode)>;

// The program's title, used when a message names no title of its own.
QString ProgramTitle();

// Shows a message and returns the button pressed. Without a handler (a
// tool run without windows) the message goes to standard error and the
// default button is the answer.
Answer Show(const QString& text, const QString& title = {}, Icon icon = Icon::None, Buttons buttons = Buttons::OK);
// A question whose Yes makes a second of something or deletes records: Yes
// and No, with No the default, so that a hurried Enter answers No.
Answer Ask_Default_No(const QString& text, const QString& title = {}, Icon icon = Icon::Question);
void Beep();
// A short note in the main window's status bar, for what the user should
// notice without being stopped: what a beep was about.
void Note(const QString& text);
// A note that stays until Release_Note(text), for what stays wrong until the
// user mends it (an amount box that was refused).
void Hold_Note(const QString& text);
void Release_Note(const QString& text);
// A failure the database engine or the file system reported, in its own
// words, with the critical icon. The program goes on after it.
void Show_Error(const QString& engineText);

// Installs a handler and returns the one it replaces.
Handler SetHandler(Handler h);
BeepHandler SetBeepHandler(BeepHandler h);
NoteHandler SetNoteHandler(NoteHandler h);

} // namespace Messages
