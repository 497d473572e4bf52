#include "AllWindows.h"
#include "widgets/MessageBoxService.h"
#include "QvApplication.h"
#include "widgets/WindowServices.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QvApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(WindowServices::ProgramIcon());
    MessageBoxService::Install();
    WindowServices::Keep_Input_Out_Of_Writes();
    RegisterAllWindows();

    frmMain main;
    if (!main.Loaded())
        return 1;
    main.show();
    return app.exec();
}
