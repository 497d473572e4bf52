#pragma once

#include "DepositTables.h"
#include "Report.h"

// The deposit slip: the church and its bank account, the cash by line,
// each check, the total that goes to the bank, who counted it and room
// for both to sign. Table 1 the header, 2 the cash, 3 the checks.
class rptDeposit : public Report {
public:
    rptDeposit() : Report(QStringLiteral("rptDeposit")) {}
    QString Title() const override { return QStringLiteral("Deposit Slip"); }
    void Bind(Deposit::Tables tables);
    ReportDocument Layout(const QDate& printed) const override;
};
