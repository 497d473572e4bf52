#pragma once

#include <QChar>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QWidget;

// The access keys (Alt+letter) of a window's controls: the letter after a
// single '&' in a button's, a label's (with its buddy), a group's or a
// tab's caption.
namespace AccessKeys {

// The access key of a caption, upper case; null when it has none.
QChar Of(const QString& caption);

struct Key {
    QChar key;
    QWidget* control;
    QString caption;
};
// The keys of the controls a person can reach in the window as it is now
// (controls on tabs not shown are left out).
QList<Key> Shown(QWidget* window);
// Every key the window's controls use, on any tab.
QSet<QChar> All(QWidget* window);
// Keys given to more than one shown control: "Alt+P: &Print, &Pledges".
QStringList Clashes(QWidget* window);
// Shown buttons, check boxes and radio buttons without an access key.
QStringList Without_Key(QWidget* window);

} // namespace AccessKeys
