#include "frmProgess.h"

#include "WindowServices.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace WindowServices;

frmProgess::frmProgess(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmProgess"));
    setWindowTitle(QStringLiteral("Loading"));
    setAttribute(Qt::WA_DeleteOnClose, false); // owned by the operation that shows it
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setFixedSize(TwipsSize(4770, 1335));
    Set_Escape_Closes(false); // the operation it shows runs on
    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    Place(lblDescription, 120, 120, 4530, 300);
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    Place(pbProgress, 120, 540, 4530, 360);
    CentreInMainWindow(this);
}

frmProgess::~frmProgess()
{
    // The main window takes the keys again once the progress has gone, so
    // that typing goes on where it was.
    if (isActiveWindow())
        if (QWidget* area = MainArea())
            area->window()->activateWindow();
}

void frmProgess::Show_Progress(int maximum, const QString& description)
{
    pbProgress->setMaximum(std::max(maximum, 0));
    pbProgress->setValue(0);
    lblDescription->setText(description + QStringLiteral("..."));
    CentreInMainWindow(this);
    show();
    // Painting only: a key or click now would run in the middle of the
    // operation (inside its transaction, when it writes).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmProgess::Increment_Progess(int step)
{
    pbProgress->setValue(std::min(pbProgress->value() + step, pbProgress->maximum()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmProgess::Allow_Cancel()
{
    if (cmdCancel)
        return;
    setFixedSize(TwipsSize(4770, 1800));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 3450, 1050, 1200, 390);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        cmdCancel->setEnabled(false);
    });
    cmdCancel->show();
}
