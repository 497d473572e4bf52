#include "frmRptTelephone.h"

#include "ListingReports.h"
#include "ListingTables.h"
#include "shell/WindowServices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

using WindowServices::Place;

frmRptTelephone::frmRptTelephone(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Print Telephone Directory"));
}

void frmRptTelephone::Build_Show_Boxes(QWidget* window, QCheckBox*& active, QCheckBox*& inactive,
                                       const std::function<void()>& rebuild)
{
    active = new QCheckBox(QStringLiteral("Show &Active Contributors"), window);
    active->setObjectName(QStringLiteral("chkActive"));
    Place(active, 120, 120, 2900, 300);
    inactive = new QCheckBox(QStringLiteral("Show &Inactive Contributors"), window);
    inactive->setObjectName(QStringLiteral("chkInactive"));
    Place(inactive, 120, 480, 2900, 300);
    active->setChecked(true);
    for (QCheckBox* box : {active, inactive})
        QObject::connect(box, &QCheckBox::clicked, window, rebuild);
}

QGroupBox* frmRptTelephone::Build_Sort_Frame(QWidget* window, const QString& frameName, QRadioButton*& first,
                                            const QString& firstCaption, QRadioButton*& second,
                                            const QString& secondName, const QString& secondCaption,
                                            const std::function<void()>& rebuild)
{
    auto* frame = new QGroupBox(QStringLiteral("Sort Order"), window);
    frame->setObjectName(frameName);
    Place(frame, 3180, 0, 2700, 900);
    first = new QRadioButton(firstCaption, frame);
    first->setObjectName(QStringLiteral("optName"));
    Place(first, 120, 270, 2500, 285);
    second = new QRadioButton(secondCaption, frame);
    second->setObjectName(secondName);
    Place(second, 120, 570, 2500, 285);
    for (QRadioButton* b : {first, second})
        QObject::connect(b, &QRadioButton::clicked, window, rebuild);
    return frame;
}

int frmRptTelephone::Build_Controls()
{
    Build_Show_Boxes(this, chkActive, chkInactive, [this] { Rebuild(); });
    fraSort = Build_Sort_Frame(this, QStringLiteral("fraSort"), optName, QStringLiteral("Alp&habetical Order"), optPhone,
                               QStringLiteral("optPhone"), QStringLiteral("&Phone Number Order"), [this] { Rebuild(); });
    optName->setChecked(true);
    return WindowServices::TwipsToPixels(960);
}

std::unique_ptr<Report> frmRptTelephone::Make_Report()
{
    auto table = Listings::Telephone_Directory(chkActive->isChecked(), chkInactive->isChecked(), optPhone->isChecked());
    if (!table)
        return nullptr;
    auto report = std::make_unique<rptTelephone>();
    report->SetDataSource(1, std::move(*table));
    return report;
}

void frmRptTelephone::Rebuild()
{
    if (!Loading() && (chkActive->isChecked() || chkInactive->isChecked()))
        Build();
}

void frmRptTelephone::Handle_DBChange(int, bool, bool, bool, int, int)
{
    // The church's name heads the directory: it is read again with the rows.
    Rebuild();
}
