#include "StatementTables.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "core/modDBConnection.h"

#include <QDir>
#include <array>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

using namespace modGlobal;
using Type = ReportTable::Type;
using modDBConnection::DateLiteral;

namespace Statements {

const QString kAllZip = QStringLiteral("All - Zip Code Order");
const QString kAllName = QStringLiteral("All - Alphabetical Order");
const QString kLoose = QStringLiteral("<Loose Offering>");

namespace {
const QString kCrLf = QStringLiteral("\r\n");

struct FundInfo {
    QString name;
    bool taxDeductible = false;
};

// Every fund once, so that a run of thousands of statements does not ask
// for a fund's name thousands of times.
class FundNames {
public:
    FundNames()
    {
        Recordset rs(QStringLiteral("SELECT ID, FundName, IsTaxDeductible FROM Funds;"), DB(), Recordset::Cursor::ForwardOnly);
        for (; !rs.Eof(); rs.MoveNext())
            m_funds.insert(FieldLong(rs.Field(0)), {FieldText(rs.Field(1)), FieldBool(rs.Field(2))});
        m_main = m_funds.value(1).name;
    }
    // The fund display name: a main fund by its year and the main fund's name.
    QString Display(int id) const
    {
        return id < 0 ? QString::number(-id) + QLatin1Char(' ') + m_main : m_funds.value(id).name;
    }
    bool Included(int id) const { return id < 0 || m_funds.value(id).taxDeductible; }

private:
    QHash<int, FundInfo> m_funds;
    QString m_main;
};

struct Gift {
    int fund;
    double amount;
    QDate date;
    QString comment;
    int set; // collection set
    int id;  // order of entry
};

struct Person {
    int id = 0;
    QString last, first, address1, address2, city, state, zip;
};

Person Read_Person(const Recordset& rs)
{
    Person p;
    p.id = FieldLong(rs.Field(QStringLiteral("ID")));
    p.last = FieldText(rs.Field(QStringLiteral("LastName")));
    p.first = FieldText(rs.Field(QStringLiteral("FirstNames")));
    p.address1 = FieldText(rs.Field(QStringLiteral("Address1")));
    p.address2 = FieldText(rs.Field(QStringLiteral("Address2")));
    p.city = FieldText(rs.Field(QStringLiteral("City")));
    p.state = FieldText(rs.Field(QStringLiteral("State")));
    p.zip = FieldText(rs.Field(QStringLiteral("ZipCode")));
    return p;
}

// The contributors of the run, in the order read; the loose offering has
// no row and is one person of its own.
std::vector<Person> Run_People(const Choice& choice)
{
    std::vector<Person> people;
    if (!choice.All() && choice.contributorID == 1) {
        Person loose;
        loose.id = 1;
        people.push_back(loose);
        return people;
    }
    QString sql = QStringLiteral("SELECT * FROM Contributors");
    if (!choice.All())
        sql += QStringLiteral(" WHERE ID = ") + QString::number(choice.contributorID);
    Recordset rs(sql + QLatin1Char(';'), DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        people.push_back(Read_Person(rs));
    return people;
}

// Restricts a query over offerings (or comments) to the run's contributors.
QString Who(const Choice& choice, const QString& table = QStringLiteral("Offering"))
{
    return choice.All() ? QString()
                        : QStringLiteral(" AND (") + table + QStringLiteral(".ContributorID = ") + QString::number(choice.contributorID)
            + QLatin1Char(')');
}

void Zero(ReportTable& t, std::initializer_list<const char*> fields)
{
    for (const char* f : fields)
        t.Set(QLatin1String(f), 0.0);
}

class Builder {
public:
    Builder(Tables& t, const Choice& choice, const QDate& begin, const QDate& end)
        : m_t(t), m_choice(choice), m_begin(begin), m_end(end), m_fund1(-end.year())
    {
        m_church.Get_One_Record(QStringLiteral("ID = 1"));
        m_churchInfo = m_church.ChurchName() + kCrLf + m_church.FullAddress(true) + kCrLf + m_church.Phone();
        m_irs = m_church.IRSStatement();
        m_irs.replace(kCrLf, QStringLiteral(" "));
        m_header = QStringLiteral("Statement of Contributions Received Between ") + LongDate(begin) + QStringLiteral(" and ")
            + LongDate(end);
        Read_Pledges();
        Read_Gifts();
    }

    void Run(const std::vector<Person>& people, const Progress& progress)
    {
        // The funds of every contributor first, so that what was paid before
        // the range is read in one query for all of them.
        std::vector<std::array<int, 3>> funds;
        funds.reserve(people.size());
        QSet<int> pledgeFunds{m_fund1};
        for (const Person& p : people) {
            funds.push_back(Statement_Funds(p.id));
            pledgeFunds.insert(funds.back()[1]);
        }
        Read_Paid_Before(pledgeFunds);
        // A line per gift at most, or one for a contributor without any.
        qsizetype gifts = 0;
        for (const std::vector<Gift>& g : std::as_const(m_gifts))
            gifts += qsizetype(g.size());
        m_t.lines.Reserve(int(std::min<qsizetype>(m_t.lines.RowCount() + gifts + qsizetype(people.size()), INT_MAX)));
        m_t.summaries.Reserve(m_t.summaries.RowCount() + int(people.size()));
        for (size_t i = 0; i < people.size(); ++i) {
            Statement(people[i], funds[i]);
            if (progress)
                progress(int(i) + 1, int(people.size()));
        }
    }

private:
    void Read_Pledges()
    {
        // Rows in key order, as one contributor's pledges would be read.
        QString sql = QStringLiteral("SELECT ContributorID, FundID, Amount, IsInactive FROM Pledges");
        if (!m_choice.All())
            sql += QStringLiteral(" WHERE ContributorID = ") + QString::number(m_choice.contributorID);
        Recordset rs(sql + QStringLiteral(" ORDER BY ContributorID, ID;"), DB(), Recordset::Cursor::ForwardOnly);
        for (; !rs.Eof(); rs.MoveNext()) {
            const int c = FieldLong(rs.Field(0)), f = FieldLong(rs.Field(1));
            const quint64 key = Key(c, f);
            if (!m_pledge.contains(key))
                m_pledge.insert(key, FieldDouble(rs.Field(2)));
            if (!FieldBool(rs.Field(3)))
                m_activeFunds[c].push_back(f);
        }
    }

    void Read_Gifts()
    {
        // A contributor's comment on a set, read apart: joined to every
        // gift, a second comment on the same set would count the gifts
        // twice. The first one written is the one shown.
        const QString range = QStringLiteral(" WHERE (Collection.CollectionDate >= ") + DateLiteral(m_begin)
            + QStringLiteral(") AND (Collection.CollectionDate <= ") + DateLiteral(m_end) + QLatin1Char(')');
        QHash<quint64, QString> comments;
        Recordset notes(QStringLiteral("SELECT ColComment.CollectionID, ColComment.ContributorID, ColComment.Comment"
                                       " FROM ColComment INNER JOIN Collection ON ColComment.CollectionID = Collection.ID")
                            + range + Who(m_choice, QStringLiteral("ColComment")) + QStringLiteral(" ORDER BY ColComment.ID;"),
                        DB(), Recordset::Cursor::ForwardOnly);
        for (; !notes.Eof(); notes.MoveNext()) {
            const quint64 key = Key(FieldLong(notes.Field(0)), FieldLong(notes.Field(1)));
            if (!comments.contains(key))
                comments.insert(key, TrimBlanks(FieldText(notes.Field(2))));
        }
        // Sorted here, each contributor's few dozen apart, rather than by
        // the engine as one list of the whole church.
        Recordset rs(QStringLiteral("SELECT Offering.ContributorID, Offering.FundID, Offering.Amount, Collection.CollectionDate,"
                                    " Offering.CollectionID, Offering.ID"
                                    " FROM Offering INNER JOIN Collection ON Offering.CollectionID = Collection.ID")
                         + range + Who(m_choice, QStringLiteral("Offering")) + QLatin1Char(';'),
                     DB(), Recordset::Cursor::ForwardOnly);
        for (; !rs.Eof(); rs.MoveNext()) {
            const int contributor = FieldLong(rs.Field(0)), set = FieldLong(rs.Field(4));
            m_gifts[contributor].push_back({FieldLong(rs.Field(1)), FieldDouble(rs.Field(2)), FieldDate(rs.Field(3)),
                                            comments.value(Key(set, contributor)), set, FieldLong(rs.Field(5))});
        }
        // Gifts of one date keep the order of their collection sets and of
        // their entry, so lines come out the same from run to run.
        for (std::vector<Gift>& gifts : m_gifts)
            std::sort(gifts.begin(), gifts.end(), [](const Gift& a, const Gift& b) {
                return std::tie(a.date, a.set, a.id) < std::tie(b.date, b.set, b.id);
            });
    }

    // Included gifts to the pledge funds dated before the range, however
    // early, summed per contributor and fund.
    void Read_Paid_Before(const QSet<int>& pledgeFunds)
    {
        QStringList ids;
        for (int f : pledgeFunds)
            if (f != 0)
                ids << QString::number(f);
        if (ids.isEmpty())
            return;
        std::sort(ids.begin(), ids.end());
        Recordset rs(QStringLiteral("SELECT Offering.ContributorID, Offering.FundID, Offering.Amount"
                                    " FROM Offering LEFT JOIN Collection ON Offering.CollectionID = Collection.ID"
                                    " WHERE ((Collection.CollectionDate < ")
                         + DateLiteral(m_begin) + QStringLiteral(") AND (Collection.CollectionDate <= ") + DateLiteral(m_end)
                         + QStringLiteral(") AND (Offering.FundID IN (") + ids.join(QLatin1Char(',')) + QStringLiteral("))")
                         + Who(m_choice) + QStringLiteral(");"),
                     DB(), Recordset::Cursor::ForwardOnly);
        for (; !rs.Eof(); rs.MoveNext()) {
            const int fund = FieldLong(rs.Field(1));
            if (m_funds.Included(fund))
                m_before[Key(FieldLong(rs.Field(0)), fund)] += FieldDouble(rs.Field(2));
        }
    }

    static quint64 Key(int contributor, int fund) { return (quint64(quint32(contributor)) << 32) | quint32(fund); }

    // Fund 1 is the main fund of the range's last year; funds 2 and 3 the
    // church's defaults, or where one is unset the contributor's active
    // pledges, then the funds given to in the range, lowest first.
    std::array<int, 3> Statement_Funds(int contributor) const
    {
        std::array<int, 3> f{m_fund1, m_church.DefaultFund2(), m_church.DefaultFund3()};
        auto offer = [&f](int fund) {
            if (fund == f[0] || fund == f[1] || fund == f[2])
                return;
            if (f[1] == 0)
                f[1] = fund;
            else if (f[2] == 0)
                f[2] = fund;
        };
        if (f[1] != 0 && f[2] != 0)
            return f;
        for (int fund : m_activeFunds.value(contributor))
            offer(fund);
        if (f[1] == 0 || f[2] == 0) {
            std::vector<int> given;
            for (const Gift& g : Gifts_Of(contributor))
                given.push_back(g.fund);
            std::sort(given.begin(), given.end());
            for (int fund : given)
                offer(fund);
        }
        return f;
    }

    void Summary(const Person& p, const std::array<int, 3>& f)
    {
        ReportTable& s = m_t.summaries;
        s.AddNew();
        s.Set(QStringLiteral("ContributorID"), p.id);
        s.Set(QStringLiteral("ChurchInfo"), m_churchInfo);
        if (p.id == 1) {
            s.Set(QStringLiteral("ContributorInfo"), QStringLiteral("Loose Offering"));
            s.Set(QStringLiteral("SortField"), QString());
        } else {
            s.Set(QStringLiteral("ContributorInfo"), NameJoin(p.last, p.first, false) + kCrLf
                                                         + AddressJoin(p.address1, p.address2, p.city, p.state, p.zip, true));
            s.Set(QStringLiteral("SortField"), Sort_Key(m_choice.zipOrder, p.zip, p.last, p.first));
        }
        s.Set(QStringLiteral("HeaderLine"), m_header);
        s.Set(QStringLiteral("MainFund"), HeadingWrap(m_funds.Display(f[0]), 3));
        s.Set(QStringLiteral("SecondFund"), HeadingWrap(m_funds.Display(f[1]), 3));
        s.Set(QStringLiteral("ThirdFund"), HeadingWrap(m_funds.Display(f[2]), 3));
        s.Set(QStringLiteral("MainTitle"), m_funds.Display(f[0]));
        s.Set(QStringLiteral("SecondTitle"), m_funds.Display(f[1]));
        s.Set(QStringLiteral("ThirdTitle"), m_funds.Display(f[2]));
        s.Set(QStringLiteral("IRS"), m_irs);
    }

    void New_Line(int contributor, const QDate& date)
    {
        ReportTable& l = m_t.lines;
        l.AddNew();
        l.Set(QStringLiteral("ContributorID"), contributor);
        l.Set(QStringLiteral("ContDate"), date.isValid() ? QVariant(date) : QVariant());
        Zero(l, {"MainAmount", "SecondAmount", "ThirdAmount", "OtherAmount"});
        l.Set(QStringLiteral("OtherDesc"), QString());
    }

    void Add_Line(int contributor, const Gift& g, const std::array<int, 3>& f)
    {
        ReportTable& l = m_t.lines;
        const QString column = g.fund == f[0] ? QStringLiteral("MainAmount")
            : g.fund == f[1]                  ? QStringLiteral("SecondAmount")
            : g.fund == f[2]                  ? QStringLiteral("ThirdAmount")
                                              : QStringLiteral("OtherAmount");
        const int cur = l.Current();
        if (l.IsEmpty() || l.Integer(cur, QStringLiteral("ContributorID")) != contributor
            || l.Value(cur, QStringLiteral("ContDate")).toDate() != g.date || !AmountIsZero(l.Double(cur, column)))
            New_Line(contributor, g.date);
        l.Set(column, g.amount);
        if (column == QStringLiteral("OtherAmount"))
            l.Set(QStringLiteral("OtherDesc"), m_funds.Display(g.fund));
        if (l.Text(l.Current(), QStringLiteral("OtherDesc")).isEmpty())
            l.Set(QStringLiteral("OtherDesc"), g.comment);
    }

    void Statement(const Person& p, const std::array<int, 3>& f)
    {
        bool hasSummary = false;
        for (const Gift& g : Gifts_Of(p.id)) {
            if (!m_funds.Included(g.fund))
                continue;
            if (!hasSummary) {
                Summary(p, f);
                hasSummary = true;
            }
            Add_Line(p.id, g, f);
        }
        if (!hasSummary) {
            const bool chosen = !m_choice.All() && m_choice.contributorID == p.id;
            if (!chosen && AmountIsZero(m_pledge.value(Key(p.id, f[0]))))
                return;
            Summary(p, f);
            New_Line(p.id, QDate());
        }
        Position(p.id, f);
        // Nothing reads them again: letting them go as the lines grow keeps
        // a large church's run from holding both whole at once.
        m_gifts.remove(p.id);
    }

    const std::vector<Gift>& Gifts_Of(int contributor) const
    {
        static const std::vector<Gift> none;
        const auto found = m_gifts.constFind(contributor);
        return found == m_gifts.constEnd() ? none : *found;
    }

    // The pledge position of funds 1 and 2 and the range's totals per column.
    void Position(int contributor, const std::array<int, 3>& f)
    {
        ReportTable& s = m_t.summaries;
        Zero(s, {"MainPledged", "MainPrePaid", "MainPaidNow", "MainRemaining", "SecondPledged", "SecondPrePaid",
                 "SecondPaidNow", "SecondRemaining", "YTDMain", "YTDSecond", "YTDThird", "YTDOther", "YTDTotal"});
        const double mainPledged = m_pledge.value(Key(contributor, f[0]));
        const double secondPledged = f[1] == 0 ? 0.0 : m_pledge.value(Key(contributor, f[1]));
        double mainNow = 0, secondNow = 0, third = 0, other = 0, total = 0;
        for (const Gift& g : Gifts_Of(contributor)) {
            if (!m_funds.Included(g.fund))
                continue;
            if (g.fund == f[0])
                mainNow += g.amount;
            else if (g.fund == f[1])
                secondNow += g.amount;
            else if (g.fund == f[2])
                third += g.amount;
            else
                other += g.amount;
            total += g.amount;
        }
        const double mainBefore = m_before.value(Key(contributor, f[0]));
        const double secondBefore = f[1] == 0 ? 0.0 : m_before.value(Key(contributor, f[1]));
        s.Set(QStringLiteral("MainPledged"), mainPledged);
        s.Set(QStringLiteral("MainPrePaid"), mainBefore);
        s.Set(QStringLiteral("MainPaidNow"), mainNow);
        s.Set(QStringLiteral("MainRemaining"), std::max(0.0, mainPledged - (mainBefore + mainNow)));
        s.Set(QStringLiteral("SecondPledged"), secondPledged);
        s.Set(QStringLiteral("SecondPrePaid"), secondBefore);
        s.Set(QStringLiteral("SecondPaidNow"), secondNow);
        s.Set(QStringLiteral("SecondRemaining"), std::max(0.0, secondPledged - (secondBefore + secondNow)));
        s.Set(QStringLiteral("YTDMain"), mainNow);
        s.Set(QStringLiteral("YTDSecond"), secondNow);
        s.Set(QStringLiteral("YTDThird"), third);
        s.Set(QStringLiteral("YTDOther"), other);
        s.Set(QStringLiteral("YTDTotal"), total);
    }

    Tables& m_t;
    Choice m_choice;
    QDate m_begin, m_end;
    int m_fund1;
    clsChurch m_church;
    QString m_churchInfo, m_irs, m_header;
    FundNames m_funds;
    QHash<quint64, double> m_pledge;            // first pledge per contributor and fund
    QHash<int, std::vector<int>> m_activeFunds; // funds of active pledges, in key order
    QHash<int, std::vector<Gift>> m_gifts;      // gifts in the range, by date
    QHash<quint64, double> m_before;            // included gifts before the range
};
} // namespace

QList<WhichItem> Which_List()
{
    QList<WhichItem> items{{kAllZip, 0}, {kAllName, 0}, {kLoose, 1}};
    Recordset rs(QStringLiteral("SELECT ID, LastName, FirstNames FROM Contributors WHERE IsInactive = ") + modDBConnection::BoolLiteral(false)
                     + QStringLiteral(" ORDER BY LastName, FirstNames;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        items.push_back({NameJoin(FieldText(rs.Field(1)), FieldText(rs.Field(2)), true), FieldLong(rs.Field(0))});
    return items;
}

Choice Choice_Of(const WhichItem& item)
{
    Choice c;
    c.zipOrder = item.text == kAllZip;
    c.alphaOrder = item.text == kAllName;
    c.contributorID = item.data;
    return c;
}

QDate Default_Begin(const QDate& today)
{
    return QDate(today.year(), 1, 1);
}

QDate Default_End(const QDate& today)
{
    return QDate(today.year(), today.month(), 1).addDays(-1);
}

QString Sort_Key(bool zipOrder, const QString& zip, const QString& lastName, const QString& firstNames)
{
    QString key = TrimBlanks(lastName) + QLatin1Char(' ') + TrimBlanks(firstNames);
    if (zipOrder)
        key.prepend(TrimBlanks(zip));
    return key.left(80);
}

Tables Empty_Tables()
{
    Tables t;
    ReportTable& l = t.lines;
    l.AppendField(QStringLiteral("ContributorID"), Type::BigInt);
    l.AppendField(QStringLiteral("ContDate"), Type::Date);
    for (const char* f : {"MainAmount", "SecondAmount", "ThirdAmount", "OtherAmount"})
        l.AppendField(QLatin1String(f), Type::Double);
    l.AppendField(QStringLiteral("OtherDesc"), Type::Text, 50);

    ReportTable& s = t.summaries;
    s.AppendField(QStringLiteral("ContributorID"), Type::BigInt);
    s.AppendField(QStringLiteral("ChurchInfo"), Type::Text, 300);
    s.AppendField(QStringLiteral("ContributorInfo"), Type::Text, 300);
    s.AppendField(QStringLiteral("HeaderLine"), Type::Text, 150);
    // Room for the longest fund name with its year and line breaks: a
    // heading cut short would print a fund that does not exist.
    for (const char* f : {"MainFund", "SecondFund", "ThirdFund"})
        s.AppendField(QLatin1String(f), Type::Text, 80);
    s.AppendField(QStringLiteral("SortField"), Type::Text, 80);
    s.AppendField(QStringLiteral("MainTitle"), Type::Text, 100);
    for (const char* f : {"MainPledged", "MainPrePaid", "MainPaidNow", "MainRemaining"})
        s.AppendField(QLatin1String(f), Type::Double);
    s.AppendField(QStringLiteral("SecondTitle"), Type::Text, 100);
    for (const char* f : {"SecondPledged", "SecondPrePaid", "SecondPaidNow", "SecondRemaining", "YTDMain", "YTDSecond",
                          "YTDThird", "YTDOther", "YTDTotal"})
        s.AppendField(QLatin1String(f), Type::Double);
    s.AppendField(QStringLiteral("ThirdTitle"), Type::Text, 100);
    s.AppendField(QStringLiteral("IRS"), Type::Text, 300);
    return t;
}

Tables Build(const Choice& choice, const QDate& begin, const QDate& end, const Progress& progress)
{
    Tables t = Empty_Tables();
    if (!choice.Any())
        return t;
    Builder b(t, choice, begin, end);
    b.Run(Run_People(choice), progress);
    return t;
}

QString Safe_File_Name(const QString& text)
{
    QString name;
    name.reserve(text.size());
    for (const QChar ch : text) {
        // Characters no file system takes, none that could lead out of the
        // chosen folder, and no control or direction-changing characters,
        // which would make a name read otherwise than it is.
        const QChar::Category cat = ch.category();
        if (cat == QChar::Other_Control || cat == QChar::Other_Format)
            continue;
        name += QStringLiteral("/\\:*?\"<>|").contains(ch) ? QLatin1Char('_') : ch;
    }
    // No hidden file, and nothing a file system drops at the end.
    auto blankOrDot = [](QChar c) { return c == QLatin1Char('.') || c.isSpace(); };
    while (!name.isEmpty() && blankOrDot(name.front()))
        name.remove(0, 1);
    // At most 120 characters and well under the 255 bytes most file systems
    // allow, room left for " (2)" and ".pdf"; never half a character.
    constexpr int kMostCharacters = 120, kMostBytes = 200;
    int characters = 0, bytes = 0;
    qsizetype end = 0;
    while (end < name.size()) {
        const bool pair = name.at(end).isHighSurrogate() && end + 1 < name.size() && name.at(end + 1).isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(name.at(end), name.at(end + 1)) : name.at(end).unicode();
        const int size = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (characters + 1 > kMostCharacters || bytes + size > kMostBytes)
            break;
        ++characters;
        bytes += size;
        end += pair ? 2 : 1;
    }
    name.truncate(end);
    while (!name.isEmpty() && blankOrDot(name.back()))
        name.chop(1);
    // Names Windows keeps for its devices, with or without an extension.
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(name).hasMatch())
        name.insert(name.indexOf(QLatin1Char('.')) < 0 ? name.size() : name.indexOf(QLatin1Char('.')), QLatin1Char('_'));
    return name;
}

QHash<int, QString> File_Names(const ReportTable& summaries, int mainFund)
{
    QHash<int, int> envelope;
    Recordset rs(QStringLiteral("SELECT ContributorID, AccountNumber FROM Pledges WHERE FundID = ") + QString::number(mainFund)
                     + QStringLiteral(" ORDER BY ContributorID, ID;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext())
        if (const int c = FieldLong(rs.Field(0)); !envelope.contains(c))
            envelope.insert(c, FieldLong(rs.Field(1)));
    QHash<int, QString> shown;
    Recordset people(QStringLiteral("SELECT ID, LastName, FirstNames FROM Contributors;"), DB(), Recordset::Cursor::ForwardOnly);
    for (; !people.Eof(); people.MoveNext())
        shown.insert(FieldLong(people.Field(0)), NameJoin(FieldText(people.Field(1)), FieldText(people.Field(2)), true));

    QHash<int, QString> names;
    QSet<QString> used; // case-blind: names differing only in case are one file on some disks
    for (int r = 0; r < summaries.RowCount(); ++r) {
        const int id = int(summaries.Integer(r, QStringLiteral("ContributorID")));
        QString name;
        if (id == 1) {
            name = QStringLiteral("Loose Offering");
        } else {
            name = Safe_File_Name(shown.value(id));
            if (name.isEmpty())
                name = QStringLiteral("Contributor %1").arg(id);
            if (const int env = envelope.value(id); env > 0)
                name = QStringLiteral("%1 ").arg(env, 4, 10, QLatin1Char('0')) + name;
        }
        QString unique = name;
        for (int n = 2; used.contains(unique.toCaseFolded()); ++n)
            unique = name + QStringLiteral(" (%1)").arg(n);
        used.insert(unique.toCaseFolded());
        names.insert(id, unique);
    }
    return names;
}

QString Check::Text() const
{
    auto some = [](const QStringList& list) {
        QStringList shown = list.mid(0, 8);
        for (QString& s : shown)
            s.prepend(QStringLiteral("     "));
        if (list.size() > 8)
            shown << QStringLiteral("     ... and %1 more").arg(list.size() - 8);
        return shown.join(QLatin1Char('\n'));
    };
    QStringList parts;
    if (!noAddress.isEmpty())
        parts << QStringLiteral("%1 contributor(s) in the run have no address:\n").arg(noAddress.size()) + some(noAddress);
    if (!inactiveFunds.isEmpty())
        parts << QStringLiteral("Gifts in the range went to inactive funds:\n") + some(inactiveFunds);
    if (!emptySets.isEmpty())
        parts << QStringLiteral("%1 collection set(s) in the range have no offering:\n").arg(emptySets.size()) + some(emptySets);
    return parts.join(QStringLiteral("\n\n"));
}

Check Pre_Run_Check(const Choice& choice, const Tables& tables, const QDate& begin, const QDate& end)
{
    Check check;
    QSet<int> inRun;
    for (int r = 0; r < tables.summaries.RowCount(); ++r)
        inRun.insert(int(tables.summaries.Integer(r, QStringLiteral("ContributorID"))));

    // A statement can only be mailed with a street and a city or zip code.
    Recordset rs(QStringLiteral("SELECT * FROM Contributors ORDER BY LastName, FirstNames;"), DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const Person p = Read_Person(rs);
        if (!inRun.contains(p.id))
            continue;
        const bool street = !TrimBlanks(p.address1).isEmpty() || !TrimBlanks(p.address2).isEmpty();
        const bool place = !TrimBlanks(p.city).isEmpty() || !TrimBlanks(p.zip).isEmpty();
        if (!street || !place)
            check.noAddress << NameJoin(p.last, p.first, true);
    }

    const QString range = QStringLiteral("(Collection.CollectionDate >= ") + DateLiteral(begin)
        + QStringLiteral(") AND (Collection.CollectionDate <= ") + DateLiteral(end) + QLatin1Char(')');
    QString who = Who(choice);
    if (choice.All())
        who = QStringLiteral(" AND (Offering.ContributorID > 1)");
    Recordset funds(QStringLiteral("SELECT Funds.FundName, Count(Offering.ID) AS Gifts, Sum(Offering.Amount) AS Total"
                                   " FROM (Offering INNER JOIN Collection ON Offering.CollectionID = Collection.ID)"
                                   " INNER JOIN Funds ON Offering.FundID = Funds.ID WHERE (")
                        + range + QStringLiteral(" AND (Funds.IsInactive = ") + modDBConnection::BoolLiteral(true) + QLatin1Char(')') + who
                        + QStringLiteral(") GROUP BY Funds.FundName ORDER BY Funds.FundName;"),
                    DB(), Recordset::Cursor::ForwardOnly);
    for (; !funds.Eof(); funds.MoveNext())
        check.inactiveFunds << QStringLiteral("%1: %2 gift(s), %3")
                                   .arg(FieldText(funds.Field(0)))
                                   .arg(FieldLong(funds.Field(1)))
                                   .arg(FormatAmount(RoundCents(FieldDouble(funds.Field(2)))));

    Recordset sets(QStringLiteral("SELECT Collection.ID, Collection.CollectionDate, Collection.Notation FROM Collection WHERE (")
                       + range
                       + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM Offering WHERE Offering.CollectionID = Collection.ID))"
                                        " ORDER BY Collection.CollectionDate, Collection.ID;"),
                   DB(), Recordset::Cursor::ForwardOnly);
    for (; !sets.Eof(); sets.MoveNext()) {
        QString text = ShortDate(FieldDate(sets.Field(1))) + QStringLiteral(", #") + QString::number(FieldLong(sets.Field(0)));
        if (const QString n = TrimBlanks(FieldText(sets.Field(2))); !n.isEmpty())
            text += QStringLiteral(", ") + n;
        check.emptySets << text;
    }
    return check;
}

} // namespace Statements
