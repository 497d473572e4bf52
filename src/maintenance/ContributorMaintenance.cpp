#include "ContributorMaintenance.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"

using namespace modGlobal;
using modDBConnection::BoolLiteral;
using modDBConnection::TextLiteral;

namespace ContributorMaintenance {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

PledgeRow ReadPledge(const Recordset& rs)
{
    PledgeRow r;
    r.id = FieldLong(rs.Field(QStringLiteral("ID")));
    r.accountNumber = FieldLong(rs.Field(QStringLiteral("AccountNumber")));
    const int fund = FieldLong(rs.Field(QStringLiteral("FundID")));
    r.fundName = fund < 0 ? QString::number(-fund) + QLatin1Char(' ') + MainFundName
                          : FieldText(rs.Field(QStringLiteral("FundName")));
    r.amount = FieldDouble(rs.Field(QStringLiteral("Amount")));
    r.inactive = FieldBool(rs.Field(QStringLiteral("IsInactive")));
    return r;
}
} // namespace

int Envelope_Of(int contributorID, int year)
{
    Recordset rs(QStringLiteral("SELECT AccountNumber FROM Pledges WHERE ((ContributorID = ") + QString::number(contributorID)
                     + QStringLiteral(") AND (FundID = ") + QString::number(-year) + QStringLiteral("));"),
                 DB(), Recordset::Cursor::ForwardOnly);
    return rs.Eof() ? 0 : FieldLong(rs.Field(0));
}

bool List_Row(int contributorID, int year, ListRow* row)
{
    Recordset rs(QStringLiteral("SELECT LastName, FirstNames, IsInactive FROM Contributors WHERE (ID = ")
                     + QString::number(contributorID) + QStringLiteral(");"),
                 DB(), Recordset::Cursor::ForwardOnly);
    if (rs.Eof())
        return false;
    row->id = contributorID;
    row->name = NameJoin(FieldText(rs.Field(0)), FieldText(rs.Field(1)), true);
    row->inactive = FieldBool(rs.Field(2));
    row->envelope = Envelope_Of(contributorID, year);
    return true;
}

QString Delete_Contributor_Question(const QString& name, const QString& envelope)
{
    return QStringLiteral("This Contributor will be deleted.") + kCrLf + QStringLiteral("     ") + name + kCrLf
        + QStringLiteral("     Account Number ") + envelope + kCrLf + QStringLiteral("Are you sure?");
}

QList<PledgeRow> Pledge_Rows(int contributorID)
{
    Recordset rs(QStringLiteral("SELECT Pledges.*, Funds.FundName FROM Pledges LEFT JOIN Funds ON Pledges.FundID = Funds.ID"
                                " WHERE (((Pledges.ContributorID)=")
                     + QString::number(contributorID) + QStringLiteral("));"),
                 DB());
    QList<PledgeRow> rows;
    for (; !rs.Eof(); rs.MoveNext())
        rows.append(ReadPledge(rs));
    return rows;
}

bool Pledge_Row(int pledgeID, PledgeRow* row)
{
    Recordset rs(QStringLiteral("SELECT Pledges.ID, Pledges.AccountNumber, Pledges.FundID, Pledges.Amount, Pledges.IsInactive, "
                                "Funds.FundName FROM Pledges LEFT JOIN Funds ON Pledges.FundID = Funds.ID WHERE (Pledges.ID = ")
                     + QString::number(pledgeID) + QStringLiteral(");"),
                 DB());
    if (rs.Eof())
        return false;
    *row = ReadPledge(rs);
    return true;
}

QString Delete_Pledge_Question(const QString& number, const QString& fund, const QString& amount)
{
    return QStringLiteral("This Pledge will be deleted.") + kCrLf + QStringLiteral("     Envelope Number: ") + number + kCrLf
        + QStringLiteral("     Fund Name: ") + fund + kCrLf + QStringLiteral("     Amount: ") + amount + kCrLf
        + QStringLiteral("Are you sure?");
}

