#include "TrendTables.h"

#include "PledgeStatusTables.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

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

// Everything the four charts need, gathered in one reading of each year's
// gifts rather than one query per chart: the weekly sums of the fund, the
// month's sums of every fund, each giver's month, and the pledge payments.
struct Gathered {
    // Weekly sums of the fund (this year) and of its counterpart (the year before).
    double gifts[2][kWeeks + 1] = {};
    double loose[2][kWeeks + 1] = {};
    // Every fund's gifts by month of this year, the loose offering apart.
    std::map<int, std::array<double, 13>> byFund;
    std::array<double, 13> looseByMonth{};
    // A giver's gifts to the fund in a month: (month, contributor) -> sum.
    QHash<quint64, double> given[2];
    // Pledges of the fund and what was paid towards them by the end of each week.
    QHash<qint64, double> pledge, paid;
    double towards = 0;
    double towardsByWeek[kWeeks + 1] = {};
    int week = 0;

    // A gift to the pledged fund, in date order: its giver's pledge moves by
    // what the pledge status report would count of it.
    void Pay(const QDate& d, int year, qint64 contributor, double amount)
    {
        const auto it = pledge.constFind(contributor);
        if (it == pledge.constEnd())
            return;
        const int w = d.year() < year ? 0 : Week_Of(d);
        for (; week < w; ++week)
            towardsByWeek[week] = towards;
        double& p = paid[contributor];
        const double before = it.value() - PledgeStatus::Remaining(it.value(), p);
        p += amount;
        towards += (it.value() - PledgeStatus::Remaining(it.value(), p)) - before;
    }

    // A gift to the fund (this year: 0) or its counterpart (the year before: 1).
    void Count(int which, const QDate& d, qint64 contributor, double amount)
    {
        const int w = Week_Of(d);
        if (contributor == kLoose) {
            loose[which][w] += amount;
        } else {
            gifts[which][w] += amount;
            given[which][(quint64(d.month()) << 40) | quint64(contributor)] += amount;
        }
    }
};

// The set rather than its date is read with each gift: a date read as text
// for every one of a year's gifts would cost more than the rest together.
const QString kGiftColumns = QStringLiteral("SELECT Offering.CollectionID, Offering.FundID, Offering.ContributorID, "
                                            "Offering.Amount FROM Collection INNER JOIN Offering ON "
                                            "Offering.CollectionID = Collection.ID WHERE ");

