#include "frmRptNumbers.h"

#include "widgets/Layouts.h"
#include "rptChangedNumbers.h"
#include "widgets/WindowServices.h"
#include "storage/clsFunds.h"

#include <QLabel>

using namespace Layouts;

frmRptNumbers::frmRptNumbers(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Changed Envelope Numbers"));
}

void frmRptNumbers::Build_Controls()
{
    lblFund = Label(this, "lblFund", QString());
    Add_To_Strip({lblFund});
}

std::unique_ptr<Report> frmRptNumbers::Make_Report()
{
    const auto changes = property("Changes").value<QList<modGlobal::NumberChange>>();
    const int fundID = property("FundID").toInt();
    auto report = std::make_unique<rptChangedNumbers>();
    report->SetDataSource(1, modGlobal::Changed_Numbers_Table(fundID, changes));
    lblFund->setText(QString::number(changes.size()) + QStringLiteral(" numbers changed for the ")
                     + modGlobal::Fund_Display_Name(fundID));
    return report;
}
