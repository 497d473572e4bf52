#pragma once

#include "reports/Report.h"

// The old and new numbers of everyone whose envelope or auxiliary number
// changed in a numbering run: the list the treasurer hands out with the
// envelopes. Table 1 is the table of Changed_Numbers_Table.
class rptChangedNumbers : public Report {
public:
    rptChangedNumbers() : Report(QStringLiteral("rptChangedNumbers")) {}
    QString Title() const override { return QStringLiteral("Changed Envelope Numbers"); }
    ReportDocument Layout(const QDate& printed) const override;
};
