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
// on focus, centring in the main window, modal dialogs, the hourglass and
// the resize rule.
namespace WindowServices {

// The program's icon, drawn rather than shipped as a file.
QIcon ProgramIcon();

// 1440 twips to the logical inch. The layouts were drawn for a smaller
// font than today's desktops use, so a twip is a fifth larger here.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);
QSize TwipsSize(int width, int height);
// Places a control at a position and size given in twips.
void Place(QWidget* w, int left, int top, int width, int height);

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

// Shows a dialog modally and returns its result. Tests install a hook that
// drives the dialog's controls instead of waiting for a person.
using ModalHook = std::function<int(QDialog*)>;
int ShowModal(QDialog* dialog);
ModalHook SetModalHook(ModalHook hook);

// The wait cursor while a scope runs.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

// Lays a window out again when it is resized: beyond its designed size the
// extra width and height go to the controls that grow, and the controls
// below them move down (or right) by the same amount. Below the designed
// size nothing moves. Geometry is taken from the controls when the rule is
// made, so place the controls first.
class ResizeRule {
public:
    enum Action { GrowWidth = 1, GrowHeight = 2, Grow = 3, MoveDown = 4, MoveRight = 8 };
    ResizeRule() = default;
    explicit ResizeRule(QSize designed) : m_designed(designed) {}
    void SetDesigned(QSize designed) { m_designed = designed; }
    QSize Designed() const { return m_designed; }
    void Add(QWidget* control, int actions);
    void Apply(QSize now) const;

private:
    struct Entry {
        QWidget* control;
        QRect designed;
        int actions;
    };
    QSize m_designed;
    QList<Entry> m_entries;
};

} // namespace WindowServices