QList<std::pair<int, QString>> Similar_Contributors(const QString& lastName, const QString& firstNames)
{
    Recordset rs(QStringLiteral("SELECT ID, FirstNames FROM Contributors WHERE LastName = ") + TextLiteral(lastName)
                     + QLatin1Char(';'),
                 DB());
    const QString start = firstNames.left(4).toUpper();
    QList<std::pair<int, QString>> found;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString existing = FieldText(rs.Field(1));
        if (!existing.isEmpty() && existing.toUpper().contains(start))
            found.append({FieldLong(rs.Field(0)), existing + QLatin1Char(' ') + lastName});
    }
    return found;
}

QStringList Similar_Names(const QString& lastName, const QString& firstNames)
{
    QStringList lines;
    for (const auto& c : Similar_Contributors(lastName, firstNames))
        lines << c.second;
    return lines;
}

QString Similar_Names_Question(const QStringList& lines, const QString& firstNames, const QString& lastName)
{
    return QStringLiteral("A contributor with a similar name already exists:") + kCrLf + kCrLf + lines.join(kCrLf) + kCrLf
        + kCrLf + QStringLiteral("Are you sure you want to add ") + firstNames + QLatin1Char(' ') + lastName
        + QLatin1Char('?');
}

void Discard_Pledges(int contributorID)
{
    // Through the record, so that every window showing one of them hears.
    Connection::Transaction transaction(DB());
    QList<int> ids;
    for (Recordset rs(QStringLiteral("SELECT ID FROM Pledges WHERE ContributorID = ") + QString::number(contributorID)
                          + QLatin1Char(';'),
                      DB(), Recordset::Cursor::ForwardOnly);
         !rs.Eof(); rs.MoveNext())
        ids.append(FieldLong(rs.Field(0)));
    for (const int id : std::as_const(ids)) {
        clsPledges pledge;
        pledge.ID(id);
        pledge.Get_One_Record();
        pledge.Delete_Record_from_DB();
    }
    transaction.Commit();
}

QList<FundItem> Pledge_Fund_Items(int contributorID)
{
    QList<FundItem> items;
    Recordset own(QStringLiteral("SELECT * FROM Pledges WHERE ((FundID = ") + QString::number(-ProcessingYear)
                      + QStringLiteral(") AND (ContributorID = ") + QString::number(contributorID) + QStringLiteral("));"),
                  DB());
    if (own.RecordCount() == 0)
        items.append({QString::number(ProcessingYear) + QLatin1Char(' ') + MainFundName, -ProcessingYear});
    Recordset funds(QStringLiteral("SELECT * FROM Funds WHERE ((ID > 1) AND (IsPledgeable = ") + BoolLiteral(true)
                        + QStringLiteral("));"),
                    DB());
    for (; !funds.Eof(); funds.MoveNext())
        items.append({FieldText(funds.Field(QStringLiteral("FundName"))), FieldLong(funds.Field(QStringLiteral("ID")))});
    return items;
}

QString Pledge_Fund_Name(int fundID)
{
    if (fundID < 0)
        return QString::number(-fundID) + QLatin1Char(' ') + MainFundName;
    Recordset rs(QStringLiteral("SELECT FundName FROM Funds WHERE ID = ") + QString::number(fundID) + QLatin1Char(';'), DB());
    return rs.Eof() ? QString() : FieldText(rs.Field(0));
}

int Next_Account_Number(int fundID, bool useEnvelopes)
{
    const int base = useEnvelopes ? 0 : 10000;
    Recordset rs(QStringLiteral("SELECT Max(Pledges.AccountNumber) AS Max FROM Pledges LEFT JOIN Contributors ON "
                                "Pledges.ContributorID = Contributors.ID WHERE ((Pledges.FundID = ")
                     + QString::number(fundID) + QStringLiteral(") AND (Contributors.UseEnvelopes = ")
                     + BoolLiteral(useEnvelopes) + QStringLiteral("));"),
                 DB());
    if (rs.Eof() || rs.Field(0).isNull())
        return base + 1;
    return FieldLong(rs.Field(0)) + 1;
}

} // namespace ContributorMaintenance
