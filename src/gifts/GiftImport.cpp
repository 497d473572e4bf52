#include "GiftImport.h"

#include "maintenance/ContributorMaintenance.h"
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "storage/GiftTables.h"
#include "core/Recordset.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsOffering.h"
#include "core/modDBConnection.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

using namespace modGlobal;
using modDBConnection::TextLiteral;

namespace GiftImport {

namespace {

const char* const kFieldKeys[FieldCount] = {"Date", "Name", "FirstName", "Email", "Amount",
                                            "Fee", "Fund", "Transaction", "Deposit"};

QString Key(const QString& s)
{
    return s.simplified().toCaseFolded();
}

QString HeaderRow(const QStringList& header)
{
    QStringList h;
    for (const QString& s : header)
        h << Key(s);
    return h.join(QLatin1Char('\t'));
}

void Ready()
{
    GiftTables::Create(DB());
}

// The kept text of a mapping: each field's column heading.
QString Columns_Text(const QStringList& header, const Mapping& m)
{
    QJsonObject o;
    for (int f = 0; f < FieldCount; ++f)
        if (m.column[f] >= 0 && m.column[f] < header.size())
            o.insert(QLatin1String(kFieldKeys[f]), header.at(m.column[f]));
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

bool Apply_Columns(const QString& text, const QStringList& header, Mapping* m, QString* problem)
{
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    Mapping out;
    out.name = m->name;
    for (int f = 0; f < FieldCount; ++f) {
        const QString heading = o.value(QLatin1String(kFieldKeys[f])).toString();
        if (heading.isEmpty())
            continue;
        int found = -1;
        for (int c = 0; c < header.size() && found < 0; ++c)
            if (Key(header.at(c)) == Key(heading))
                found = c;
        if (found < 0) {
            if (problem)
                *problem = QStringLiteral("The file has no column \"%1\".").arg(heading);
            return false;
        }
        out.column[f] = found;
    }
    *m = out;
    return true;
}

QString Cell(const QStringList& row, int column)
{
    return column >= 0 && column < row.size() ? row.at(column).trimmed() : QString();
}

// A gift without a transaction ID is known by what it says; the same gift
// twice in one file is told apart by its count.
QString Row_Key(const Gift& g, QHash<QString, int>& seen)
{
    const QString text = QStringList{g.date.toString(Qt::ISODate), Key(g.lastName), Key(g.firstNames), Key(g.email),
                                     QString::number(g.cents), Key(g.designation)}
                             .join(QChar(0x1f));
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
    return QStringLiteral("row:") + hash + QLatin1Char('#') + QString::number(++seen[hash]);
}

QSet<QString> Imported_IDs()
{
    QSet<QString> ids;
    Recordset rs(QStringLiteral("SELECT TransactionID FROM OnlineGiftImported;"), DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        ids.insert(FieldText(rs.Field(0)));
    return ids;
}

void Mark_Already(Plan& plan)
{
    const QSet<QString> before = Imported_IDs();
    QSet<QString> inFile;
    plan.already.clear();
    for (const Gift& g : plan.gifts) {
        plan.already << (before.contains(g.transactionID) || inFile.contains(g.transactionID));
        inFile.insert(g.transactionID);
    }
}

int Fund_Of(const Plan& plan, int gift)
{
    const Designation& d = plan.designations.at(plan.designationOf.at(gift));
    return d.fundID == 0 ? -plan.gifts.at(gift).date.year() : d.fundID;
}

QString Money(qint64 cents)
{
    return FormatAmount(double(cents) / 100.0);
}

} // namespace

QString Field_Caption(Field f)
{
    switch (f) {
    case fDate: return QStringLiteral("Date of the gift");
    case fName: return QStringLiteral("Donor name (or last name)");
    case fFirstName: return QStringLiteral("First name (own column)");
    case fEmail: return QStringLiteral("E-mail");
    case fAmount: return QStringLiteral("Amount");
    case fFee: return QStringLiteral("Fee");
    case fFund: return QStringLiteral("Fund or designation");
    case fTransaction: return QStringLiteral("Transaction ID");
    case fDeposit: return QStringLiteral("Deposit date");
    default: return QString();
    }
}

Mapping Guess_Mapping(const QStringList& header)
{
    Mapping m;
    auto take = [&](Field f, int c) {
        if (m.column[f] < 0 && !std::count(m.column.begin(), m.column.end(), c))
            m.column[f] = c;
    };
    for (int c = 0; c < header.size(); ++c) {
        const QString h = Key(header.at(c));
        const bool deposit = h.contains(QLatin1String("deposit")) || h.contains(QLatin1String("payout"))
            || h.contains(QLatin1String("settle")) || h.contains(QLatin1String("transfer"));
        if (h.contains(QLatin1String("date")) && deposit)
            take(fDeposit, c);
        else if (h.contains(QLatin1String("mail")))
            take(fEmail, c);
        else if (h.contains(QLatin1String("first")))
            take(fFirstName, c);
        else if (h.contains(QLatin1String("fee")))
            take(fFee, c);
        else if (h.contains(QLatin1String("transaction")) || h.contains(QLatin1String("reference")) || h == QLatin1String("id"))
            take(fTransaction, c);
        else if (h.endsWith(QLatin1String(" id")) || h.contains(QLatin1String("number")))
            continue; // a donor's or campaign's number, never the name or the fund
        else if (h.contains(QLatin1String("date")))
            take(fDate, c);
        else if (h.contains(QLatin1String("name")) || h.contains(QLatin1String("donor")))
            take(fName, c);
        else if (h.contains(QLatin1String("amount")) || h.contains(QLatin1String("gross")) || h == QLatin1String("total"))
            take(fAmount, c);
        else if (h.contains(QLatin1String("fund")) || h.contains(QLatin1String("designation"))
                 || h.contains(QLatin1String("campaign")) || h.contains(QLatin1String("category")))
            take(fFund, c);
    }
    return m;
}

QString Mapping_Problem(const Mapping& m)
{
    for (Field f : {fDate, fName, fAmount})
        if (m.column[f] < 0)
            return QStringLiteral("Please choose the column of the field \"%1\".").arg(Field_Caption(f));
    for (int f = 0; f < FieldCount; ++f)
        for (int g = f + 1; g < FieldCount; ++g)
            if (m.column[f] >= 0 && m.column[f] == m.column[g])
                return QStringLiteral("The fields \"%1\" and \"%2\" cannot both use one column.")
                    .arg(Field_Caption(Field(f)), Field_Caption(Field(g)));
    return QString();
}

bool Kept_Mapping(const QStringList& header, Mapping* m)
{
    Ready();
    Recordset rs(QStringLiteral("SELECT Name, Columns FROM OnlineGiftMapping WHERE HeaderRow = ")
                     + TextLiteral(HeaderRow(header)) + QLatin1Char(';'),
                 DB());
    if (rs.Eof())
        return false;
    Mapping found;
    found.name = FieldText(rs.Field(0));
    if (!Apply_Columns(FieldText(rs.Field(1)), header, &found, nullptr))
        return false;
    *m = found;
    return true;
}

bool Named_Mapping(const QString& name, const QStringList& header, Mapping* m, QString* problem)
{
    Ready();
    Recordset rs(QStringLiteral("SELECT Name, Columns FROM OnlineGiftMapping WHERE Name = ") + TextLiteral(name)
                     + QLatin1Char(';'),
                 DB());
    if (rs.Eof()) {
        if (problem)
            *problem = QStringLiteral("No column mapping is kept under the name \"%1\".").arg(name);
        return false;
    }
    Mapping found;
    found.name = FieldText(rs.Field(0));
    if (!Apply_Columns(FieldText(rs.Field(1)), header, &found, problem))
        return false;
    *m = found;
    return true;
}

void Keep_Mapping(const QStringList& header, const Mapping& m)
{
    Ready();
    Connection::Transaction tx(DB());
    // One mapping per header row and one per name: the newest wins both.
    DB().Execute(QStringLiteral("DELETE FROM OnlineGiftMapping WHERE HeaderRow = ") + TextLiteral(HeaderRow(header))
                 + QStringLiteral(" OR Name = ") + TextLiteral(m.name) + QLatin1Char(';'));
    DB().Execute(QStringLiteral("INSERT INTO OnlineGiftMapping (Name, HeaderRow, Columns) VALUES (") + TextLiteral(m.name)
                 + QStringLiteral(", ") + TextLiteral(HeaderRow(header)) + QStringLiteral(", ")
                 + TextLiteral(Columns_Text(header, m)) + QStringLiteral(");"));
    tx.Commit();
}

QStringList Mapping_Names()
{
    Ready();
    QStringList names;
    Recordset rs(QStringLiteral("SELECT Name FROM OnlineGiftMapping ORDER BY Name;"), DB());
    for (; !rs.Eof(); rs.MoveNext())
        names << FieldText(rs.Field(0));
    return names;
}

std::pair<QString, QString> Split_Name(const QString& fullName)
{
    const QString s = fullName.simplified();
    if (const int comma = int(s.indexOf(QLatin1Char(','))); comma >= 0)
        return {s.left(comma).trimmed(), s.mid(comma + 1).trimmed()};
    const int space = int(s.lastIndexOf(QLatin1Char(' ')));
    if (space < 0)
        return {s, QString()};
    return {s.mid(space + 1), s.left(space)};
}

Plan Prepare(const GiftCsv::Table& table, const Mapping& m, const QString& fileName)
{
    Ready();
    Plan plan;
    plan.fileName = fileName;
    const bool decimalComma = table.separator == QLatin1Char(';');
    QHash<QString, int> seen;
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows.at(r);
        Gift g;
        g.line = table.lines.value(r);
        auto refuse = [&](const QString& reason) { plan.refused.append({g.line, reason}); };
        g.date = GiftCsv::ReadDate(Cell(row, m.column[fDate]));
        if (!g.date.isValid()) {
            refuse(QStringLiteral("\"%1\" is not a date.").arg(Cell(row, m.column[fDate])));
            continue;
        }
        const QString deposit = Cell(row, m.column[fDeposit]);
        g.deposit = deposit.isEmpty() ? g.date : GiftCsv::ReadDate(deposit);
        if (!g.deposit.isValid()) {
            refuse(QStringLiteral("\"%1\" is not a date.").arg(deposit));
            continue;
        }
        if (!GiftCsv::ReadCents(Cell(row, m.column[fAmount]), &g.cents, decimalComma) || g.cents == 0) {
            refuse(QStringLiteral("\"%1\" is not an amount.").arg(Cell(row, m.column[fAmount])));
            continue;
        }
        const QString fee = Cell(row, m.column[fFee]);
        if (!fee.isEmpty() && !GiftCsv::ReadCents(fee, &g.feeCents, decimalComma)) {
            refuse(QStringLiteral("\"%1\" is not an amount.").arg(fee));
            continue;
        }
        // Platforms write fees either way round; a fee is never income.
        g.feeCents = std::llabs(g.feeCents);
        if (m.column[fFirstName] >= 0) {
            g.lastName = Cell(row, m.column[fName]).simplified();
            g.firstNames = Cell(row, m.column[fFirstName]).simplified();
        } else {
            std::tie(g.lastName, g.firstNames) = Split_Name(Cell(row, m.column[fName]));
        }
        g.email = Cell(row, m.column[fEmail]);
        if (g.lastName.isEmpty()) {
            refuse(QStringLiteral("The row names no donor."));
            continue;
        }
        g.lastName = CutText(g.lastName, 40);
        g.firstNames = CutText(g.firstNames, 40);
        g.designation = Cell(row, m.column[fFund]).simplified();
        g.transactionID = Cell(row, m.column[fTransaction]);
        if (g.transactionID.isEmpty())
            g.transactionID = Row_Key(g, seen);
        plan.gifts << g;
    }
    Mark_Already(plan);

    // Contributors by e-mail (where the books keep addresses) and by name.
    QHash<QString, int> byEmail;
    if (GiftTables::Has_Email_Table(DB())) {
        Recordset rs(QStringLiteral("SELECT ContributorID, Email FROM ContributorEmail;"), DB(), Recordset::Cursor::ForwardOnly);
        for (; !rs.Eof(); rs.MoveNext())
            byEmail.insert(Key(FieldText(rs.Field(1))), FieldLong(rs.Field(0)));
    }
    QHash<QString, QList<int>> byName;
    QHash<int, QString> names;
    {
        Recordset rs(QStringLiteral("SELECT ID, LastName, FirstNames FROM Contributors WHERE ID > 1;"), DB(),
                     Recordset::Cursor::ForwardOnly);
        for (; !rs.Eof(); rs.MoveNext()) {
            const int id = FieldLong(rs.Field(0));
            const QString last = FieldText(rs.Field(1)), first = FieldText(rs.Field(2));
            byName[Key(last) + QLatin1Char('\t') + Key(first)] << id;
            names.insert(id, NameJoin(last, first, true));
        }
    }

    QHash<QString, int> donorIndex, designationIndex;
    QHash<QString, int> keptFunds;
    {
        Recordset rs(QStringLiteral("SELECT Designation, FundID FROM OnlineGiftFund;"), DB());
        for (; !rs.Eof(); rs.MoveNext())
            keptFunds.insert(Key(FieldText(rs.Field(0))), FieldLong(rs.Field(1)));
    }
    QHash<QString, int> fundsByName;
    for (const auto& [id, name] : Fund_Choices())
        if (id > 0)
            fundsByName.insert(Key(name), id);
    fundsByName.insert(Key(MainFundName), 0);

    for (const Gift& g : plan.gifts) {
        const QString nameKey = Key(g.lastName) + QLatin1Char('\t') + Key(g.firstNames);
        const QString donorKey = g.email.isEmpty() ? nameKey : Key(g.email);
        auto d = donorIndex.find(donorKey);
        if (d == donorIndex.end()) {
            Donor donor;
            donor.lastName = g.lastName;
            donor.firstNames = g.firstNames;
            donor.email = g.email;
            if (const int id = byEmail.value(Key(g.email)); id > 0 && !g.email.isEmpty()) {
                donor.how = How::Email;
                donor.contributorID = id;
            } else if (const QList<int> same = byName.value(nameKey); same.size() == 1) {
                donor.how = How::Name;
                donor.contributorID = same.first();
            } else {
                donor.candidates = ContributorMaintenance::Similar_Contributors(g.lastName, g.firstNames);
                donor.how = donor.candidates.isEmpty() ? How::Unknown : How::Candidates;
            }
            donor.contributorName = names.value(donor.contributorID);
            d = donorIndex.insert(donorKey, int(plan.donors.size()));
            plan.donors << donor;
        }
        plan.donorOf << *d;
        ++plan.donors[*d].gifts;

        auto s = designationIndex.find(Key(g.designation));
        if (s == designationIndex.end()) {
            Designation des;
            des.text = g.designation;
            const QString k = Key(g.designation);
            if (keptFunds.contains(k) || fundsByName.contains(k)) {
                des.mapped = true;
                des.fundID = keptFunds.contains(k) ? keptFunds.value(k) : fundsByName.value(k);
            }
            s = designationIndex.insert(k, int(plan.designations.size()));
            plan.designations << des;
        }
        plan.designationOf << *s;
        if (!plan.already.at(plan.designationOf.size() - 1))
            plan.designations[*s].cents += g.cents;
    }
    return plan;
}

void Choose_Contributor(Plan& plan, int donor, int contributorID)
{
    Donor& d = plan.donors[donor];
    d.contributorID = contributorID;
    d.how = contributorID > 0 ? How::Chosen : How::New;
    d.contributorName.clear();
    if (contributorID > 0) {
        clsContributors c;
        c.Get_One_Record(QStringLiteral("ID = ") + QString::number(contributorID));
        d.contributorName = c.FullName(true);
    }
}

void Map_Designation(Plan& plan, int designation, int fundID)
{
    plan.designations[designation].mapped = true;
    plan.designations[designation].fundID = fundID;
}

QStringList Open_Questions(const Plan& plan)
{
    QStringList open;
    for (const Designation& d : plan.designations)
        if (!d.mapped)
            open << QStringLiteral("No fund is chosen for the designation \"%1\".")
                        .arg(d.text.isEmpty() ? QStringLiteral("(none)") : d.text);
    for (const Donor& d : plan.donors)
        if (d.how == How::Candidates)
            open << QStringLiteral("%1 is not matched to a contributor.").arg(NameJoin(d.lastName, d.firstNames, false));
    return open;
}

QList<std::pair<int, QString>> Fund_Choices()
{
    QList<std::pair<int, QString>> choices{{0, MainFundName + QStringLiteral(" (year of the gift)")}};
    Recordset funds(QStringLiteral("SELECT ID, FundName FROM Funds WHERE ((ID > 1) AND (IsInactive = ")
                        + modDBConnection::BoolLiteral(false) + QStringLiteral(")) ORDER BY FundName;"),
                    DB());
    for (; !funds.Eof(); funds.MoveNext())
        choices.append({FieldLong(funds.Field(0)), FieldText(funds.Field(1))});
    return choices;
}

QString Fund_Name(int fundID)
{
    if (fundID <= 0)
        return fundID == 0 ? MainFundName : QString::number(-fundID) + QLatin1Char(' ') + MainFundName;
    Recordset rs(QStringLiteral("SELECT FundName FROM Funds WHERE ID = ") + QString::number(fundID) + QLatin1Char(';'), DB());
    return rs.Eof() ? QString() : FieldText(rs.Field(0));
}

QList<TotalRow> Totals_Per_Fund(const Plan& plan)
{
    QMap<int, TotalRow> rows;
    for (int i = 0; i < plan.gifts.size(); ++i) {
        if (plan.already.at(i) || !plan.designations.at(plan.designationOf.at(i)).mapped)
            continue;
        const int fund = Fund_Of(plan, i);
        TotalRow& t = rows[fund];
        t.label = Fund_Name(fund);
        ++t.gifts;
        t.cents += plan.gifts.at(i).cents;
        t.feeCents += plan.gifts.at(i).feeCents;
    }
    return rows.values();
}

QList<TotalRow> Totals_Per_Date(const Plan& plan)
{
    QMap<QDate, TotalRow> rows;
    for (int i = 0; i < plan.gifts.size(); ++i) {
        if (plan.already.at(i))
            continue;
        const Gift& g = plan.gifts.at(i);
        TotalRow& t = rows[g.deposit];
        t.label = ShortDate(g.deposit);
        ++t.gifts;
        t.cents += g.cents;
        t.feeCents += g.feeCents;
    }
    return rows.values();
}

Summary Write(Plan& plan)
{
    Ready();
    Summary s;
    // Money without a fund would land nowhere: nothing is written until
    // every designation has one.
    for (const Designation& d : plan.designations)
        if (!d.mapped)
            s.stopped << QStringLiteral("No fund is chosen for the designation \"%1\".")
                             .arg(d.text.isEmpty() ? QStringLiteral("(none)") : d.text);
    if (!s.stopped.isEmpty())
        return s;
    Connection::Transaction tx(DB());
    // Read again inside the transaction: nothing imported meanwhile is booked twice.
    Mark_Already(plan);
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    QMap<QDate, int> sets;
    QHash<int, int> newContributor; // donor -> ID
    for (int i = 0; i < plan.gifts.size(); ++i) {
        const Gift& g = plan.gifts.at(i);
        if (plan.already.at(i)) {
            const bool own = g.transactionID.startsWith(QLatin1String("row:"));
            s.skipped << QStringLiteral("Line %1: %2 was imported before")
                             .arg(g.line)
                             .arg(own ? QStringLiteral("the same gift") : QStringLiteral("transaction ") + g.transactionID);
            continue;
        }
        const int d = plan.donorOf.at(i);
        const Donor& donor = plan.donors.at(d);
        int contributorID = donor.contributorID;
        if (donor.how == How::New) {
            if (!newContributor.contains(d)) {
                clsContributors c;
                c.ID(c.Next_ID());
                c.LastName(donor.lastName);
                c.FirstNames(donor.firstNames);
                c.Save_to_DB();
                newContributor.insert(d, c.ID());
                ++s.newContributors;
            }
            contributorID = newContributor.value(d);
        }
        if (contributorID <= 0) {
            s.refused << QStringLiteral("Line %1: %2 is not matched to a contributor")
                             .arg(g.line)
                             .arg(NameJoin(donor.lastName, donor.firstNames, false));
            continue;
        }
        auto set = sets.find(g.deposit);
        if (set == sets.end()) {
            clsCollection c;
            c.ID(c.Next_ID());
            c.CollectionDate(g.deposit);
            c.Notation(QStringLiteral("Online gifts ") + plan.fileName);
            c.Save_to_DB();
            set = sets.insert(g.deposit, c.ID());
            s.collectionIDs << c.ID();
        }
        clsOffering o;
        o.ContributorID(contributorID);
        o.CollectionID(*set);
        o.FundID(Fund_Of(plan, i));
        o.Amount(double(g.cents) / 100.0);
        o.Add_Record_to_DB();
        DB().Execute(QStringLiteral("INSERT INTO OnlineGiftImported (TransactionID, CollectionID, OfferingID, "
                                    "ContributorID, ImportedAt) VALUES (")
                     + TextLiteral(g.transactionID) + QStringLiteral(", ") + QString::number(*set) + QStringLiteral(", ")
                     + QString::number(o.ID()) + QStringLiteral(", ") + QString::number(contributorID)
                     + QStringLiteral(", ") + TextLiteral(stamp) + QStringLiteral(");"));
        ++s.gifts;
        if (g.cents < 0)
            ++s.refunds;
        s.cents += g.cents;
        s.feeCents += g.feeCents;
    }
    for (const Designation& des : plan.designations)
        if (des.mapped)
            DB().Execute(QStringLiteral("INSERT OR REPLACE INTO OnlineGiftFund (Designation, FundID) VALUES (")
                         + TextLiteral(des.text) + QStringLiteral(", ") + QString::number(des.fundID)
                         + QStringLiteral(");"));
    tx.Commit();
    return s;
}

QStringList Summary_Lines(const Summary& s)
{
    if (!s.stopped.isEmpty())
        return QStringList{QStringLiteral("Nothing imported.")} + s.stopped;
    QStringList lines;
    lines << QStringLiteral("Gifts imported: %1, in %2 collection set(s)").arg(s.gifts).arg(s.collectionIDs.size());
    if (s.refunds > 0)
        lines << QStringLiteral("Refunds booked as corrections: %1").arg(s.refunds);
    lines << QStringLiteral("Total of the gifts: %1").arg(Money(s.cents));
    lines << QStringLiteral("Fees kept by the platform (not booked): %1").arg(Money(s.feeCents));
    if (s.newContributors > 0)
        lines << QStringLiteral("New contributors: %1").arg(s.newContributors);
    if (!s.refused.isEmpty()) {
        lines << QStringLiteral("Not imported, no contributor: %1").arg(s.refused.size());
        lines << s.refused;
    }
    if (!s.skipped.isEmpty()) {
        lines << QStringLiteral("Skipped, imported before: %1").arg(s.skipped.size());
        lines << s.skipped;
    }
    return lines;
}

} // namespace GiftImport
