#include "Windows.h"

#include "Layouts.h"
#include "WindowServices.h"
#include "frmChild.h"
#include "core/modGlobal.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTabWidget>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>

namespace Windows {

namespace {
// Ctrl+Tab and Ctrl+Shift+Tab step through the tabs of the window the user
// is in (the offering window's Loose Offering, Contributors and Totals).
// The main window's area takes those keys for stepping through its windows
// before any window sees them, so this filter sits in front of it.
class TabKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (!tab || !(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier))
            return false;
        auto* focus = qobject_cast<QWidget*>(watched);
        if (!focus || focus != QApplication::focusWidget())
            return false;
        for (QWidget* w = focus; w && !qobject_cast<frmChild*>(w); w = w->parentWidget()) {
            auto* tabs = qobject_cast<QTabWidget*>(w);
            if (!tabs || tabs->count() < 2)
                continue;
            const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            tabs->setCurrentIndex((tabs->currentIndex() + (back ? tabs->count() - 1 : 1)) % tabs->count());
            return true;
        }
        return false;
    }
};

void KeepTabKeysInFront()
{
    static TabKeys* filter = new TabKeys(qApp);
    // Installed again after each new window, so that it stays the first.
    qApp->installEventFilter(filter);
}

QHash<QString, Factory>& Factories()
{
    static QHash<QString, Factory> f;
    return f;
}
QHash<QString, DialogFactory>& DialogFactories()
{
    static QHash<QString, DialogFactory> f;
    return f;
}
} // namespace

void Register(const QString& name, Factory factory)
{
    Factories().insert(name, std::move(factory));
}

void RegisterDialog(const QString& name, DialogFactory factory)
{
    DialogFactories().insert(name, std::move(factory));
}

bool IsRegistered(const QString& name)
{
    return Factories().contains(name) || DialogFactories().contains(name);
}

void Unregister(const QString& name)
{
    Factories().remove(name);
    DialogFactories().remove(name);
}

frmChild* Create(const QString& name)
{
    auto it = Factories().constFind(name);
    if (it == Factories().constEnd())
        return nullptr;
    frmChild* w = it.value()();
    if (w && w->objectName().isEmpty())
        w->setObjectName(name);
    return w;
}

QDialog* CreateDialog(const QString& name)
{
    auto it = DialogFactories().constFind(name);
    if (it == DialogFactories().constEnd())
        return nullptr;
    QDialog* d = it.value()();
    if (d && d->objectName().isEmpty())
        d->setObjectName(name);
    return d;
}

frmChild* Find_Window(const QString& name)
{
    for (frmChild* w : frmChild::OpenWindows())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

void Bring_Forward(frmChild* window)
{
    QWidget* frame = window->Frame();
    if (frame->isMinimized())
        frame->showNormal();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame)) {
        if (sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
    } else {
        frame->raise();
        frame->activateWindow();
    }
    // Typing goes to the window's first box, never to the frame itself.
    window->Focus_First_Control();
}

void Show_Child(frmChild* window)
{
    auto* area = qobject_cast<QMdiArea*>(WindowServices::MainArea());
    if (!window->Opener()) {
        QMdiSubWindow* active = area ? area->activeSubWindow() : nullptr;
        window->Set_Opener(active ? qobject_cast<frmChild*>(active->widget()) : nullptr);
    }
    window->Form_Load();
    // The control the window focused while loading is its first, unless it
    // named another.
    if (QWidget* focused = window->focusWidget(); focused && focused != window && !window->First_Control_Named())
        window->Set_First_Control(focused);
    if (area && !window->parentWidget()) {
        // The frame opens at the size the window gave itself, or larger
        // where what it loaded needs more room, and never shrinks below
        // what its layout needs.
        const QSize least = Layouts::Least_Size(window);
        const QSize opening = window->size().expandedTo(least);
        QMdiSubWindow* sub = area->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        const QSize frame(2 * border, title + border);
        sub->setMinimumSize(least + frame);
        sub->resize(opening + frame);
        KeepTabKeysInFront();
    }
    WindowServices::CentreInMainWindow(window);
    window->Frame()->show();
    window->show();
    Bring_Forward(window);
}

frmChild* Open_Single(const QString& name)
{
    if (frmChild* open = Find_Window(name)) {
        Bring_Forward(open);
        return open;
    }
    frmChild* w = Create(name);
    if (w)
        Show_Child(w);
    return w;
}

frmChild* Open_New(const QString& name, const QVariantMap& properties)
{
    frmChild* w = Create(name);
    if (!w)
        return nullptr;
    for (auto it = properties.constBegin(); it != properties.constEnd(); ++it)
        w->setProperty(it.key().toLatin1().constData(), it.value());
    Show_Child(w);
    return w;
}

bool Find_Open_Window(int kind, int id, bool bringForward)
{
    if (id == 0)
        return false;
    const QString name = kind == 1 ? QStringLiteral("frmFundInfo") : QStringLiteral("frmContInfo");
    for (frmChild* w : frmChild::OpenWindows()) {
        if (w->objectName() == name && w->Tag().toInt() == id) {
            if (bringForward)
                Bring_Forward(w);
            return true;
        }
    }
    return false;
}

namespace {
void ShowDetail(int kind, int id)
{
    if (Find_Open_Window(kind, id, true))
        return;
    frmChild* w = Create(kind == 1 ? QStringLiteral("frmFundInfo") : QStringLiteral("frmContInfo"));
    if (!w)
        return;
    if (kind == 1) {
        if (id == 1) {
            // The main fund's flags are fixed.
            w->setProperty("AllowInactive", false);
            w->setProperty("AllowPledgeable", false);
            w->setProperty("AllowTaxDeductible", false);
        }
        w->setProperty("ID", id);
    } else {
        w->setProperty("ContributorID", id);
    }
    w->SetTag(QString::number(id));
    Show_Child(w);
}
} // namespace

void Show_Fund(int id)
{
    ShowDetail(1, id);
}

void Show_Contributor(int id)
{
    ShowDetail(2, id);
}

void Broadcast(int table, bool added, bool changed, bool deleted, int recordID, int contributorID)
{
    QList<QPointer<frmChild>> windows;
    for (frmChild* w : frmChild::OpenWindows())
        windows.append(w);
    // A window may close another while it handles the notice.
    for (const QPointer<frmChild>& w : windows)
        if (w)
            w->Handle_DBChange(table, added, changed, deleted, recordID, contributorID);
}

bool Close_All()
{
    QList<QPointer<frmChild>> windows;
    for (frmChild* w : frmChild::OpenWindows())
        windows.append(w);
    for (const QPointer<frmChild>& w : windows)
        if (w)
            w->Frame()->close();
    return frmChild::OpenWindows().isEmpty();
}

} // namespace Windows
