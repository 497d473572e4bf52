#include "frmChild.h"

#include "Layouts.h"
#include "core/Messages.h"
#include "WindowServices.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

namespace {
QList<QPointer<frmChild>>& Registry()
{
    static QList<QPointer<frmChild>> list;
    return list;
}
} // namespace

frmChild::frmChild(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    Registry().append(this);
    WindowServices::Keep_Input_Out_Of_Writes();
}

frmChild::~frmChild()
{
    Registry().removeAll(this);
    Registry().removeAll(nullptr);
}

void frmChild::Handle_DBChange(int, bool, bool, bool, int, int) {}

QStringList frmChild::Control_States() const
{
    QStringList states;
    for (const QWidget* w : findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<const QLineEdit*>(w))
            states << box->text();
        else if (auto* combo = qobject_cast<const QComboBox*>(w))
            states << QString::number(combo->currentIndex()) + QLatin1Char(':') + combo->currentText();
        else if (auto* text = qobject_cast<const QPlainTextEdit*>(w))
            states << text->toPlainText();
        else if (auto* rich = qobject_cast<const QTextEdit*>(w))
            states << rich->toPlainText();
        else if (auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
            states << spin->text();
        else if (auto* button = qobject_cast<const QAbstractButton*>(w); button && button->isCheckable())
            states << QString::number(button->isChecked());
    }
    return states;
}

void frmChild::Take_Snapshot()
{
    m_snapshot = Control_States();
}

bool frmChild::Has_Unsaved_Changes() const
{
    return m_askToSave && m_shown && !m_closed && Control_States() != m_snapshot;
}

void frmChild::Close_Unasked()
{
    m_unasked = true;
    Frame()->close();
    if (!m_closed)
        m_unasked = false;
}

void frmChild::closeEvent(QCloseEvent* e)
{
    if (!m_unasked && Has_Unsaved_Changes()) {
        // The question comes over this window, so that it is seen which
        // window's changes are meant.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
        switch (Messages::Show(QStringLiteral("Save the changes?"), windowTitle(), Messages::Icon::Question,
                               Messages::Buttons::YesNoCancel)) {
        case Messages::Answer::Yes:
            if (!Save_Changes()) {
                e->ignore();
                return;
            }
            break;
        case Messages::Answer::No: break;
        default: e->ignore(); return;
        }
    }
    e->accept();
}

bool frmChild::event(QEvent* e)
{
    if (e->type() == QEvent::Show && !m_shown) {
        // What the window shows once loaded is what "unchanged" means.
        m_shown = true;
        Take_Snapshot();
    }
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::Close && e->isAccepted()) {
        m_closed = true;
        // Only a window the user is in hands the focus back: one that closes
        // while another has been opened over it (a contributor saved from
        // the offering window opens its offering record) leaves the focus
        // to that other.
        QWidget* focus = QApplication::focusWidget();
        const bool active = focus && (focus == this || isAncestorOf(focus));
        // Windows this one opened go back to its own opener when they close.
        for (frmChild* w : OpenWindows())
            if (w->Opener() == this)
                w->Set_Opener(m_opener);
        // A window that closes itself (OK, Cancel, Done) takes its frame in
        // the main window along; closing the frame asks this window again,
        // which Qt answers at once while the window is closing.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && !sub->isHidden())
            sub->close();
        // The main window's area activates whichever window it likes once a
        // window is gone; the one that opened this one is meant, so that a
        // dialog closed over a contributor returns to that contributor. It
        // keeps the control the user was in.
        if (QPointer<frmChild> opener = m_opener; active && opener && !opener->IsClosed()) {
            QTimer::singleShot(0, opener, [opener] {
                if (!opener || opener->IsClosed())
                    return;
                QWidget* focus = opener->focusWidget();
                if (auto* sub = qobject_cast<QMdiSubWindow*>(opener->parentWidget()); sub && sub->mdiArea())
                    sub->mdiArea()->setActiveSubWindow(sub);
                else
                    opener->activateWindow();
                if (focus && focus != opener && opener->isAncestorOf(focus) && focus->isVisible())
                    focus->setFocus(Qt::OtherFocusReason);
                else
                    opener->Focus_First_Control();
            });
        }
    }
    return handled;
}

namespace {
bool Usable(const QWidget* w, const QWidget* window)
{
    return w && w->isEnabled() && w->isVisibleTo(window) && window->isAncestorOf(w);
}
} // namespace

QWidget* frmChild::First_Control() const
{
    if (Usable(m_firstControl, this))
        return m_firstControl;
    // The first control of the tab order that takes the focus by Tab.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() && Usable(w, this))
            return w;
    return nullptr;
}

void frmChild::Focus_First_Control()
{
    if (QWidget* first = First_Control())
        first->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

QPushButton* frmChild::Default_Button() const
{
    if (m_defaultButton)
        return m_defaultButton;
    return findChild<QPushButton*>(QStringLiteral("cmdOK"));
}

QPushButton* frmChild::Cancel_Button() const
{
    if (m_cancelButton)
        return m_cancelButton;
    if (auto* b = findChild<QPushButton*>(QStringLiteral("cmdCancel")))
        return b;
    return findChild<QPushButton*>(QStringLiteral("cmdClose"));
}

void frmChild::keyPressEvent(QKeyEvent* e)
{
    // Only keys that no control inside took come here. Inside the main
    // window a default button does nothing by itself, so the window does
    // what a dialog box would.
    const int key = e->key();
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!plain || (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape)) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    if (m_closed)
        return; // a second Enter while the window goes must not save twice
    auto press = [this](QPushButton* b) {
        if (!b || !b->isEnabled() || !b->isVisibleTo(this))
            return false;
        b->click();
        return true;
    };
    if (key == Qt::Key_Escape) {
        // Esc is the close box of the keyboard: typed changes are asked
        // about, where the Cancel button itself drops them.
        if (Has_Unsaved_Changes())
            Frame()->close();
        else if (!press(Cancel_Button()) && m_escapeCloses)
            close();
        return;
    }
    // Enter on a button presses that button, as in every dialog box.
    if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget()); focused && isAncestorOf(focused)) {
        press(focused);
        return;
    }
    press(Default_Button());
}

void frmChild::Grow_To_Fit()
{
    const QSize wanted = size().expandedTo(Layouts::Least_Size(this));
    if (wanted == size())
        return;
    QWidget* frame = Frame();
    frame->resize(frame->size() + (wanted - size()));
}

void frmChild::Grow_Window_Of(QWidget* control)
{
    for (QWidget* w = control; w; w = w->parentWidget())
        if (auto* window = qobject_cast<frmChild*>(w)) {
            window->Grow_To_Fit();
            return;
        }
}

QList<frmChild*> frmChild::OpenWindows()
{
    QList<frmChild*> open;
    for (const QPointer<frmChild>& w : Registry())
        if (w && !w->m_closed)
            open.append(w.data());
    return open;
}

QWidget* frmChild::Frame()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return sub;
    return this;
}
