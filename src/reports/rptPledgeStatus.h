#pragma once

#include "Report.h"

// The pledge status report of one fund: a line per contributor sorted on
// the sort field, with the totals of every money column.
class rptPledgeStatus : public Report {
public:
    rptPledgeStatus() : Report(QStringLiteral("rptPledgeStatus")) {}
    QString Title() const override { return QStringLiteral("Pledge Status Report"); }
    ReportDocument Layout(const QDate& printed) const override;
};
