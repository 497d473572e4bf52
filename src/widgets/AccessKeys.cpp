#include "AccessKeys.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QTabBar>
#include <QToolButton>

namespace AccessKeys {

QChar Of(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) == QLatin1Char('&')) {
            ++i; // "&&" is an ampersand shown
            continue;
        }
        return caption.at(i + 1).toUpper();
    }
    return {};
}

namespace {

// Each control that carries a caption with its key, shown or not.
template <typename Visit>
void Each(QWidget* window, Visit visit)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            visit(w, button->text());
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->buddy())
                visit(w, label->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            visit(w, group->title());
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                visit(w, tabs->tabText(i));
        }
    }
}

} // namespace

QList<Key> Shown(QWidget* window)
{
    QList<Key> keys;
    Each(window, [&](QWidget* w, const QString& caption) {
        const QChar key = Of(caption);
        if (!key.isNull() && w->isVisibleTo(window))
            keys.append({key, w, caption});
    });
    return keys;
}

QSet<QChar> All(QWidget* window)
{
    QSet<QChar> keys;
    Each(window, [&](QWidget*, const QString& caption) {
        if (const QChar key = Of(caption); !key.isNull())
            keys.insert(key);
    });
    return keys;
}

QStringList Clashes(QWidget* window)
{
    QMap<QChar, QStringList> byKey;
    for (const Key& k : Shown(window))
        byKey[k.key].append(k.caption);
    QStringList clashes;
    for (auto it = byKey.constBegin(); it != byKey.constEnd(); ++it)
        if (it.value().size() > 1)
            clashes.append(QStringLiteral("Alt+") + it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", ")));
    return clashes;
}

QStringList Without_Key(QWidget* window)
{
    QStringList missing;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        // Buttons without a caption (scroll arrows, the calendar's) are
        // reached by their owner's keys.
        if (qobject_cast<QToolButton*>(b) || b->text().isEmpty() || !b->isVisibleTo(window))
            continue;
        if (Of(b->text()).isNull())
            missing.append(b->objectName() + QStringLiteral(" \"") + b->text() + QLatin1Char('"'));
    }
    return missing;
}

} // namespace AccessKeys
