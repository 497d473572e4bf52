#include "ListingTables.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

using namespace modGlobal;
using Type = ReportTable::Type;

namespace Listings {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// The loose offering's contributor number: it has no Contributors row.
constexpr int kLooseOffering = 1;

QList<FundItem> Fund_List(const QString& mainYears, const QString& funds)
{
    QList<FundItem> items;
    for (Recordset rs(mainYears, DB(), Recordset::Cursor::ForwardOnly); !rs.Eof(); rs.MoveNext()) {
        const int id = FieldLong(rs.Field(0));
        items << FundItem{QString::number(-id) + QLatin1Char(' ') + MainFundName, id};
    }
    for (Recordset rs(funds, DB(), Recordset::Cursor::ForwardOnly); !rs.Eof(); rs.MoveNext())
        items << FundItem{FieldText(rs.Field(QStringLiteral("FundName"))), FieldLong(rs.Field(QStringLiteral("ID")))};
    return items;
}

QString Filter(const Selection& s)
{
    const QString fund = QStringLiteral("((Offering.FundID = ") + QString::number(s.fundID);
    if (s.byCollection)
        return fund + QStringLiteral(") AND (Offering.CollectionID = ") + QString::number(s.collectionID)
            + QStringLiteral("))");
    return fund + QStringLiteral(") AND (Collection.CollectionDate >= ") + modDBConnection::DateLiteral(s.begin)
        + QStringLiteral(") AND (Collection.CollectionDate <= ") + modDBConnection::DateLiteral(s.end)
        + QStringLiteral("))");
}

QString Church_Name()
{
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    return church.ChurchName();
}

QString Name_Key(const Recordset& rs)
{
    return TrimBlanks(FieldText(rs.Field(QStringLiteral("LastName")))) + QLatin1Char(' ')
        + TrimBlanks(FieldText(rs.Field(QStringLiteral("FirstNames"))));
}

QString Address_Label(const Recordset& rs)
{
    auto f = [&rs](const char* name) { return FieldText(rs.Field(QLatin1String(name))); };
    return NameJoin(f("LastName"), f("FirstNames"), false) + kCrLf
        + AddressJoin(f("Address1"), f("Address2"), f("City"), f("State"), f("ZipCode"), true);
}

void Add_Blank_Labels(ReportTable& t, int skip)
{
    for (int i = 0; i < skip; ++i) {
        t.AddNew();
        t.Set(QStringLiteral("NameAddr"), QStringLiteral("."));
        t.Set(QStringLiteral("SortField"), QStringLiteral("A"));
    }
}
} // namespace

QList<FundItem> Offering_Fund_List()
{
    return Fund_List(QStringLiteral("SELECT DISTINCT FundID FROM Offering WHERE FundID < 0 ORDER BY FundID DESC;"),
                     QStringLiteral("SELECT ID, FundName FROM Funds WHERE ID > 1 ORDER BY FundName;"));
}

QList<FundItem> Pledge_Fund_List()
{
    return Fund_List(QStringLiteral("SELECT DISTINCT FundID FROM Pledges WHERE FundID < 0 ORDER BY FundID DESC;"),
                     QStringLiteral("SELECT ID, FundName FROM Funds WHERE ((ID > 1) AND (IsPledgeable = ")
                         + modDBConnection::BoolLiteral(true) + QStringLiteral(")) ORDER BY FundName;"));
}

int Skip_Count(const QString& text)
{
    const int n = WholeNumberText(text).toInt();
    return std::clamp(n, 0, kMaxSkip);
}

ReportTable Fund_Table()
{
    ReportTable t(QStringLiteral("Funds"));
    t.AppendField(QStringLiteral("ChurchName"), Type::Text, 50);
    t.AppendField(QStringLiteral("HeaderLine"), Type::Text, 200);
    t.AppendField(QStringLiteral("Date"), Type::Date);
    t.AppendField(QStringLiteral("ColNum"), Type::BigInt);
    t.AppendField(QStringLiteral("Name"), Type::Text, 80);
    t.AppendField(QStringLiteral("Amount"), Type::Double);
    return t;
}

QString Fund_Report_Title(const Selection& s)
{
    const QString title = Fund_Display_Name(s.fundID) + QStringLiteral(" Receipts");
    if (s.byCollection)
        return title + QStringLiteral(" for Collection Number ") + QString::number(s.collectionID);
    return title + QStringLiteral(" from ") + LongDate(s.begin) + QStringLiteral(" through ") + LongDate(s.end);
}

