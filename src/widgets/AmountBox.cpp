#include "AmountBox.h"

#include "core/Helpers.h"
#include "core/Messages.h"

#include <QLineEdit>
#include <QVariant>

namespace AmountBox {

namespace {
const char* const kNote = "qvRefusalNote";
const char* const kWatched = "qvRefusalWatched";
} // namespace

bool Refused(const QLineEdit* box)
{
    return !box->property(kNote).toString().isEmpty();
}

void Clear_Refusal(QLineEdit* box)
{
    const QString note = box->property(kNote).toString();
    if (note.isEmpty())
        return;
    box->setProperty(kNote, QString());
    box->setStyleSheet(QString());
    Messages::Release_Note(note);
}

void Leave(QLineEdit* box)
{
    const QString typed = box->text();
    double value = 0;
    if (typed.trimmed().isEmpty() || modGlobal::ParseNumber(typed, &value)) {
        // Passing through a refused box without typing leaves the mark: it
        // still holds no amount of the user's.
        if (box->isModified() || !Refused(box))
            Clear_Refusal(box);
        box->setText(modGlobal::FormatAmount(value));
        return;
    }
    const QString note = modGlobal::Refusal_Note(typed, QStringLiteral("amount"));
    Clear_Refusal(box);
    Messages::Beep();
    Messages::Hold_Note(note);
    box->setProperty(kNote, note);
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #c00000; }"));
    box->setText(modGlobal::FormatAmount(0));
    if (!box->property(kWatched).toBool()) {
        // A window closed with a refused box takes its note along.
        box->setProperty(kWatched, true);
        QObject::connect(box, &QObject::destroyed, [](QObject* gone) {
            const QString held = gone->property(kNote).toString();
            if (!held.isEmpty())
                Messages::Release_Note(held);
        });
    }
}

} // namespace AmountBox
