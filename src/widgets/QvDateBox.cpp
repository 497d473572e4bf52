#include "QvDateBox.h"

#include "core/Helpers.h"
#include "core/Messages.h"
#include "core/TypedInput.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QIcon DropDownIcon()
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    QPainterPath arrow;
    arrow.moveTo(2, 4);
    arrow.lineTo(10, 4);
    arrow.lineTo(6, 9);
    arrow.closeSubpath();
    p.drawPath(arrow);
    return QIcon(pm);
}
} // namespace

QvDateBox::QvDateBox(QWidget* parent) : QLineEdit(parent)
{
    QAction* open = addAction(DropDownIcon(), QLineEdit::TrailingPosition);
    open->setToolTip(QStringLiteral("Calendar"));
    connect(open, &QAction::triggered, this, &QvDateBox::Show_Calendar);
    // The longest short date, "12/31/2026", and the calendar button.
    setMinimumWidth(fontMetrics().horizontalAdvance(modGlobal::ShortDate(QDate(2026, 12, 28))) + 40);
}

QDate QvDateBox::Bounded(const QDate& date) const
{
    QDate d = date;
    if (m_earliest.isValid() && d < m_earliest)
        d = m_earliest;
    if (m_latest.isValid() && d > m_latest)
        d = m_latest;
    return d;
}

void QvDateBox::Set(const QDate& date, bool notify)
{
    if (!date.isValid())
        return;
    const QDate d = Bounded(date);
    const bool changed = d != m_date;
    m_date = d;
    setText(modGlobal::ShortDate(d));
    if (hasFocus())
        selectAll();
    if (changed && notify)
        emit dateChanged(d);
}

void QvDateBox::setDate(const QDate& date)
{
    Set(date, true);
}

void QvDateBox::setDateRange(const QDate& earliest, const QDate& latest)
{
    m_earliest = earliest;
    m_latest = latest;
    if (m_date.isValid())
        Set(m_date, true);
}

QDate QvDateBox::Typed() const
{
    const int year = m_date.isValid() ? m_date.year() : (m_earliest.isValid() ? m_earliest.year() : QDate::currentDate().year());
    const QDate d = modGlobal::ParseTypedDate(text(), year);
    if (!d.isValid() || Bounded(d) != d)
        return {};
    return d;
}

QDate QvDateBox::date() const
{
    const QDate typed = Typed();
    return typed.isValid() ? typed : m_date;
}

bool QvDateBox::Commit()
{
    if (m_date.isValid() && text() == modGlobal::ShortDate(m_date))
        return true;
    const QDate typed = Typed();
    if (!typed.isValid()) {
        // Not a date of this box: the last good date comes back, whole, so
        // that the person sees at once what the box holds.
        Messages::Beep();
        setText(m_date.isValid() ? modGlobal::ShortDate(m_date) : QString());
        selectAll();
        return false;
    }
    Set(typed, true);
    return true;
}

void QvDateBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((key == Qt::Key_Down && (mods & Qt::AltModifier)) || key == Qt::Key_F4) {
        Show_Calendar();
        return;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && !(mods & (Qt::AltModifier | Qt::ControlModifier))) {
        // A day later or earlier, as the arrows of a date picker do.
        if (Commit() && m_date.isValid())
            setDate(m_date.addDays(key == Qt::Key_Up ? 1 : -1));
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // A date that is not one never reaches the window's default button.
        if (!Commit()) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Escape && m_date.isValid() && text() != modGlobal::ShortDate(m_date)) {
        setText(modGlobal::ShortDate(m_date));
        selectAll();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !typed.isEmpty()
        && typed.at(0).isPrint()) {
        const QChar c = typed.at(0);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && !modGlobal::IsDateSeparator(c)) {
            Messages::Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void QvDateBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        selectAll();
}

void QvDateBox::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason)
        Commit();
    QLineEdit::focusOutEvent(event);
}

void QvDateBox::Show_Calendar()
{
    Commit();
    if (!m_calendar) {
        auto* frame = new QWidget(this, Qt::Popup);
        frame->setObjectName(QStringLiteral("dateBoxCalendar"));
        auto* layout = new QVBoxLayout(frame);
        layout->setContentsMargins(0, 0, 0, 0);
        m_calendar = new QCalendarWidget(frame);
        m_calendar->setGridVisible(true);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        layout->addWidget(m_calendar);
        auto pick = [this, frame](const QDate& d) {
            frame->hide();
            setDate(d);
            setFocus(Qt::OtherFocusReason);
            selectAll();
        };
        connect(m_calendar, &QCalendarWidget::clicked, this, pick);
        connect(m_calendar, &QCalendarWidget::activated, this, pick);
    }
    m_calendar->setDateRange(m_earliest.isValid() ? m_earliest : QDate(1900, 1, 1),
                             m_latest.isValid() ? m_latest : QDate(9999, 12, 31));
    if (m_date.isValid())
        m_calendar->setSelectedDate(m_date);
    QWidget* frame = m_calendar->parentWidget();
    frame->adjustSize();
    frame->move(mapToGlobal(QPoint(0, height())));
    frame->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}
