#include "shell/Helpers.h"
#include "shell/MessageBoxService.h"
#include "shell/modGlobal.h"
#include "shell/modStartup.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    MessageBoxService::Install();

    if (modStartup::Start_Up([] { return 1; }) != modStartup::Result::Ready)
        return 1;

    QMainWindow window;
    window.setWindowTitle(modGlobal::MainFundName.isEmpty() ? QStringLiteral("Quorvane") : QStringLiteral("Quorvane"));
    auto* label = new QLabel(QStringLiteral("Data file: ") + modGlobal::DataFilePath);
    label->setMargin(24);
    window.setCentralWidget(label);
    window.statusBar()->showMessage(QStringLiteral("Processing Year: ") + QString::number(modGlobal::ProcessingYear));
    window.resize(800, 500);
    window.show();
    const int rc = app.exec();
    modStartup::Shut_Down();
    return rc;
}
