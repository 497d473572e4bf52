#include "frmRptNumbers.h"

#include "rptChangedNumbers.h"
#include "shell/WindowServices.h"
#include "storage/clsFunds.h"

#include <QLabel>

frmRptNumbers::frmRptNumbers(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Changed Envelope Numbers"));
}

int frmRptNumbers::Build_Controls()
{
    lblFund = new QLabel(this);
    lblFund->setObjectName(QStringLiteral("lblFund"));
    WindowServices::Place(lblFund, 120, 150, 7000, 285);
    return WindowServices::TwipsToPixels(540);
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
