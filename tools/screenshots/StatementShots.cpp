// The statements and pledge status windows for qv-screenshots, each with a
// real report of the sample data's last year.
#include "reports/CRViewer91.h"
#include "reports/frmRptPledgeStatus.h"
#include "reports/frmRptStatements.h"
#include "shell/Windows.h"
#include "shell/frmChild.h"

#include <QApplication>
#include <QComboBox>
#include "shell/QvDateBox.h"
#include <functional>

void Statement_Screenshots(const std::function<void(QWidget*, const QString&)>& save)
{
    auto* statements = qobject_cast<frmRptStatements*>(Windows::Open_New(QStringLiteral("frmRptStatements"), {}));
    if (statements) {
        statements->cboWhich->setCurrentIndex(0); // All - Zip Code Order
        statements->viewer->SetFit(CRViewer91::Fit::WholePage);
        save(statements->Frame(), QStringLiteral("frmRptStatements"));
        statements->Frame()->close();
    }
    auto* pledges = qobject_cast<frmRptPledgeStatus*>(Windows::Open_New(QStringLiteral("frmRptPledgeStatus"), {}));
    if (pledges) {
        pledges->cboFund->setCurrentIndex(std::max(0, pledges->cboFund->findText(QStringLiteral("2025"), Qt::MatchStartsWith)));
        pledges->cboSort->setCurrentIndex(1); // Envelope Number Order
        save(pledges->Frame(), QStringLiteral("frmRptPledgeStatus"));
        pledges->Frame()->close();
    }
    QApplication::processEvents();
}
