#include "frmRptTelephone.h"

#include "widgets/Layouts.h"
#include "ListingReports.h"
#include "ListingTables.h"
#include "widgets/WindowServices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Layouts;

frmRptTelephone::frmRptTelephone(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Print Telephone Directory"));
}

void frmRptTelephone::Build_Show_Boxes(QWidget* window, QCheckBox*& active, QCheckBox*& inactive,
                                       const std::function<void()>& rebuild)
{
    active = Check(window, "chkActive", QStringLiteral("Show &Active Contributors"));
    inactive = Check(window, "chkInactive", QStringLiteral("Show &Inactive Contributors"));
    active->setChecked(true);
    for (QCheckBox* box : {active, inactive})
        QObject::connect(box, &QCheckBox::clicked, window, rebuild);
}

QGroupBox* frmRptTelephone::Build_Sort_Frame(QWidget* window, const QString& frameName, QRadioButton*& first,
                                            const QString& firstCaption, QRadioButton*& second,
                                            const QString& secondName, const QString& secondCaption,
                                            const std::function<void()>& rebuild)
{
    auto* frame = Group(window, "fraSort", QStringLiteral("Sort Order"));
    frame->setObjectName(frameName);
    first = Radio(frame, "optName", firstCaption);
    second = Radio(frame, "optName", secondCaption);
    second->setObjectName(secondName);
    frame->setLayout(Column({first, second}));
    for (QRadioButton* b : {first, second})
        QObject::connect(b, &QRadioButton::clicked, window, rebuild);
    return frame;
}

void frmRptTelephone::Build_Controls()
{
    Build_Show_Boxes(this, chkActive, chkInactive, [this] { Rebuild(); });
    fraSort = Build_Sort_Frame(this, QStringLiteral("fraSort"), optName, QStringLiteral("Alp&habetical Order"), optPhone,
                               QStringLiteral("optPhone"), QStringLiteral("&Phone Number Order"), [this] { Rebuild(); });
    Strip()->addLayout(Column({chkActive, chkInactive}));
    Add_To_Strip({fraSort});
    optName->setChecked(true);
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