std::optional<ReportTable> Fund_Report(const Selection& s, bool showNames)
{
    if (s.IsEmpty())
        return std::nullopt;
    ReportTable t = Fund_Table();
    const QString church = Church_Name();
    const QString title = Fund_Report_Title(s);
    Recordset rs(QStringLiteral("SELECT Offering.ContributorID, Offering.CollectionID, Offering.Amount, Contributors.LastName, "
                                "Contributors.FirstNames, Collection.CollectionDate"
                                " FROM (Offering LEFT JOIN Contributors ON Offering.ContributorID = Contributors.ID)"
                                " LEFT JOIN Collection ON Offering.CollectionID = Collection.ID WHERE ")
                     + Filter(s)
                     + QStringLiteral(" ORDER BY Collection.CollectionDate, Contributors.LastName, Contributors.FirstNames;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        t.AddNew();
        t.Set(QStringLiteral("ChurchName"), church);
        t.Set(QStringLiteral("HeaderLine"), title);
        t.Set(QStringLiteral("Date"), FieldDate(rs.Field(QStringLiteral("CollectionDate"))));
        t.Set(QStringLiteral("ColNum"), FieldLong(rs.Field(QStringLiteral("CollectionID"))));
        if (showNames) {
            const int who = FieldLong(rs.Field(QStringLiteral("ContributorID")));
            t.Set(QStringLiteral("Name"), who == kLooseOffering
                                              ? QStringLiteral("Loose Offering")
                                              : NameJoin(FieldText(rs.Field(QStringLiteral("LastName"))),
                                                         FieldText(rs.Field(QStringLiteral("FirstNames"))), true));
        }
        t.Set(QStringLiteral("Amount"), FieldDouble(rs.Field(QStringLiteral("Amount"))));
    }
    if (t.IsEmpty()) {
        t.AddNew();
        t.Set(QStringLiteral("ChurchName"), church);
        t.Set(QStringLiteral("HeaderLine"), title);
        t.Set(QStringLiteral("Amount"), 0.0);
    }
    return t;
}

ReportTable Label_Table()
{
    ReportTable t(QStringLiteral("Labels"));
    t.AppendField(QStringLiteral("NameAddr"), Type::Text, 400);
    t.AppendField(QStringLiteral("SortField"), Type::Text, 100);
    t.AppendField(QStringLiteral("HeaderLine"), Type::Text, 200);
    return t;
}

QString Memorial_Title(const Selection& s)
{
    const QString title = Fund_Display_Name(s.fundID) + QStringLiteral(" Donors ");
    if (s.byCollection)
        return title + QStringLiteral("for Collection Number ") + QString::number(s.collectionID);
    return title + QStringLiteral("from ") + ShortDate(s.begin) + QStringLiteral(" through ") + ShortDate(s.end);
}

std::optional<ReportTable> Memorial_Labels(const Selection& s, int skip)
{
    if (s.IsEmpty())
        return std::nullopt;
    ReportTable t = Label_Table();
    const QString title = Memorial_Title(s);
    Add_Blank_Labels(t, skip);
    Recordset rs(QStringLiteral("SELECT DISTINCT Offering.ContributorID, Contributors.*"
                                " FROM (Offering LEFT JOIN Contributors ON Offering.ContributorID = Contributors.ID)"
                                " LEFT JOIN Collection ON Offering.CollectionID = Collection.ID WHERE ")
                     + Filter(s) + QStringLiteral(" ORDER BY Contributors.LastName, Contributors.FirstNames;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        // The loose offering (and a giver whose row is gone) has no name
        // or address: a label for it would go out empty.
        if (FieldLong(rs.Field(QStringLiteral("ContributorID"))) == kLooseOffering || rs.Field(QStringLiteral("ID")).isNull())
            continue;
        t.AddNew();
        t.Set(QStringLiteral("NameAddr"), Address_Label(rs));
        t.Set(QStringLiteral("SortField"), QStringLiteral("Z"));
    }
    for (int r = 0; r < t.RowCount(); ++r)
        t.Set(r, QStringLiteral("HeaderLine"), title);
    return t;
}

std::optional<QString> Contributor_Query(bool active, bool inactive)
{
    if (!active && !inactive)
        return std::nullopt;
    QString sql = QStringLiteral("SELECT * FROM Contributors");
    if (!(active && inactive))
        sql += QStringLiteral(" WHERE IsInactive = ") + modDBConnection::BoolLiteral(!active);
    return sql;
}

ReportTable Telephone_Table()
{
    ReportTable t(QStringLiteral("Directory"));
    t.AppendField(QStringLiteral("ChurchName"), Type::Text, 50);
    t.AppendField(QStringLiteral("SortField"), Type::Text, 100);
    t.AppendField(QStringLiteral("Name"), Type::Text, 80);
    t.AppendField(QStringLiteral("Address"), Type::Text, 200);
    t.AppendField(QStringLiteral("Telephone"), Type::Text, 40);
    return t;
}

std::optional<ReportTable> Telephone_Directory(bool active, bool inactive, bool byPhone)
{
    const auto sql = Contributor_Query(active, inactive);
    if (!sql)
        return std::nullopt;
    ReportTable t = Telephone_Table();
    const QString church = Church_Name();
    for (Recordset rs(*sql, DB(), Recordset::Cursor::ForwardOnly); !rs.Eof(); rs.MoveNext()) {
        auto f = [&rs](const char* name) { return FieldText(rs.Field(QLatin1String(name))); };
        const QString phone = TrimBlanks(f("Phone"));
        t.AddNew();
        t.Set(QStringLiteral("ChurchName"), church);
        t.Set(QStringLiteral("SortField"), byPhone ? phone : Name_Key(rs));
        t.Set(QStringLiteral("Name"), NameJoin(f("LastName"), f("FirstNames"), true));
        t.Set(QStringLiteral("Address"), AddressJoin(f("Address1"), f("Address2"), f("City"), f("State"), f("ZipCode"), false));
        t.Set(QStringLiteral("Telephone"), phone);
    }
    return t;
}

std::optional<ReportTable> Mailing_Labels(bool active, bool inactive, bool byZip, int skip)
{
    const auto sql = Contributor_Query(active, inactive);
    if (!sql)
        return std::nullopt;
    ReportTable t = Label_Table();
    Add_Blank_Labels(t, skip);
    for (Recordset rs(*sql, DB(), Recordset::Cursor::ForwardOnly); !rs.Eof(); rs.MoveNext()) {
        QString key = QStringLiteral("Z");
        if (byZip)
            key += TrimBlanks(FieldText(rs.Field(QStringLiteral("ZipCode")))) + QLatin1Char(' ');
        t.AddNew();
        t.Set(QStringLiteral("NameAddr"), Address_Label(rs));
        t.Set(QStringLiteral("SortField"), key + Name_Key(rs));
    }
    return t;
}

ReportTable Envelope_Table()
{
    ReportTable t(QStringLiteral("EnvelopeLabels"));
    t.AppendField(QStringLiteral("LastName"), Type::Text, 40);
    t.AppendField(QStringLiteral("FirstNames"), Type::Text, 40);
    t.AppendField(QStringLiteral("EnvNum"), Type::BigInt);
    t.AppendField(QStringLiteral("SortField"), Type::Text, 100);
    return t;
}

std::optional<ReportTable> Envelope_Labels(int fundID, bool byNumber, int skip)
{
    if (fundID == 0)
        return std::nullopt;
    ReportTable t = Envelope_Table();
    for (int i = 0; i < skip; ++i) {
        t.AddNew();
        t.Set(QStringLiteral("FirstNames"), QStringLiteral("."));
        t.Set(QStringLiteral("SortField"), QStringLiteral("A"));
    }
    Recordset rs(QStringLiteral("SELECT Pledges.AccountNumber, Contributors.LastName, Contributors.FirstNames"
                                " FROM Pledges LEFT JOIN Contributors ON Pledges.ContributorID = Contributors.ID"
                                " WHERE ((Pledges.FundID = ")
                     + QString::number(fundID) + QStringLiteral(") AND (Contributors.UseEnvelopes = ")
                     + modDBConnection::BoolLiteral(true) + QStringLiteral("));"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int number = FieldLong(rs.Field(QStringLiteral("AccountNumber")));
        t.AddNew();
        t.Set(QStringLiteral("LastName"), TrimBlanks(FieldText(rs.Field(QStringLiteral("LastName")))));
        t.Set(QStringLiteral("FirstNames"), TrimBlanks(FieldText(rs.Field(QStringLiteral("FirstNames")))));
        if (number != 0)
            t.Set(QStringLiteral("EnvNum"), number);
        // A pledge without a number sorts by name before the numbered ones.
        QString key = QStringLiteral("Z");
        if (byNumber)
            key += (number != 0 ? QString::number(number) : QString()).rightJustified(15, QLatin1Char(' '));
        t.Set(QStringLiteral("SortField"), key + Name_Key(rs));
    }
    return t;
}

} // namespace Listings
