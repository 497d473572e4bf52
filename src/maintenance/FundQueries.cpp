#include "FundQueries.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

using namespace modGlobal;

namespace FundQueries {

namespace {
QString YesNo(bool b)
{
    return b ? QStringLiteral("Yes") : QStringLiteral("No");
}

FundRow Read(const Recordset& rs)
{
    FundRow r;
    r.id = FieldLong(rs.Field(QStringLiteral("ID")));
    r.name = FieldText(rs.Field(QStringLiteral("FundName")));
    r.pledgeable = FieldBool(rs.Field(QStringLiteral("IsPledgeable")));
    r.taxDeductible = FieldBool(rs.Field(QStringLiteral("IsTaxDeductible")));
    r.inactive = FieldBool(rs.Field(QStringLiteral("IsInactive")));
    return r;
}
} // namespace

QList<FundRow> Additional_Funds()
{
    clsFunds ready; // the table exists before it is read
    QList<FundRow> rows;
    Recordset rs(QStringLiteral("SELECT * FROM Funds WHERE ID > 1"), DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        rows.append(Read(rs));
    return rows;
}

FundRow Fund(int id)
{
    clsFunds ready;
    Recordset rs(QStringLiteral("SELECT * FROM Funds WHERE ID = ") + QString::number(id) + QLatin1Char(';'), DB(),
                 Recordset::Cursor::ForwardOnly);
    return rs.Eof() ? FundRow{} : Read(rs);
}

QStringList List_Cells(const FundRow& row)
{
    return {QString::number(row.id), row.name, YesNo(row.pledgeable),
            row.inactive ? QStringLiteral("I") : QString(), YesNo(row.taxDeductible)};
}

QList<Choice> Default_Fund_Choices()
{
    clsFunds ready;
    QList<Choice> choices;
    Recordset rs(QStringLiteral("SELECT * FROM Funds WHERE ID > 1 ORDER BY FundName;"), DB(),
                 Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        choices.append({FieldLong(rs.Field(QStringLiteral("ID"))), FieldText(rs.Field(QStringLiteral("FundName")))});
    return choices;
}

bool Name_Used_by_Other(const QString& name, int id)
{
    clsFunds ready;
    // Names are read back trimmed on both sides, so a stored name with a
    // leading blank would look like the same fund: compare trimmed too.
    Recordset rs(QStringLiteral("SELECT ID FROM Funds WHERE Trim(FundName) = ")
                     + modDBConnection::TextLiteral(TrimBlanks(name)) + QStringLiteral(" COLLATE NOCASE AND ID <> ")
                     + QString::number(id) + QLatin1Char(';'),
                 DB(), Recordset::Cursor::ForwardOnly);
    return !rs.Eof();
}

QString Delete_Question(const QString& name, const QString& pledges, const QString& taxDeductible)
{
    return QStringList{QStringLiteral("This Fund will be deleted."), QStringLiteral("     ") + name,
                       QStringLiteral("     Allow Pledges: ") + pledges,
                       QStringLiteral("     Tax-Deductible: ") + taxDeductible, QStringLiteral("Are you sure?")}
        .join(QStringLiteral("\r\n"));
}

} // namespace FundQueries
