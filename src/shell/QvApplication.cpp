#include "QvApplication.h"

#include "Messages.h"
#include "storage/DbError.h"

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
