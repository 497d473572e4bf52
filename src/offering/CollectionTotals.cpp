#include "CollectionTotals.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "core/modDBConnection.h"

#include <QHash>

using namespace modGlobal;

namespace CollectionTotals {

double Unpledged_Part(double pledge, double paidBefore, double paid)
{
    const double remaining = std::max(0.0, pledge - paidBefore);
    return paid > remaining ? paid - remaining : 0.0;
}

QList<TotalRow> Build_Totals(int k, int y)
{
    const QString K = QString::number(k);
    const QString minusY = QString::number(-y);
    const QString m = MainFundName;

    // Payments before this set (by number), against the contributor's first
    // pledge of the year. Joining all pledges would count each payment once
    // per pledge when a contributor has two main fund pledges for the year.
    Recordset before(
        QStringLiteral("SELECT Sum(Offering.Amount) AS PrevPaid, Offering.ContributorID, Pledges.Amount as Pledge"
                       " FROM Offering LEFT JOIN (SELECT ContributorID, FundID, Amount FROM Pledges WHERE ID IN "
                       "(SELECT Min(ID) FROM Pledges WHERE FundID = ")
            + minusY
            + QStringLiteral(" GROUP BY ContributorID)) AS Pledges ON (Offering.ContributorID = Pledges.ContributorID) "
                             "AND (Offering.FundID = Pledges.FundID)"
                             " WHERE ((Offering.CollectionID < ")
            + K + QStringLiteral(") And (Offering.FundID = ") + minusY + QStringLiteral("))")
            + QStringLiteral(" GROUP BY Offering.ContributorID, Pledges.Amount;"),
        DB());
    struct Earlier {
        double pledge, paid;
    };
    QHash<int, Earlier> earlier;
    for (; !before.Eof(); before.MoveNext()) {
        const int c = FieldLong(before.Field(QStringLiteral("ContributorID")));
        if (!earlier.contains(c))
            earlier.insert(c, {FieldDouble(before.Field(QStringLiteral("Pledge"))),
                               FieldDouble(before.Field(QStringLiteral("PrevPaid")))});
    }
    Recordset pledges(QStringLiteral("SELECT ContributorID, Amount FROM Pledges WHERE ((FundID = ") + minusY
                          + QStringLiteral(")) ORDER BY ContributorID, ID;"),
                      DB());
    QHash<int, double> firstPledge;
    for (; !pledges.Eof(); pledges.MoveNext()) {
        const int c = FieldLong(pledges.Field(QStringLiteral("ContributorID")));
        if (!firstPledge.contains(c))
            firstPledge.insert(c, FieldDouble(pledges.Field(QStringLiteral("Amount"))));
    }
    Recordset now(QStringLiteral("SELECT Sum(Amount) AS Paid, ContributorID FROM Offering WHERE ((CollectionID = ") + K
                      + QStringLiteral(") And (FundID = ") + minusY + QStringLiteral(")) GROUP BY ContributorID;"),
                  DB());
    double pledged = 0, unpledged = 0;
    for (; !now.Eof(); now.MoveNext()) {
        const int c = FieldLong(now.Field(QStringLiteral("ContributorID")));
        const double p = FieldDouble(now.Field(QStringLiteral("Paid")));
        double u = p;
        if (earlier.contains(c))
            u = Unpledged_Part(earlier[c].pledge, earlier[c].paid, p);
        else if (firstPledge.contains(c))
            u = Unpledged_Part(firstPledge[c], 0, p);
        unpledged += u;
        pledged += p - u;
    }

    QList<TotalRow> rows;
    rows.append({QString::number(y) + QLatin1Char(' ') + m + QStringLiteral(" - Pledged"), RoundCents(pledged)});
    rows.append({QString::number(y) + QLatin1Char(' ') + m + QStringLiteral(" - Unpledged"), RoundCents(unpledged)});

    Recordset years(QStringLiteral("SELECT FundID, Sum(Amount) AS Total FROM Offering WHERE ((FundID < 0) AND (FundID <> ")
                        + minusY + QStringLiteral(") AND (CollectionID = ") + K
                        + QStringLiteral(")) GROUP BY FundID ORDER BY FundID DESC;"),
                    DB());
    for (; !years.Eof(); years.MoveNext()) {
        const int x = -FieldLong(years.Field(QStringLiteral("FundID")));
        const QString kind = x > y ? QStringLiteral(" (Pre-Paid) ") : QStringLiteral(" (Prior Year) ");
        rows.append({QString::number(x) + kind + m, RoundCents(FieldDouble(years.Field(QStringLiteral("Total"))))});
    }

    Recordset funds(QStringLiteral("SELECT Sum(Offering.Amount) AS TotalAmount, Funds.FundName"
                                   " FROM Offering LEFT JOIN Funds ON Offering.FundID = Funds.ID"
                                   " WHERE ((Offering.CollectionID = ")
                        + K + QStringLiteral(") And (Offering.FundID > 0)) GROUP BY Funds.FundName ORDER BY Funds.FundName;"),
                    DB());
    for (; !funds.Eof(); funds.MoveNext())
        rows.append({FieldText(funds.Field(QStringLiteral("FundName"))),
                     RoundCents(FieldDouble(funds.Field(QStringLiteral("TotalAmount"))))});

    Recordset total(QStringLiteral("SELECT Sum(Amount) AS Total FROM Offering WHERE (CollectionID = ") + K
                        + QStringLiteral(");"),
                    DB());
    if (!total.Eof())
        rows.append({QStringLiteral("Total Amount Collected"), RoundCents(FieldDouble(total.Field(QStringLiteral("Total")))),
                     true});
    return rows;
}

} // namespace CollectionTotals

namespace modGlobal {

double Pledged_Share(int fundID, int contributorID, int collectionID, double amount, const QDate& collectionDate)
{
    const QString d = modDBConnection::DateLiteral(collectionDate);
    const QString k = QString::number(collectionID);
    Recordset paidRs(QStringLiteral("SELECT Sum(Offering.Amount) AS AmountPaid FROM Offering LEFT JOIN Collection ON "
                                    "Offering.CollectionID = Collection.ID WHERE ((Offering.ContributorID = ")
                         + QString::number(contributorID) + QStringLiteral(") AND (Offering.FundID = ")
                         + QString::number(fundID) + QStringLiteral(") AND (Collection.ID <> ") + k
                         + QStringLiteral(") AND ((Collection.CollectionDate < ") + d
                         + QStringLiteral(") OR ((Collection.CollectionDate = ") + d + QStringLiteral(") AND (Collection.ID < ")
                         + k + QStringLiteral("))));"),
                     DB(), Recordset::Cursor::ForwardOnly);
    const double paid = paidRs.Eof() ? 0.0 : FieldDouble(paidRs.Field(QStringLiteral("AmountPaid")));
    Recordset pledgeRs(QStringLiteral("SELECT Amount FROM Pledges WHERE ((ContributorID = ") + QString::number(contributorID)
                           + QStringLiteral(") AND (FundID = ") + QString::number(fundID) + QStringLiteral("));"),
                       DB(), Recordset::Cursor::ForwardOnly);
    const double pledge = pledgeRs.Eof() ? 0.0 : FieldDouble(pledgeRs.Field(QStringLiteral("Amount")));
    const double remaining = std::max(0.0, pledge - paid);
    return amount < remaining ? amount : remaining;
}

} // namespace modGlobal
