#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// The one date box of the program (every dp... control). A date is typed
// as a whole in the short date form, "6/7/2026", the way it is shown; Tab
// and Shift+Tab leave the box like any other box; letters are refused with
// a beep, so that text meant for the next box never turns into a month.
// A date that is not one, or lies outside the box's range, is refused with
// a beep when the box is left and the last good date comes back. The
// button at the right opens a calendar (so does Alt+Down or F4); the Up
// and Down arrows step a day.
class QvDateBox : public QLineEdit {
    Q_OBJECT
public:
    explicit QvDateBox(QWidget* parent = nullptr);

    // The date shown; a date typed and not yet left counts once it reads as
    // a date in range, so that a button pressed by its access key takes it.
    QDate date() const;
    void setDate(const QDate& date); // kept within the range
    void setDateRange(const QDate& earliest, const QDate& latest);
    QDate minimumDate() const { return m_earliest; }
    QDate maximumDate() const { return m_latest; }
    // Opens the calendar below the box.
    void Show_Calendar();

signals:
    void dateChanged(const QDate& date);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QDate Typed() const;
    bool Commit();
    void Set(const QDate& date, bool notify);
    QDate Bounded(const QDate& date) const;

    QDate m_date;
    QDate m_earliest;
    QDate m_latest;
    QCalendarWidget* m_calendar = nullptr;
};
