#include "TrendTables.h"

#include "PledgeStatusTables.h"
#include "shell/Helpers.h"
#include "shell/modGlobal.h"
#include "storage/Recordset.h"
#include "storage/clsFunds.h"
#include "storage/modDBConnection.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <array>
#include <map>

using namespace modGlobal;
using Type = ReportTable::Type;

namespace Trends {

namespace {
constexpr int kLoose = 1; // the loose offering's contributor reference
constexpr int kWeeks = 53;

QString Lit(const QDate& d)
{
    return modDBConnection::DateLiteral(d);
}

QDate First_Day(int year)
{
    return QDate(year, 1, 1);
}

QDate Last_Day(int year)
{
    return QDate(year, 12, 31);
}

// The fund standing for "the same fund" in another year: each year's own
// main fund, any other fund itself.
int Fund_In(int fundID, int fundYear, int year)
{
    return fundID == -fundYear ? -year : fundID;
}

// The collection sets of one year: the latest date of each week that has
// one, and the last week and month with a set (0 without any), where the
// series of a year in progress stop.
struct YearSets {
    int year = 0;
    QDate weekDate[kWeeks + 1];
    int lastWeek = 0, lastMonth = 0;

    QDate Week_Date(int week) const
    {
        return weekDate[week].isValid() ? weekDate[week] : First_Day(year).addDays(7 * (week - 1));
    }
};

YearSets Read_Sets(int year)
{
    YearSets s;
    s.year = year;
    Recordset rs(QStringLiteral("SELECT CollectionDate FROM Collection WHERE CollectionDate >= ") + Lit(First_Day(year))
                     + QStringLiteral(" AND CollectionDate <= ") + Lit(Last_Day(year)) + QStringLiteral(";"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const QDate d = FieldDate(rs.Field(0));
        const int w = Week_Of(d);
        if (!s.weekDate[w].isValid() || d > s.weekDate[w])
            s.weekDate[w] = d;
        s.lastWeek = std::max(s.lastWeek, w);
        s.lastMonth = std::max(s.lastMonth, d.month());
    }
    return s;
}

// What the contributors and the loose offering gave to one fund in each
// week of one year, read as the weekly report's fund totals add them up: the
// sum of the set's gifts, corrections included.
struct WeekSums {
    double gifts[kWeeks + 1] = {};
    double loose[kWeeks + 1] = {};
};

WeekSums Read_Week_Sums(int year, int fundID)
{
    WeekSums s;
    Recordset rs(QStringLiteral("SELECT Collection.CollectionDate, Offering.ContributorID = ") + QString::number(kLoose)
                     + QStringLiteral(" AS Loose, Sum(Offering.Amount) FROM Offering INNER JOIN Collection ON "
                                      "Offering.CollectionID = Collection.ID WHERE Offering.FundID = ")
                     + QString::number(fundID) + QStringLiteral(" AND Collection.CollectionDate >= ") + Lit(First_Day(year))
                     + QStringLiteral(" AND Collection.CollectionDate <= ") + Lit(Last_Day(year))
                     + QStringLiteral(" GROUP BY Collection.ID, Loose;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int w = Week_Of(FieldDate(rs.Field(0)));
        (FieldLong(rs.Field(1)) ? s.loose : s.gifts)[w] += FieldDouble(rs.Field(2));
    }
    return s;
}

Series Weekly_Series(const QString& name, const YearSets& sets, const double* perWeek, bool running)
{
    Series s;
    s.name = name;
    s.group = QString::number(sets.year);
    s.secondAxis = running;
    double total = 0;
    for (int w = 1; w <= sets.lastWeek; ++w) {
        total += perWeek[w];
        s.dates << sets.Week_Date(w);
        s.values << RoundCents(running ? total : perWeek[w]);
    }
    return s;
}

QStringList Week_Categories()
{
    QStringList c;
    for (int w = 1; w <= kWeeks; ++w)
        c << QString::number(w);
    return c;
}

QStringList Month_Categories()
{
    QStringList c;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (int m = 1; m <= 12; ++m)
        c << english.monthName(m, QLocale::ShortFormat);
    return c;
}

QDate Month_Date(int year, int month)
{
    return QDate(year, month, 1);
}

Chart Weekly_Chart(const Charts& c, const YearSets& now, const YearSets& before, int fundBefore)
{
    Chart chart;
    chart.name = QStringLiteral("weekly");
    chart.title = fundBefore == c.fundID
        ? QStringLiteral("%1: weekly, %2 against %3").arg(c.fundName).arg(now.year).arg(before.year)
        : QStringLiteral("%1: weekly, against %2").arg(c.fundName).arg(before.year);
    chart.category = QStringLiteral("Week");
    chart.categories = Week_Categories();
    const WeekSums a = Read_Week_Sums(now.year, c.fundID), b = Read_Week_Sums(before.year, fundBefore);
    // The running totals hold everything given to the fund, loose offering
    // included, so that their last point is the year's total.
    WeekSums allA = a, allB = b;
    for (int w = 1; w <= kWeeks; ++w) {
        allA.gifts[w] += a.loose[w];
        allB.gifts[w] += b.loose[w];
    }
    const QString y = QString::number(now.year), x = QString::number(before.year);
    chart.series << Weekly_Series(y + QStringLiteral(" contributors"), now, a.gifts, false)
                 << Weekly_Series(y + QStringLiteral(" loose offering"), now, a.loose, false)
                 << Weekly_Series(y + QStringLiteral(" to date, all gifts"), now, allA.gifts, true)
                 << Weekly_Series(x + QStringLiteral(" contributors"), before, b.gifts, false)
                 << Weekly_Series(x + QStringLiteral(" loose offering"), before, b.loose, false)
                 << Weekly_Series(x + QStringLiteral(" to date, all gifts"), before, allB.gifts, true);
    return chart;
}

// What was paid towards the pledges to the fund by the end of each week,
// as the pledge status report for January 1 to that day counts it: each
// pledge less what remains of it, gifts of every earlier year included
// (pre-paid), corrections included.
Chart Pledge_Chart(const Charts& c, const YearSets& now)
{
    Chart chart;
    chart.name = QStringLiteral("pledges");
    chart.title = QStringLiteral("%1: pledged and paid").arg(c.fundName);
    chart.category = QStringLiteral("Week");
    chart.categories = Week_Categories();
    const QString fund = QString::number(c.fundID);

    // The pledges as the pledge status report reads them: the first one of
    // each contributor, those of nothing left out.
    QHash<qint64, double> pledge;
    double pledged = 0;
    Recordset pledges(QStringLiteral("SELECT Contributors.ID, (SELECT Amount FROM Pledges WHERE Contributors.ID = "
                                     "Pledges.ContributorID AND FundID = ")
                          + fund + QStringLiteral(") AS Amount FROM Contributors;"),
                      DB(), Recordset::Cursor::ForwardOnly);
    for (; !pledges.Eof(); pledges.MoveNext()) {
        const double amount = FieldDouble(pledges.Field(1));
        if (!AmountIsZero(amount)) {
            pledge.insert(FieldLong(pledges.Field(0)), amount);
            pledged += amount;
        }
    }

    // Each week moves only the pledges of those who gave in it.
    double towardsByWeek[kWeeks + 1] = {};
    double towards = 0;
    QHash<qint64, double> paid;
    Recordset rs(QStringLiteral("SELECT Collection.CollectionDate, Offering.ContributorID, Offering.Amount FROM Offering "
                                "INNER JOIN Collection ON Offering.CollectionID = Collection.ID WHERE Offering.FundID = ")
                     + fund + QStringLiteral(" AND Collection.CollectionDate <= ") + Lit(Last_Day(now.year))
                     + QStringLiteral(" ORDER BY Collection.CollectionDate;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    int week = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const auto it = pledge.constFind(FieldLong(rs.Field(1)));
        if (it == pledge.constEnd())
            continue;
        const QDate d = FieldDate(rs.Field(0));
        const int w = d.year() < now.year ? 0 : Week_Of(d);
        for (; week < w; ++week)
            towardsByWeek[week] = towards;
        double& p = paid[it.key()];
        const double before = it.value() - PledgeStatus::Remaining(it.value(), p);
        p += FieldDouble(rs.Field(2));
        towards += (it.value() - PledgeStatus::Remaining(it.value(), p)) - before;
    }
    for (; week <= kWeeks; ++week)
        towardsByWeek[week] = towards;

    Series total, paidSeries;
    total.name = QStringLiteral("Pledged");
    paidSeries.name = QStringLiteral("Paid towards the pledges");
    total.group = paidSeries.group = QString::number(now.year);
    for (int w = 1; w <= now.lastWeek; ++w) {
        for (Series* s : {&total, &paidSeries})
            s->dates << now.Week_Date(w);
        total.values << RoundCents(pledged);
        paidSeries.values << RoundCents(towardsByWeek[w]);
    }
    chart.series << total << paidSeries;
    return chart;
}

// Every fund's gifts month by month, the loose offering apart.
Chart Fund_Chart(const Charts& c, const YearSets& now)
{
    Chart chart;
    chart.name = QStringLiteral("funds");
    chart.title = QStringLiteral("Giving by fund, %1").arg(now.year);
    chart.category = QStringLiteral("Month");
    chart.categories = Month_Categories();
    std::map<int, std::array<double, 13>> byFund; // fund reference -> month
    std::array<double, 13> loose{};
    Recordset rs(QStringLiteral("SELECT Offering.FundID, Offering.ContributorID = ") + QString::number(kLoose)
                     + QStringLiteral(" AS Loose, substr(Collection.CollectionDate, 6, 2) AS Month, Sum(Offering.Amount)"
                                      " FROM Offering INNER JOIN Collection ON Offering.CollectionID = Collection.ID"
                                      " WHERE Collection.CollectionDate >= ")
                     + Lit(First_Day(now.year)) + QStringLiteral(" AND Collection.CollectionDate <= ")
                     + Lit(Last_Day(now.year)) + QStringLiteral(" GROUP BY Offering.FundID, Loose, Month;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int month = FieldText(rs.Field(2)).toInt();
        if (month < 1 || month > 12)
            continue;
        const double amount = FieldDouble(rs.Field(3));
        if (FieldLong(rs.Field(1)))
            loose[size_t(month)] += amount;
        else
            byFund.try_emplace(FieldLong(rs.Field(0))).first->second[size_t(month)] += amount;
    }
    auto series = [&](const QString& name, const std::array<double, 13>& months) {
        Series s;
        s.name = name;
        s.group = QString::number(now.year);
        for (int m = 1; m <= now.lastMonth; ++m) {
            s.dates << Month_Date(now.year, m);
            s.values << RoundCents(months[size_t(m)]);
        }
        return s;
    };
    // The year's own main fund first, other years' main funds newest first,
    // then the funds by name.
    QList<std::pair<QString, int>> order;
    for (const auto& [fund, months] : byFund)
        order.push_back({fund < 0 ? QString() : Fund_Display_Name(fund).toLower(), fund});
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        const int ra = a.second == -now.year ? 0 : a.second < 0 ? 1 : 2;
        const int rb = b.second == -now.year ? 0 : b.second < 0 ? 1 : 2;
        if (ra != rb)
            return ra < rb;
        return ra == 1 ? a.second < b.second : a.first < b.first;
    });
    for (const auto& [key, fund] : order)
        chart.series << series(Fund_Display_Name(fund), byFund[fund]);
    chart.series << series(QStringLiteral("Loose Offering"), loose);
    (void)c;
    return chart;
}

// The contributors whose gifts to the fund in a month come to more than
// nothing: a gift taken back in full by a correction is no gift.
Series Giver_Series(const YearSets& sets, int fundID)
{
    int count[13] = {};
    Recordset rs(QStringLiteral("SELECT Month, Count(*) FROM (SELECT substr(Collection.CollectionDate, 6, 2) AS Month, "
                                "Offering.ContributorID, Sum(Offering.Amount) AS Given FROM Offering INNER JOIN "
                                "Collection ON Offering.CollectionID = Collection.ID WHERE Offering.FundID = ")
                     + QString::number(fundID) + QStringLiteral(" AND Offering.ContributorID <> ")
                     + QString::number(kLoose) + QStringLiteral(" AND Collection.CollectionDate >= ")
                     + Lit(First_Day(sets.year)) + QStringLiteral(" AND Collection.CollectionDate <= ")
                     + Lit(Last_Day(sets.year))
                     + QStringLiteral(" GROUP BY Month, Offering.ContributorID HAVING Round(Sum(Offering.Amount), 2) > 0)"
                                      " GROUP BY Month;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int month = FieldText(rs.Field(0)).toInt();
        if (month >= 1 && month <= 12)
            count[month] = FieldLong(rs.Field(1));
    }
    Series s;
    s.name = QString::number(sets.year);
    s.group = s.name;
    for (int m = 1; m <= sets.lastMonth; ++m) {
        s.dates << Month_Date(sets.year, m);
        s.values << count[m];
    }
    return s;
}

Chart Giver_Chart(const Charts& c, const YearSets& now, const YearSets& before, int fundBefore)
{
    Chart chart;
    chart.name = QStringLiteral("contributors");
    chart.title = QStringLiteral("%1: givers by month").arg(c.fundName);
    chart.category = QStringLiteral("Month");
    chart.categories = Month_Categories();
    chart.counts = true;
    chart.series << Giver_Series(now, c.fundID) << Giver_Series(before, fundBefore);
    return chart;
}
} // namespace

int Week_Of(const QDate& d)
{
    return (d.dayOfYear() - 1) / 7 + 1;
}

QList<FundItem> Fund_List(int year)
{
    QList<FundItem> items{{Fund_Display_Name(-year), -year}};
    Recordset funds(QStringLiteral("SELECT ID, FundName FROM Funds WHERE ID > 1 ORDER BY FundName;"), DB(),
                    Recordset::Cursor::ForwardOnly);
    for (; !funds.Eof(); funds.MoveNext())
        items.push_back({FieldText(funds.Field(1)), FieldLong(funds.Field(0))});
    return items;
}

QList<int> Year_List(int processingYear)
{
    QList<int> years{processingYear};
    Recordset rs(QStringLiteral("SELECT DISTINCT substr(CollectionDate, 1, 4) FROM Collection;"), DB(),
                 Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        if (const int y = FieldText(rs.Field(0)).toInt(); y > 0 && !years.contains(y))
            years << y;
    std::sort(years.begin(), years.end(), std::greater<int>());
    return years;
}

Charts Build(int year, int fundID)
{
    Charts c;
    c.year = year;
    c.fundID = fundID == 0 ? -year : fundID;
    c.fundName = Fund_Display_Name(c.fundID);
    const YearSets now = Read_Sets(year), before = Read_Sets(year - 1);
    const int fundBefore = Fund_In(c.fundID, year, year - 1);
    c.weekly = Weekly_Chart(c, now, before, fundBefore);
    c.pledges = Pledge_Chart(c, now);
    c.funds = Fund_Chart(c, now);
    c.contributors = Giver_Chart(c, now, before, fundBefore);
    return c;
}

ReportTable Table(const Chart& chart)
{
    ReportTable t(chart.name);
    t.AppendField(chart.category, Type::Text, 20);
    QStringList dateColumn; // per series: its date column, or "" when it shares the one before
    QString group = QStringLiteral("\x01");
    for (const Series& s : chart.series) {
        if (s.group != group) {
            group = s.group;
            const QString name = QStringLiteral("Date ") + s.group;
            t.AppendField(name, Type::Date);
            dateColumn << name;
        } else {
            dateColumn << QString();
        }
        t.AppendField(s.name, chart.counts ? Type::Long : Type::Double);
    }
    for (int i = 0; i < chart.categories.size(); ++i) {
        t.AddNew();
        t.Set(chart.category, chart.categories[i]);
        for (int k = 0; k < chart.series.size(); ++k) {
            const Series& s = chart.series[k];
            if (i >= s.values.size())
                continue;
            if (!dateColumn[k].isEmpty())
                t.Set(dateColumn[k], s.dates[i]);
            t.Set(s.name, chart.counts ? QVariant(qint64(s.values[i])) : QVariant(s.values[i]));
        }
    }
    return t;
}

} // namespace Trends
