#include "PledgeGrid.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"

#include <QHash>
#include <cmath>

using namespace modGlobal;
using modDBConnection::BoolLiteral;

namespace PledgeGrid {

namespace {

QString MainFundItem(int year)
{
    return QString::number(year) + QLatin1Char(' ') + MainFundName;
}

// Ordered by ID so that, should a contributor have two pledges to one
// fund, the grid shows and saves the same one.
QString PledgeQuery(const QString& columns, int contributorID, int fundID)
{
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM Pledges WHERE ((ContributorID = ")
           + QString::number(contributorID) + QStringLiteral(") AND (FundID = ") + QString::number(fundID)
           + QStringLiteral(")) ORDER BY ID;");
}

// Whole cents: two amounts a cent apart may differ by a hair less than
// 0.01 as doubles (0.29 - 0.28), which must still count as a change.
qint64 Cents(double v)
{
    return std::llround(RoundCents(v) * 100.0);
}

} // namespace

FundList Fund_List(int processingYear)
{
    FundList list;
    Recordset years(QStringLiteral("SELECT DISTINCT FundID FROM Pledges WHERE (FundID < 0) ORDER BY FundID DESC;"), DB(),
                    Recordset::Cursor::ForwardOnly);
    for (; !years.Eof(); years.MoveNext()) {
        const int f = FieldLong(years.Field(0));
        if (f == -processingYear)
            list.selected = int(list.items.size());
        list.items.append({MainFundItem(-f), f});
    }
    if (list.selected < 0) {
        list.selected = int(list.items.size());
        list.items.append({MainFundItem(processingYear), -processingYear});
    }
    Recordset funds(QStringLiteral("SELECT ID, FundName FROM Funds WHERE ((ID <> 1) AND (IsPledgeable = ")
                        + BoolLiteral(true) + QStringLiteral(")) ORDER BY FundName;"),
                    DB(), Recordset::Cursor::ForwardOnly);
    for (; !funds.Eof(); funds.MoveNext())
        list.items.append({FieldText(funds.Field(1)), FieldLong(funds.Field(0))});
    return list;
}

QList<Row> Load_Rows(int fundID, bool showAll)
{
    // One read of the fund's pledges instead of one per contributor.
    QHash<int, double> amounts;
    Recordset pledges(QStringLiteral("SELECT ContributorID, Amount FROM Pledges WHERE (FundID = ")
                          + QString::number(fundID) + QStringLiteral(") ORDER BY ID;"),
                      DB(), Recordset::Cursor::ForwardOnly);
    for (; !pledges.Eof(); pledges.MoveNext()) {
        const int c = FieldLong(pledges.Field(0));
        if (!amounts.contains(c))
            amounts.insert(c, FieldDouble(pledges.Field(1)));
    }

    QString sql = QStringLiteral("SELECT ID, LastName, FirstNames FROM Contributors");
    if (!showAll)
        sql += QStringLiteral(" WHERE (IsInactive = ") + BoolLiteral(false) + QLatin1Char(')');
    sql += QStringLiteral(" ORDER BY LastName, FirstNames;");
    QList<Row> rows;
    Recordset people(sql, DB(), Recordset::Cursor::ForwardOnly);
    for (; !people.Eof(); people.MoveNext()) {
        Row r;
        r.contributorID = FieldLong(people.Field(0));
        r.name = NameJoin(FieldText(people.Field(1)), FieldText(people.Field(2)), true);
        r.amount = amounts.value(r.contributorID, 0.0);
        rows.append(r);
    }
    return rows;
}

double Pledge_Amount(int contributorID, int fundID)
{
    Recordset rs(PledgeQuery(QStringLiteral("Amount"), contributorID, fundID), DB(), Recordset::Cursor::ForwardOnly);
    return rs.Eof() ? 0.0 : FieldDouble(rs.Field(0));
}

Contributor Find_Contributor(int contributorID)
{
    Contributor c;
    Recordset rs(QStringLiteral("SELECT LastName, FirstNames, IsInactive FROM Contributors WHERE (ID = ")
                     + QString::number(contributorID) + QStringLiteral(");"),
                 DB(), Recordset::Cursor::ForwardOnly);
    if (rs.Eof())
        return c;
    c.found = true;
    c.name = NameJoin(FieldText(rs.Field(0)), FieldText(rs.Field(1)), true);
    c.inactive = FieldBool(rs.Field(2));
    return c;
}

// --- typing -------------------------------------------------------------------

Typing::Result Typing::Key(int row, QChar key, const QString& cell)
{
    Result result;
    if (row == 0)
        return result;
    const bool amountKey = (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QLatin1Char('.');
    if (amountKey || key == QChar(Backspace)) {
        m_changed = true;
        QString text = cell;
        if (row != m_editingRow) {
            // The first key typed in a row starts a new amount.
            m_editingRow = row;
            m_savedText = cell;
            text.clear();
        }
        if (amountKey)
            text += key;
        else
            text.chop(1);
        result = {true, text};
    } else if (key == QChar(Escape)) {
        if (row == m_editingRow) {
            result = {true, m_savedText};
            // The restored amount is not appended to: the next key starts anew.
            m_editingRow = 0;
            m_savedText.clear();
        }
    }
    m_lastTypedRow = row;
    return result;
}

int Typing::Row_Changed(int row)
{
    if (m_lastTypedRow == 0 || m_lastTypedRow == row)
        return 0;
    const int left = m_lastTypedRow;
    // Coming back to the row later starts a new amount rather than adding
    // digits to the normalised text.
    m_lastTypedRow = 0;
    m_editingRow = 0;
    m_savedText.clear();
    return left;
}

void Typing::Forget_Row(int row)
{
    if (row == 0)
        return;
    if (m_editingRow == row) {
        m_editingRow = 0;
        m_savedText.clear();
    }
    if (m_lastTypedRow == row)
        m_lastTypedRow = 0;
}

void Typing::Reset()
{
    *this = Typing();
}

// --- saving -------------------------------------------------------------------

double Typed_Amount(const QString& text)
{
    return RoundCents(AmountValue(text));
}

int Save_Pledges(int fundID, const QList<TypedRow>& rows, const std::function<void()>& step)
{
    Connection::Transaction transaction(DB());
    // The fund's pledges read in one query rather than two per row: each
    // contributor's first, as the grid shows it.
    QHash<int, clsPledges> stored;
    Recordset all(QStringLiteral("SELECT * FROM Pledges WHERE FundID = ") + QString::number(fundID)
                      + QStringLiteral(" ORDER BY ID;"),
                  DB(), Recordset::Cursor::ForwardOnly);
    for (; !all.Eof(); all.MoveNext()) {
        clsPledges p;
        p.Read_Row(all);
        if (!stored.contains(p.ContributorID()))
            stored.insert(p.ContributorID(), p);
    }
    int written = 0;
    for (const TypedRow& row : rows) {
        if (step)
            step();
        // The grid's placeholder row has no contributor and never gets a pledge.
        if (row.contributorID <= 0)
            continue;
        clsPledges pledge = stored.value(row.contributorID);
        const double existing = pledge.ID() ? pledge.Amount() : 0;
        const double typed = Typed_Amount(row.text);
        if (Cents(existing) == Cents(typed))
            continue;
        pledge.ContributorID(row.contributorID);
        pledge.FundID(fundID);
        pledge.Amount(typed);
        pledge.Save_to_DB();
        ++written;
    }
    transaction.Commit();
    return written;
}

} // namespace PledgeGrid
