#include "frmChild.h"

#include <QEvent>
#include <QMdiSubWindow>

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
}

frmChild::~frmChild()
{
    Registry().removeAll(this);
    Registry().removeAll(nullptr);
}

void frmChild::Handle_DBChange(int, bool, bool, bool, int, int) {}

bool frmChild::event(QEvent* e)
{
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::Close && e->isAccepted()) {
        m_closed = true;
        // A window that closes itself (OK, Cancel, Done) takes its frame in
        // the main window along; closing the frame asks this window again,
        // which Qt answers at once while the window is closing.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && !sub->isHidden())
            sub->close();
    }
    return handled;
}

QSize frmChild::Designed_Size() const
{
    return m_resizeRule.Designed().isValid() ? m_resizeRule.Designed() : size();
}

void frmChild::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    m_resizeRule.Apply(size());
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