Gathered Gather(int year, int fund, int fundBefore)
{
    Gathered g;
    QHash<int, QDate> setDate;
    Recordset sets(QStringLiteral("SELECT ID, CollectionDate FROM Collection WHERE CollectionDate <= ") + Lit(Last_Day(year))
                       + QLatin1Char(';'),
                   DB(), Recordset::Cursor::ForwardOnly);
    for (; !sets.Eof(); sets.MoveNext())
        setDate.insert(FieldLong(sets.Field(0)), FieldDate(sets.Field(1)));
    // The pledges as the pledge status report reads them: the first one of
    // each contributor, those of nothing left out.
    Recordset pledges(QStringLiteral("SELECT Contributors.ID, (SELECT Amount FROM Pledges WHERE Contributors.ID = "
                                     "Pledges.ContributorID AND FundID = ")
                          + QString::number(fund) + QStringLiteral(") AS Amount FROM Contributors;"),
                      DB(), Recordset::Cursor::ForwardOnly);
    for (; !pledges.Eof(); pledges.MoveNext())
        if (const double amount = FieldDouble(pledges.Field(1)); !AmountIsZero(amount))
            g.pledge.insert(FieldLong(pledges.Field(0)), amount);

    // The fund's gifts before the year: paid towards its pledges already
    // (pre-paid), and the year before's weekly gifts when the fund is the same.
    const QDate yearBefore = First_Day(year - 1);
    const auto fundGifts = [](int fundID, const QString& setsWhere) {
        return QStringLiteral("SELECT CollectionID, FundID, ContributorID, Amount FROM Offering WHERE FundID = ")
            + QString::number(fundID) + QStringLiteral(" AND CollectionID IN (SELECT ID FROM Collection WHERE ")
            + setsWhere + QStringLiteral(");");
    };
    // A pledge's payments before the year only add up, so their order does
    // not matter, and the fund's index finds them set by set.
    Recordset early(fundGifts(fund, QStringLiteral("CollectionDate < ") + Lit(First_Day(year))), DB(),
                    Recordset::Cursor::ForwardOnly);
    for (; !early.Eof(); early.MoveNext()) {
        const QDate d = setDate.value(FieldLong(early.Field(0)));
        const qint64 who = FieldLong(early.Field(2));
        const double amount = FieldDouble(early.Field(3));
        g.Pay(d, year, who, amount);
        if (fundBefore == fund && d >= yearBefore)
            g.Count(1, d, who, amount);
    }
    if (fundBefore != fund) {
        Recordset before(fundGifts(fundBefore, QStringLiteral("CollectionDate >= ") + Lit(yearBefore)
                                                   + QStringLiteral(" AND CollectionDate <= ") + Lit(Last_Day(year - 1))),
                         DB(), Recordset::Cursor::ForwardOnly);
        for (; !before.Eof(); before.MoveNext())
            g.Count(1, setDate.value(FieldLong(before.Field(0))), FieldLong(before.Field(2)), FieldDouble(before.Field(3)));
    }

    // Every gift of the year, in date order.
    Recordset all(kGiftColumns + QStringLiteral("Collection.CollectionDate >= ") + Lit(First_Day(year))
                      + QStringLiteral(" AND Collection.CollectionDate <= ") + Lit(Last_Day(year))
                      + QStringLiteral(" ORDER BY Collection.CollectionDate;"),
                  DB(), Recordset::Cursor::ForwardOnly);
    for (; !all.Eof(); all.MoveNext()) {
        const QDate d = setDate.value(FieldLong(all.Field(0)));
        const int f = FieldLong(all.Field(1));
        const qint64 who = FieldLong(all.Field(2));
        const double amount = FieldDouble(all.Field(3));
        if (who == kLoose)
            g.looseByMonth[size_t(d.month())] += amount;
        else
            g.byFund.try_emplace(f).first->second[size_t(d.month())] += amount;
        if (f == fund) {
            g.Pay(d, year, who, amount);
            g.Count(0, d, who, amount);
        }
    }
    for (; g.week <= kWeeks; ++g.week)
        g.towardsByWeek[g.week] = g.towards;
    return g;
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

Chart Weekly_Chart(const Charts& c, const Gathered& g, const YearSets& now, const YearSets& before, int fundBefore)
{
    Chart chart;
    chart.name = QStringLiteral("weekly");
    chart.title = fundBefore == c.fundID
        ? QStringLiteral("%1: weekly, %2 against %3").arg(c.fundName).arg(now.year).arg(before.year)
        : QStringLiteral("%1: weekly, against %2").arg(c.fundName).arg(before.year);
    chart.category = QStringLiteral("Week");
    chart.categories = Week_Categories();
    // The running totals hold everything given to the fund, loose offering
    // included, so that their last point is the year's total.
    double all[2][kWeeks + 1] = {};
    for (int k = 0; k < 2; ++k)
        for (int w = 1; w <= kWeeks; ++w)
            all[k][w] = g.gifts[k][w] + g.loose[k][w];
    const QString y = QString::number(now.year), x = QString::number(before.year);
    chart.series << Weekly_Series(y + QStringLiteral(" gifts"), now, g.gifts[0], false)
                 << Weekly_Series(y + QStringLiteral(" loose"), now, g.loose[0], false)
                 << Weekly_Series(y + QStringLiteral(" to date"), now, all[0], true)
                 << Weekly_Series(x + QStringLiteral(" gifts"), before, g.gifts[1], false)
                 << Weekly_Series(x + QStringLiteral(" loose"), before, g.loose[1], false)
                 << Weekly_Series(x + QStringLiteral(" to date"), before, all[1], true);
    return chart;
}

// What was paid towards the pledges to the fund by the end of each week,
// as the pledge status report for January 1 to that day counts it: each
// pledge less what remains of it, gifts of every earlier year included
// (pre-paid), corrections included.
Chart Pledge_Chart(const Charts& c, const Gathered& g, const YearSets& now)
{
    Chart chart;
    chart.name = QStringLiteral("pledges");
    chart.title = QStringLiteral("%1: pledged and paid").arg(c.fundName);
    chart.category = QStringLiteral("Week");
    chart.categories = Week_Categories();
    double pledged = 0;
    for (double p : g.pledge)
        pledged += p;
    Series total, paid;
    total.name = QStringLiteral("Pledged");
    paid.name = QStringLiteral("Paid towards the pledges");
    total.group = paid.group = QString::number(now.year);
    for (int w = 1; w <= now.lastWeek; ++w) {
        for (Series* s : {&total, &paid})
            s->dates << now.Week_Date(w);
        total.values << RoundCents(pledged);
        paid.values << RoundCents(g.towardsByWeek[w]);
    }
    chart.series << total << paid;
    return chart;
}

// Every fund's gifts month by month, the loose offering apart.
Chart Fund_Chart(const Gathered& g, const YearSets& now)
{
    Chart chart;
    chart.name = QStringLiteral("funds");
    chart.title = QStringLiteral("Giving by fund, %1").arg(now.year);
    chart.category = QStringLiteral("Month");
    chart.categories = Month_Categories();
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
    for (const auto& [fund, months] : g.byFund)
        order.push_back({fund < 0 ? QString() : Fund_Display_Name(fund).toLower(), fund});
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        const int ra = a.second == -now.year ? 0 : a.second < 0 ? 1 : 2;
        const int rb = b.second == -now.year ? 0 : b.second < 0 ? 1 : 2;
        if (ra != rb)
            return ra < rb;
        return ra == 1 ? a.second < b.second : a.first < b.first;
    });
    for (const auto& [key, fund] : order)
        chart.series << series(Fund_Display_Name(fund), g.byFund.at(fund));
    chart.series << series(QStringLiteral("Loose Offering"), g.looseByMonth);
    return chart;
}

