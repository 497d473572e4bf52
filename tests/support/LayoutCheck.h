#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QWidget>

// What a person sees of a window's controls: each label, button, check box,
// radio button, drop-down and text box shown whole (at least the size it
// asks for, a drop-down as wide as its longest item), inside the window and
// inside the box that holds it, and clear of every control beside it.
// Returns one line per fault, empty when the window reads whole.
namespace LayoutCheck {

inline bool Checked(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w)
        || qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w);
}

// Parts of a compound control (a grid's scroll bars, a drop-down's own
// line edit, a tab bar's scroll buttons) are the control's own business.
inline bool InsideCompound(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p)
            || qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QLineEdit*>(p)
            || qobject_cast<const QTabBar*>(p))
            return true;
    return false;
}

inline QString Name(const QWidget* w)
{
    if (!w->objectName().isEmpty())
        return w->objectName();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return QStringLiteral("label \"%1\"").arg(l->text());
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return QStringLiteral("button \"%1\"").arg(b->text());
    return QString::fromLatin1(w->metaObject()->className());
}

inline QString Text(const QSize& s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

// The width a drop-down needs to show its longest item whole, the text
// measured as the drop-down itself measures it.
inline int WidestItem(const QComboBox* c)
{
    int text = 0;
    for (int i = 0; i < c->count(); ++i)
        text = std::max(text, c->fontMetrics().boundingRect(c->itemText(i)).width());
    QStyleOptionComboBox option;
    option.initFrom(c);
    option.editable = c->isEditable();
    return c->style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(text, c->fontMetrics().height()), c).width();
}

inline QStringList Faults(QWidget* window)
{
    QStringList faults;
    const QRect inWindow = window->rect();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!Checked(w) || !w->isVisibleTo(window) || w->isWindow() || InsideCompound(w, window))
            continue;
        const QString name = Name(w);
        QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
        if (w->hasHeightForWidth())
            least.setHeight(std::max(w->minimumSize().height(), w->heightForWidth(w->width())));
        if (w->width() < least.width() || w->height() < least.height())
            faults << QStringLiteral("%1 is %2, needs %3").arg(name, Text(w->size()), Text(least));
        if (auto* c = qobject_cast<QComboBox*>(w); c && c->width() < WidestItem(c))
            faults << QStringLiteral("%1 is %2 wide, its longest item needs %3").arg(name).arg(c->width()).arg(WidestItem(c));
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!inWindow.contains(r))
            faults << QStringLiteral("%1 at %2,%3 %4 lies outside the window %5")
                          .arg(name).arg(r.x()).arg(r.y()).arg(Text(r.size()), Text(inWindow.size()));
        else if (QWidget* p = w->parentWidget(); p != window && !p->rect().contains(w->geometry()))
            faults << QStringLiteral("%1 lies outside %2").arg(name, Name(p));
        for (QWidget* other : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == w || !other->isVisibleTo(window) || other->isWindow() || (Checked(other) && other < w))
                continue;
            if (w->geometry().intersects(other->geometry()))
                faults << QStringLiteral("%1 overlaps %2").arg(name, Name(other));
        }
    }
    return faults;
}

} // namespace LayoutCheck
