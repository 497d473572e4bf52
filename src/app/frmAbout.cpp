#include "frmAbout.h"

#include "Version.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace WindowServices;
using namespace Layouts;

frmAbout::frmAbout(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmAbout", QStringLiteral("About Quorvane"));
    auto* icon = Label(this, "imgIcon", QString());
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    lblTitle = Label(this, "lblTitle", QStringLiteral("Quorvane"));
    Heading(lblTitle, 1.6);
    lblVersion = Label(this, "lblVersion",
                       QStringLiteral("Version %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision));
    lblDescription = Label(this, "lblDescription",
                           QStringLiteral("Offering records for the church treasurer.\n"
                                          "Made by the Quorvane developers."));
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    auto* text = Column({lblTitle, lblVersion, lblDescription});
    text->addStretch(1);
    text->addLayout(ButtonRow({cmdOK}));
    auto* page = new QHBoxLayout(this);
    page->addWidget(icon);
    page->addLayout(text, 1);
    Open_At(this, 5400, 2900);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
}
