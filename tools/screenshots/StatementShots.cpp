// The statements and pledge status windows for qv-screenshots, each with a
// real report of the sample data's last year.
#include "reports/CRViewer91.h"
#include "reports/frmRptPledgeStatus.h"
#include "reports/frmEmailStatements.h"
#include "reports/frmRptStatements.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "storage/ContributorEmail.h"

#include <QApplication>
#include <QComboBox>
#include "widgets/QvDateBox.h"
#include <functional>

void Statement_Screenshots(const std::function<void(QWidget*, const QString&)>& save)
{
    auto* statements = qobject_cast<frmRptStatements*>(Windows::Open_New(QStringLiteral("frmRptStatements"), {}));
    if (statements) {
        statements->cboWhich->setCurrentIndex(0); // All - Zip Code Order
        statements->viewer->SetFit(CRViewer91::Fit::WholePage);
        save(statements->Frame(), QStringLiteral("frmRptStatements"));
        // The list before sending: most of the sample's contributors by
        // e-mail, some by both, the rest on paper.
        ContributorEmail::Make_Ready();
        modGlobal::DB().Execute(QStringLiteral(
            "INSERT OR REPLACE INTO ContributorEmail (ContributorID, Email, Delivery) "
            "SELECT ID, 'family' || ID || '@example.org', "
            "CASE WHEN ID % 5 = 0 THEN 2 ELSE 1 END FROM Contributors WHERE ID > 1 AND ID % 3 <> 0;"));
        if (const auto* report = dynamic_cast<const rptStatement*>(statements->Current_Report())) {
            frmEmailStatements list(*report, statements->dpBegin->date(), statements->dpEnd->date(), QString());
            save(&list, QStringLiteral("frmEmailStatements"));
        }
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
