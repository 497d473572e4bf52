#include "frmAbout.h"

#include "Version.h"
#include "WindowServices.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace WindowServices;

frmAbout::frmAbout(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quorvane"));
    resize(TwipsSize(5400, 2900));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    Place(icon, 240, 240, 840, 840);
    lblTitle = new QLabel(QStringLiteral("Quorvane"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    Place(lblTitle, 1260, 240, 3900, 480);
    lblVersion = new QLabel(QStringLiteral("Version %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision),
                            this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Place(lblVersion, 1260, 780, 3900, 300);
    lblDescription = new QLabel(QStringLiteral("Offering records for the church treasurer.\n"
                                               "Made by the Quorvane developers."),
                                this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    Place(lblDescription, 1260, 1140, 3900, 720);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Place(cmdOK, 3960, 2160, 1200, 390);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
}
