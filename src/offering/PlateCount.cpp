#include "PlateCount.h"

#include "core/Helpers.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsCollection.h"
#include "core/modDBConnection.h"

using namespace modGlobal;
using modDBConnection::TextLiteral;

namespace PlateCount {

namespace {
const char* const kBillFields[7] = {"Bills100", "Bills50", "Bills20", "Bills10", "Bills5", "Bills2", "Bills1"};
const char* const kCoinFields[5] = {"CoinDollars", "Quarters", "Dimes", "Nickels", "Pennies"};

qint64 Field64(const QVariant& v)
{
    return v.isValid() && !v.isNull() ? v.toLongLong() : 0;
}

void Tables_Ready()
{
    // Making the collection table ready makes the count's tables ready too.
    clsCollection();
}
} // namespace

const std::array<Denomination, 7>& Currency()
{
    static const std::array<Denomination, 7> d{{{QStringLiteral("$100"), 10000},
                                                 {QStringLiteral("$50"), 5000},
                                                 {QStringLiteral("$20"), 2000},
                                                 {QStringLiteral("$10"), 1000},
                                                 {QStringLiteral("$5"), 500},
                                                 {QStringLiteral("$2"), 200},
                                                 {QStringLiteral("$1"), 100}}};
    return d;
}

const std::array<Denomination, 5>& Coins()
{
    static const std::array<Denomination, 5> d{{{QStringLiteral("Dollar coins"), 100},
                                                 {QStringLiteral("Quarters"), 25},
                                                 {QStringLiteral("Dimes"), 10},
                                                 {QStringLiteral("Nickels"), 5},
                                                 {QStringLiteral("Pennies"), 1}}};
    return d;
}

qint64 Count::CurrencyCents() const
{
    qint64 sum = 0;
    for (size_t i = 0; i < bills.size(); ++i)
        sum += bills[i] * Currency()[i].cents;
    return sum;
}

qint64 Count::CoinCents() const
{
    qint64 sum = rolledCents;
    for (size_t i = 0; i < coins.size(); ++i)
        sum += coins[i] * Coins()[i].cents;
    return sum;
}

qint64 Count::CheckCents() const
{
    qint64 sum = 0;
    for (const CheckLine& c : checks)
        sum += c.cents;
    return sum;
}

int Count::CheckCount() const
{
    int n = 0;
    for (const CheckLine& c : checks)
        n += c.cents != 0 ? 1 : 0;
    return n;
}

bool Count::IsEmpty() const
{
    for (qint64 b : bills)
        if (b != 0)
            return false;
    for (qint64 c : coins)
        if (c != 0)
            return false;
    return rolledCents == 0 && CheckCount() == 0;
}

bool Parse_Cents(const QString& text, qint64* cents)
{
    // The forms are those every amount box takes; the digits are then read
    // as text, so that no amount passes through a binary fraction.
    if (!ParseNumber(text, nullptr))
        return false;
    QString s = text.trimmed();
    const bool negative = s.startsWith(QLatin1Char('(')) || s.startsWith(QLatin1Char('-'))
        || s.startsWith(QStringLiteral("$-"));
    QString digits;
    for (const QChar c : s)
        if (c.isDigit() || c == QLatin1Char('.'))
            digits += c;
    const int dot = int(digits.indexOf(QLatin1Char('.')));
    const QString whole = dot < 0 ? digits : digits.left(dot);
    const QString frac = dot < 0 ? QString() : digits.mid(dot + 1);
    qint64 v = whole.isEmpty() ? 0 : whole.toLongLong() * 100;
    v += QString(frac + QStringLiteral("00")).left(2).toLongLong();
    if (frac.size() > 2 && frac.at(2) >= QLatin1Char('5'))
        v += 1;
    *cents = negative ? -v : v;
    return true;
}

QString Format_Cents(qint64 cents)
{
    const qint64 whole = (cents < 0 ? -cents : cents) / 100;
    const int frac = int((cents < 0 ? -cents : cents) % 100);
    QString digits = QString::number(whole);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    const QString body = QLatin1Char('$') + digits + QLatin1Char('.') + QString::number(frac).rightJustified(2, QLatin1Char('0'));
    return cents < 0 ? QLatin1Char('(') + body + QLatin1Char(')') : body;
}

qint64 Entered_Cents(int collectionID)
{
    // Each gift rounded to its cents before they are added, as the Totals
    // tab shows them.
    Recordset rs(QStringLiteral("SELECT Sum(CAST(ROUND(Amount * 100) AS INTEGER)) AS Cents FROM Offering WHERE CollectionID = ")
                     + QString::number(collectionID) + QLatin1Char(';'),
                 DB(), Recordset::Cursor::ForwardOnly);
    return rs.Eof() ? 0 : Field64(rs.Field(QStringLiteral("Cents")));
}

bool Must_Ask(const Count& c, qint64 enteredCents)
{
    if (c.IsEmpty())
        return false;
    const qint64 d = Difference(c, enteredCents);
    return d != 0 && !(c.keptDifference && c.keptCents == d);
}

Count Load(int collectionID)
{
    Tables_Ready();
    Count c;
    const QString k = QString::number(collectionID);
    Recordset rs(QStringLiteral("SELECT * FROM CollectionCount WHERE CollectionID = ") + k + QLatin1Char(';'), DB(),
                 Recordset::Cursor::ForwardOnly);
    if (!rs.Eof()) {
        for (size_t i = 0; i < c.bills.size(); ++i)
            c.bills[i] = Field64(rs.Field(QLatin1String(kBillFields[i])));
        for (size_t i = 0; i < c.coins.size(); ++i)
            c.coins[i] = Field64(rs.Field(QLatin1String(kCoinFields[i])));
        c.rolledCents = Field64(rs.Field(QStringLiteral("RolledCents")));
        c.counter1 = FieldText(rs.Field(QStringLiteral("Counter1")));
        c.counter2 = FieldText(rs.Field(QStringLiteral("Counter2")));
        c.countedAt = QDateTime::fromString(FieldText(rs.Field(QStringLiteral("CountedAt"))), Qt::ISODate);
        const QVariant kept = rs.Field(QStringLiteral("KeptDifference"));
        c.keptDifference = kept.isValid() && !kept.isNull();
        c.keptCents = Field64(kept);
    }
    Recordset checks(QStringLiteral("SELECT CheckNumber, Cents, ContributorID FROM CollectionChecks WHERE CollectionID = ")
                         + k + QStringLiteral(" ORDER BY Line;"),
                     DB(), Recordset::Cursor::ForwardOnly);
    for (; !checks.Eof(); checks.MoveNext())
        c.checks.append({FieldText(checks.Field(0)), Field64(checks.Field(1)), FieldLong(checks.Field(2))});
    return c;
}

void Save(int collectionID, const Count& c)
{
    Tables_Ready();
    const QString k = QString::number(collectionID);
    Connection::Transaction tx(DB());
    DB().Execute(QStringLiteral("DELETE FROM CollectionChecks WHERE CollectionID = ") + k + QLatin1Char(';'));
    QStringList names{QStringLiteral("CollectionID")}, values{k};
    for (size_t i = 0; i < c.bills.size(); ++i) {
        names << QLatin1String(kBillFields[i]);
        values << QString::number(c.bills[i]);
    }
    for (size_t i = 0; i < c.coins.size(); ++i) {
        names << QLatin1String(kCoinFields[i]);
        values << QString::number(c.coins[i]);
    }
    names << QStringLiteral("RolledCents") << QStringLiteral("Counter1") << QStringLiteral("Counter2")
          << QStringLiteral("CountedAt") << QStringLiteral("KeptDifference");
    values << QString::number(c.rolledCents) << TextLiteral(CutText(CleanText(c.counter1), 40))
           << TextLiteral(CutText(CleanText(c.counter2), 40))
           << (c.countedAt.isValid() ? TextLiteral(c.countedAt.toString(Qt::ISODate)) : QStringLiteral("NULL"))
           << (c.keptDifference ? QString::number(c.keptCents) : QStringLiteral("NULL"));
    DB().Execute(QStringLiteral("INSERT OR REPLACE INTO CollectionCount (") + names.join(QStringLiteral(", "))
                 + QStringLiteral(") VALUES (") + values.join(QStringLiteral(", ")) + QStringLiteral(");"));
    Recordset next(QStringLiteral("SELECT Max(ID) AS Last FROM CollectionChecks;"), DB(), Recordset::Cursor::ForwardOnly);
    qint64 id = next.Eof() ? 0 : Field64(next.Field(0));
    next.Close();
    int line = 0;
    for (const CheckLine& check : c.checks) {
        // A line left blank is no check.
        if (check.cents == 0 && check.number.trimmed().isEmpty())
            continue;
        DB().Execute(QStringLiteral("INSERT INTO CollectionChecks (ID, CollectionID, Line, CheckNumber, Cents, ContributorID) "
                                    "VALUES (")
                     + QString::number(++id) + QStringLiteral(", ") + k + QStringLiteral(", ") + QString::number(++line)
                     + QStringLiteral(", ") + TextLiteral(CutText(CleanText(check.number.trimmed()), 20))
                     + QStringLiteral(", ") + QString::number(check.cents) + QStringLiteral(", ")
                     + (check.contributorID > 0 ? QString::number(check.contributorID) : QStringLiteral("NULL"))
                     + QStringLiteral(");"));
    }
    // The collection report shows the count beside the books.
    Notify(dbCollection, false, true, false, collectionID, 0);
    tx.Commit();
}

QString Bank_Line()
{
    Tables_Ready();
    Recordset rs(QStringLiteral("SELECT AccountLine FROM ChurchBank WHERE ID = 1;"), DB(), Recordset::Cursor::ForwardOnly);
    return rs.Eof() ? QString() : FieldText(rs.Field(0));
}

void Save_Bank_Line(const QString& line)
{
    Tables_Ready();
    Connection::Transaction tx(DB());
    DB().Execute(QStringLiteral("INSERT OR REPLACE INTO ChurchBank (ID, AccountLine) VALUES (1, ")
                 + TextLiteral(CutText(CleanText(line.trimmed()), 80)) + QStringLiteral(");"));
    tx.Commit();
}

} // namespace PlateCount
