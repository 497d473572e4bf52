#include "QvApplication.h"

#include "core/Messages.h"
#include "core/DbError.h"

QvApplication::QvApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QvApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError& e) {
        Messages::Show_Error(e.Message());
    }
    return false;
}
