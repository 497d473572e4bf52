#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QDialog;
class QIcon;
class QPlainTextEdit;
class QWidget;

// The services every window uses the same way: sizes in twips, select-all
// on focus, centring in the main window, modal dialogs and the hourglass.
namespace WindowServices {

// The program's icon, drawn rather than shipped as a file.
QIcon ProgramIcon();

// 1440 twips to the logical inch, for the sizes windows were designed at
// (their layouts make them larger where the font needs more). The designs
// were drawn for a smaller font than today's desktops use, so a twip is a
// fifth larger here.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);
QSize TwipsSize(int width, int height);

// Every line edit inside the window selects its whole text when it gets
// the focus (also those made later).
void SelectAllOnFocus(QWidget* window);

// A multi-line box holds no more than its column does; longer text is cut
// as it is typed or pasted.
void LimitLength(QPlainTextEdit* box, int maxLength);
// Esc closes the window, as its Cancel button does. Task windows (frmChild)
// have Enter and Esc from the window services already; this is for others.
void CloseOnEscape(QWidget* window);

// The main window's inner area, in which dialogs and task windows centre.
void SetMainArea(QWidget* area);
QWidget* MainArea();
void CentreInMainWindow(QWidget* window);
// The main window shows the processing year in its status bar; a window
// that changes the year, or puts other books in place, has it shown anew
// without knowing the main window.
void SetYearShown(std::function<void()> show);
void Show_Processing_Year();

// Shows a dialog modally and returns its result. Tests install a hook that
// drives the dialog's controls instead of waiting for a person.
using ModalHook = std::function<int(QDialog*)>;
int ShowModal(QDialog* dialog);
ModalHook SetModalHook(ModalHook hook);

// While a write is under way, keys and clicks are refused rather than run
// inside its open transaction (painting, timers and posted work go on).
// Set up once, by the first window.
void Keep_Input_Out_Of_Writes();

// The wait cursor while a scope runs.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

} // namespace WindowServices
