#include "WindowServices.h"

#include "core/Helpers.h"
#include "core/Connection.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <memory>

namespace WindowServices {

namespace {
QPointer<QWidget> g_mainArea;
ModalHook g_modalHook;

// Selecting in the focus-in event itself is undone by the mouse press that
// follows it; selecting once the event queue has run keeps the selection.
class SelectAllFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
                QPointer<QLineEdit> guard(edit);
                edit->selectAll();
                QTimer::singleShot(0, edit, [guard] {
                    if (guard && guard->hasFocus())
                        guard->selectAll();
                });
            }
        } else if (event->type() == QEvent::ChildAdded) {
            // Line edits made after the window was set up get the rule too.
            auto* added = static_cast<QChildEvent*>(event)->child();
            if (auto* w = qobject_cast<QWidget*>(added))
                Install(w);
        }
        return false;
    }
    void Install(QWidget* root)
    {
        root->installEventFilter(this);
        for (QLineEdit* e : root->findChildren<QLineEdit*>())
            e->installEventFilter(this);
    }
};
// Swallows user input while a transaction is open. Painting, timers and
// posted work go on; a key or click meanwhile is refused rather than run
// inside the open transaction.
class InputGuard : public QObject {
public:
    InputGuard()
    {
        if (auto* app = QCoreApplication::instance())
            app->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            // The close box; a window the program closes itself is let be.
            return e->spontaneous();
        default:
            return false;
        }
    }
};

} // namespace

void Keep_Input_Out_Of_Writes()
{
    static bool set = false;
    if (set)
        return;
    set = true;
    // Transactions of two connections may overlap (books being imported):
    // the guard stays until the last one ends.
    static int open = 0;
    static std::unique_ptr<InputGuard> guard;
    Connection::SetTransactionHooks(
        [] {
            if (open++ == 0)
                guard = std::make_unique<InputGuard>();
        },
        [] {
            if (open > 0 && --open == 0)
                guard.reset();
        });
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0x2E, 0x4A, 0x7D));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setBold(true);
        f.setPixelSize(int(size * 0.72));
        p.setFont(f);
        p.setPen(QColor(0xF2, 0xE6, 0xC4));
        p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("Q"));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

namespace {
// 96 logical dots to the inch, times 1.2.
constexpr double kPixelsPerTwip = 96.0 * 1.2 / 1440.0;
} // namespace

int TwipsToPixels(int twips)
{
    return int(std::lround(twips * kPixelsPerTwip));
}

int PixelsToTwips(int pixels)
{
    return int(std::lround(pixels / kPixelsPerTwip));
}

QSize TwipsSize(int width, int height)
{
    return QSize(TwipsToPixels(width), TwipsToPixels(height));
}

void SelectAllOnFocus(QWidget* window)
{
    auto* filter = new SelectAllFilter(window);
    filter->Install(window);
}

void LimitLength(QPlainTextEdit* box, int maxLength)
{
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, maxLength] {
        const QString text = box->toPlainText();
        if (text.size() <= maxLength)
            return;
        const QSignalBlocker block(box);
        box->setPlainText(modGlobal::CutText(text, maxLength));
        box->moveCursor(QTextCursor::End);
    });
}

void CloseOnEscape(QWidget* window)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window, window, &QWidget::close);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
}

void SetMainArea(QWidget* area)
{
    g_mainArea = area;
}

std::function<void()>& YearShown()
{
    static std::function<void()> show;
    return show;
}

void SetYearShown(std::function<void()> show)
{
    YearShown() = std::move(show);
}

void Show_Processing_Year()
{
    if (YearShown())
        YearShown()();
}

QWidget* MainArea()
{
    return g_mainArea.data();
}

void CentreInMainWindow(QWidget* window)
{
    QWidget* area = g_mainArea.data();
    if (!area || !window)
        return;
    QWidget* frame = window;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame = sub;
    const QSize size = frame->size();
    QWidget* main = area->window();
    if (frame->isWindow() && !main->isVisible()) {
        // Before the main window shows (the data-set choice at start) its
        // inner area has no size yet: the window itself is the measure.
        const QRect outer = main->geometry();
        frame->move(std::max(outer.left(), outer.left() + (outer.width() - size.width()) / 2),
                    std::max(outer.top(), outer.top() + (outer.height() - size.height()) / 2));
        return;
    }
    const int left = std::max(0, (area->width() - size.width()) / 2);
    const int top = std::max(0, (area->height() - size.height()) / 2);
    if (frame->isWindow())
        frame->move(area->mapToGlobal(QPoint(left, top)));
    else
        frame->move(left, top);
}

int ShowModal(QDialog* dialog)
{
    if (g_modalHook)
        return g_modalHook(dialog);
    return dialog->exec();
}

ModalHook SetModalHook(ModalHook hook)
{
    std::swap(hook, g_modalHook);
    return hook;
}

Hourglass::Hourglass()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass()
{
    QApplication::restoreOverrideCursor();
}

} // namespace WindowServices