// The contributors whose gifts to the fund in a month come to more than
// nothing: a gift taken back in full by a correction is no gift.
Series Giver_Series(const YearSets& sets, const QHash<quint64, double>& given)
{
    int count[13] = {};
    for (auto it = given.constBegin(); it != given.constEnd(); ++it)
        if (RoundCents(it.value()) > 0)
            ++count[it.key() >> 40];
    Series s;
    s.name = QString::number(sets.year);
    s.group = s.name;
    for (int m = 1; m <= sets.lastMonth; ++m) {
        s.dates << Month_Date(sets.year, m);
        s.values << count[m];
    }
    return s;
}

Chart Giver_Chart(const Charts& c, const Gathered& g, const YearSets& now, const YearSets& before)
{
    Chart chart;
    chart.name = QStringLiteral("contributors");
    chart.title = QStringLiteral("%1: givers by month").arg(c.fundName);
    chart.category = QStringLiteral("Month");
    chart.categories = Month_Categories();
    chart.counts = true;
    chart.series << Giver_Series(now, g.given[0]) << Giver_Series(before, g.given[1]);
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
    const Gathered g = Gather(year, c.fundID, fundBefore);
    c.weekly = Weekly_Chart(c, g, now, before, fundBefore);
    c.pledges = Pledge_Chart(c, g, now);
    c.funds = Fund_Chart(g, now);
    c.contributors = Giver_Chart(c, g, now, before);
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
