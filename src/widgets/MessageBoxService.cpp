#include "MessageBoxService.h"

#include "core/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace MessageBoxService {

void Install(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    Messages::SetHandler([owner](const Messages::Message& m) {
        QMessageBox box(owner ? owner.data() : QApplication::activeWindow());
        box.setWindowTitle(m.title);
        // Texts use CR LF between lines, as the program has always written them.
        QString text = m.text;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        box.setText(text);
        switch (m.icon) {
        case Messages::Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Messages::Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Messages::Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Messages::Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        case Messages::Icon::None: break;
        }
        switch (m.buttons) {
        case Messages::Buttons::OK: box.setStandardButtons(QMessageBox::Ok); break;
        case Messages::Buttons::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Messages::Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Messages::Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (m.defaultAnswer) {
        case Messages::Answer::Yes: box.setDefaultButton(QMessageBox::Yes); break;
        case Messages::Answer::No: box.setDefaultButton(QMessageBox::No); break;
        case Messages::Answer::Cancel: box.setDefaultButton(QMessageBox::Cancel); break;
        case Messages::Answer::OK: box.setDefaultButton(QMessageBox::Ok); break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return Messages::Answer::Yes;
        case QMessageBox::No: return Messages::Answer::No;
        case QMessageBox::Cancel: return Messages::Answer::Cancel;
        default: return Messages::Answer::OK;
        }
    });
    Messages::SetBeepHandler([] { QApplication::beep(); });
}

} // namespace MessageBoxService
