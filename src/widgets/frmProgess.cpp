#include "frmProgess.h"

#include "Layouts.h"
#include "WindowServices.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

frmProgess::frmProgess(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmProgess", QStringLiteral("Loading"));
    setAttribute(Qt::WA_DeleteOnClose, false); // owned by the operation that shows it
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    Set_Escape_Closes(false); // the operation it shows runs on
    lblDescription = Label(this, "lblDescription", QString());
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    m_page = Page(this);
    m_page->addWidget(lblDescription);
    m_page->addWidget(pbProgress);
    m_page->addStretch(1);
    Fit();
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
    Fit();
    CentreInMainWindow(this);
    show();
    // Painting only: a key or click now would run in the middle of the
    // operation (inside its transaction, when it writes).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmProgess::Increment_Progess(int step)
{
    m_unshown += step;
    const int value = std::min(pbProgress->value() + m_unshown, pbProgress->maximum());
    // A run of thousands of steps moves the bar (and hears Cancel) once a
    // percent, not at every step: painting the bar would cost more than
    // the work it shows.
    const qint64 range = std::max(pbProgress->maximum() - pbProgress->minimum(), 1);
    const auto percent = [&](int v) { return (qint64(v) - pbProgress->minimum()) * 100 / range; };
    if (percent(value) == percent(pbProgress->value()) && value != pbProgress->maximum())
        return;
    m_unshown = 0;
    pbProgress->setValue(value);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmProgess::Allow_Cancel()
{
    if (cmdCancel)
        return;
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));
    m_page->addLayout(ButtonRow({cmdCancel}));
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        cmdCancel->setEnabled(false);
    });
    cmdCancel->show();
    Fit();
}

void frmProgess::Fit()
{
    // The description and the Cancel button decide the size: never less
    // than the size it was drawn for, more when they need it.
    Fix_At(this, 4770, cmdCancel ? 1800 : 1335);
}
