#include "SampleData.h"

#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "storage/Schema.h"
#include "storage/clsChurch.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <cmath>
#include <vector>

using namespace modDBConnection;

namespace SampleData {

namespace {

// splitmix64: the same numbers on every platform and library, unlike the
// standard distributions.
class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed) {}
    quint64 Next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return int(Next() % quint64(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T, size_t N>
    const T& Pick(const T (&items)[N]) { return items[Below(int(N))]; }

private:
    quint64 m_state;
};

const char* const kLastNames[] = {
    "Smith", "Johnson", "Williams", "Brown", "Jones", "Miller", "Davis", "García", "Rodríguez", "Wilson",
    "Martínez", "Anderson", "Taylor", "Thomas", "Hernández", "Moore", "Martin", "Jackson", "Thompson", "White",
    "O'Brien", "O'Neil", "D'Angelo", "Müller", "Nguyen", "Lefèvre", "Björk", "Kowalski", "McAllister", "Van der Berg",
    "Peterson", "Olsen", "Schmidt", "Clark", "Lewis", "Robinson", "Walker", "Young", "Allen", "King",
    "Wright", "Scott", "Torres", "Hill", "Green", "Adams", "Baker", "Nelson", "Carter", "Mitchell"};
const char* const kFirstNames[] = {
    "John", "Mary", "Robert", "Patricia", "James", "Linda", "Michael", "Barbara", "William", "Elizabeth",
    "David", "Jennifer", "Richard", "Maria", "Joseph", "Susan", "Thomas", "Margaret", "Charles", "Dorothy",
    "Zoë", "José", "Renée", "Chloé", "Seán", "Anneliese", "Bob", "Roberta", "Dan", "Ruth"};
const char* const kStreets[] = {"Main St", "Oak Ave", "Elm St", "Church Rd", "Maple Dr", "Cedar Ln", "Pine St",
                                "Lakeview Ter", "Hillcrest Blvd", "River Rd"};
const char* const kCities[] = {"Springfield", "Riverside", "Franklin", "Greenville", "Fairview", "Salem"};
const char* const kStates[] = {"IL", "OH", "PA", "MN", "WI", "IN"};
const char* const kComments[] = {"Check", "In memory of Grandma Ruth", "Cash", "For the youth trip",
                                 "Thank you!", "Correction of last week", "Anniversary gift", "Honoring the choir"};
const char* const kNotations[] = {"Easter Sunday", "Christmas Eve", "Thanksgiving", "Homecoming", "Pentecost"};

struct FundSpec {
    const char* name;
    bool pledgeable, taxDeductible, inactive;
};
const FundSpec kFunds[] = {
    {"Building Fund", true, true, false},     {"Missions", true, true, false},
    {"Memorial Fund", false, true, false},    {"Flowers", false, false, false},
    {"Youth Mission Trip", true, true, false}, {"Benevolence", false, true, false},
    {"Old Roof Fund", true, true, true},
};

struct Person {
    int id;
    bool envelopes;
    bool inactive;
    int weeklyCents; // what this household usually gives
    int givePercent; // how often it gives
};

QString Amount(int cents)
{
    return NumberLiteral(cents / 100.0);
}

} // namespace

Counts Generate(const Params& p)
{
    Connection& db = modGlobal::DB();
    Rng rng(p.seed);
    Counts counts;
    Connection::Transaction tx(db);

    db.Execute(QStringLiteral("UPDATE Church SET ChurchName = 'Grace Fellowship Church', Address1 = '100 Church Rd', "
                              "Address2 = '', City = 'Springfield', State = 'IL', ZipCode = '62704', "
                              "Phone = '(217) 555-0100', DefaultFund2 = 2, DefaultFund3 = 3, Password = '' WHERE ID = 1;"));

    int fundId = 1;
    std::vector<int> pledgeableFunds;
    for (const FundSpec& f : kFunds) {
        ++fundId;
        db.Execute(QStringLiteral("INSERT INTO Funds (ID, FundName, IsPledgeable, IsTaxDeductible, IsInactive) VALUES (")
                   + QString::number(fundId) + QStringLiteral(", ") + TextLiteral(QString::fromUtf8(f.name))
                   + QStringLiteral(", ") + BoolLiteral(f.pledgeable) + QStringLiteral(", ") + BoolLiteral(f.taxDeductible)
                   + QStringLiteral(", ") + BoolLiteral(f.inactive) + QStringLiteral(");"));
        if (f.pledgeable && !f.inactive)
            pledgeableFunds.push_back(fundId);
        ++counts.funds;
    }
    const int firstOtherFund = 2, lastOtherFund = fundId;

    // Contributors: IDs from 2, 1 being loose offering.
    std::vector<Person> people;
    for (int i = 0; i < p.contributors; ++i) {
        const int id = i + 2;
        const QString last = QString::fromUtf8(rng.Pick(kLastNames));
        QString first = QString::fromUtf8(rng.Pick(kFirstNames));
        if (rng.Chance(30))
            first += QStringLiteral(" & ") + QString::fromUtf8(rng.Pick(kFirstNames));
        if (rng.Chance(3))
            first.clear(); // a household known by its last name only
        const bool noAddress = rng.Chance(5);
        const bool inactive = rng.Chance(8);
        const bool envelopes = !rng.Chance(15);
        const QString addr1 = noAddress ? QString() : QString::number(100 + rng.Below(9800)) + QLatin1Char(' ')
                + QString::fromLatin1(rng.Pick(kStreets));
        const QString addr2 = (!noAddress && rng.Chance(10)) ? QStringLiteral("Apt ") + QString::number(1 + rng.Below(40))
                                                             : QString();
        const QString city = noAddress ? QString() : QString::fromLatin1(rng.Pick(kCities));
        const QString state = noAddress ? QString() : QString::fromLatin1(rng.Pick(kStates));
        const QString zip = noAddress ? QString() : QString::number(60000 + rng.Below(9999));
        const QString phone = rng.Chance(12) ? QString()
                                             : QStringLiteral("(217) 555-%1").arg(rng.Below(10000), 4, 10, QLatin1Char('0'));
        db.Execute(QStringLiteral("INSERT INTO Contributors (ID, LastName, FirstNames, Address1, Address2, City, State, "
                                  "ZipCode, Phone, IsInactive, UseEnvelopes) VALUES (")
                   + QString::number(id) + QStringLiteral(", ") + TextLiteral(last) + QStringLiteral(", ")
                   + TextLiteral(first) + QStringLiteral(", ") + TextLiteral(addr1) + QStringLiteral(", ")
                   + TextLiteral(addr2) + QStringLiteral(", ") + TextLiteral(city) + QStringLiteral(", ")
                   + TextLiteral(state) + QStringLiteral(", ") + TextLiteral(zip) + QStringLiteral(", ")
                   + TextLiteral(phone) + QStringLiteral(", ") + BoolLiteral(inactive) + QStringLiteral(", ")
                   + BoolLiteral(envelopes) + QStringLiteral(");"));
        const int weekly = (5 + rng.Below(60)) * 100 + (rng.Chance(20) ? rng.Below(100) : 0);
        people.push_back({id, envelopes, inactive, weekly, inactive ? 3 : 25 + rng.Below(60)});
        ++counts.contributors;
    }

    // Pledges, year by year: envelope numbers 1, 2, ... for envelope users,
    // auxiliary numbers from 10001 for the others, per fund.
    int pledgeId = 1;
    const int firstYear = p.lastYear - p.years + 1;
    for (int year = firstYear; year <= p.lastYear; ++year) {
        const bool inactiveYear = year < p.lastYear;
        int envelope = 0, auxiliary = 10000;
        for (const Person& person : people) {
            if (person.inactive || !rng.Chance(65))
                continue;
            const int number = person.envelopes ? ++envelope : ++auxiliary;
            const int pledge = rng.Chance(5) ? 0 : person.weeklyCents * 52 / 100 * 100;
            db.Execute(QStringLiteral("INSERT INTO Pledges (ID, ContributorID, FundID, AccountNumber, Amount, Notes, "
                                      "IsInactive) VALUES (")
                       + QString::number(++pledgeId) + QStringLiteral(", ") + QString::number(person.id)
                       + QStringLiteral(", ") + QString::number(-year) + QStringLiteral(", ") + QString::number(number)
                       + QStringLiteral(", ") + Amount(pledge) + QStringLiteral(", ")
                       + TextLiteral(rng.Chance(5) ? QStringLiteral("Pledge card received late") : QString())
                       + QStringLiteral(", ") + BoolLiteral(inactiveYear) + QStringLiteral(");"));
            ++counts.pledges;
        }
        for (int fund : pledgeableFunds) {
            int aux = 10000;
            for (const Person& person : people) {
                if (person.inactive || !rng.Chance(12))
                    continue;
                db.Execute(QStringLiteral("INSERT INTO Pledges (ID, ContributorID, FundID, AccountNumber, Amount, Notes, "
                                          "IsInactive) VALUES (")
                           + QString::number(++pledgeId) + QStringLiteral(", ") + QString::number(person.id)
                           + QStringLiteral(", ") + QString::number(fund) + QStringLiteral(", ")
                           + QString::number(++aux) + QStringLiteral(", ") + Amount((1 + rng.Below(20)) * 5000)
                           + QStringLiteral(", '', ") + BoolLiteral(inactiveYear) + QStringLiteral(");"));
                ++counts.pledges;
            }
        }
    }

    // Weekly collection sets on Sundays, with their offerings.
    int collectionId = 0, offeringId = 1, commentId = 1;
    auto offering = [&](int contributor, int collection, int fund, int cents) {
        db.Execute(QStringLiteral("INSERT INTO Offering (ID, ContributorID, CollectionID, FundID, Amount) VALUES (")
                   + QString::number(++offeringId) + QStringLiteral(", ") + QString::number(contributor)
                   + QStringLiteral(", ") + QString::number(collection) + QStringLiteral(", ") + QString::number(fund)
                   + QStringLiteral(", ") + Amount(cents) + QStringLiteral(");"));
        ++counts.offerings;
    };
    QDate day(firstYear, 1, 1);
    while (day.dayOfWeek() != Qt::Sunday)
        day = day.addDays(1);
    for (; day.year() <= p.lastYear; day = day.addDays(7)) {
        const int year = day.year();
        ++collectionId;
        const QString notation = rng.Chance(6) ? QString::fromLatin1(rng.Pick(kNotations)) : QString();
        db.Execute(QStringLiteral("INSERT INTO Collection (ID, CollectionDate, Notation) VALUES (")
                   + QString::number(collectionId) + QStringLiteral(", ") + DateLiteral(day) + QStringLiteral(", ")
                   + TextLiteral(notation) + QStringLiteral(");"));
        ++counts.collections;

        offering(1, collectionId, -year, (150 + rng.Below(400)) * 100 + rng.Below(100));
        if (rng.Chance(40))
            offering(1, collectionId, firstOtherFund + rng.Below(3), (5 + rng.Below(60)) * 100);

        for (const Person& person : people) {
            if (!rng.Chance(person.givePercent))
                continue;
            int fund = -year;
            if (day.month() == 1 && rng.Chance(4))
                fund = -(year - 1); // last year's pledge paid late
            else if (day.month() == 12 && rng.Chance(4))
                fund = -(year + 1); // next year's pledge paid early
            int cents = person.weeklyCents + (rng.Chance(10) ? rng.Below(2000) : 0);
            if (rng.Chance(1))
                cents = -(500 + rng.Below(2000)); // a correction
            offering(person.id, collectionId, fund, cents);
            if (rng.Chance(15))
                offering(person.id, collectionId, firstOtherFund + rng.Below(lastOtherFund - firstOtherFund + 1),
                         (1 + rng.Below(20)) * 500);
            if (rng.Chance(2)) {
                db.Execute(QStringLiteral("INSERT INTO ColComment (ID, ContributorID, CollectionID, Comment) VALUES (")
                           + QString::number(++commentId) + QStringLiteral(", ") + QString::number(person.id)
                           + QStringLiteral(", ") + QString::number(collectionId) + QStringLiteral(", ")
                           + TextLiteral(QString::fromLatin1(rng.Pick(kComments))) + QStringLiteral(");"));
                ++counts.comments;
            }
        }
    }

    // The key generator continues after the rows written here.
    auto lastKey = [&](const char* table, int key) {
        db.Execute(QStringLiteral("DELETE FROM KeyGen WHERE TableName = '") + QLatin1String(table) + QStringLiteral("';"));
        db.Execute(QStringLiteral("INSERT INTO KeyGen (TableName, LastKey) VALUES ('") + QLatin1String(table)
                   + QStringLiteral("', ") + QString::number(key) + QStringLiteral(");"));
    };
    Schema::CreateTable(modGlobal::tiKeyGen);
    modGlobal::TableReady[modGlobal::tiKeyGen] = true;
    lastKey("Funds", fundId);
    lastKey("Contributors", p.contributors + 1);
    lastKey("Pledges", pledgeId);
    lastKey("Collection", collectionId);
    lastKey("Offering", offeringId);
    lastKey("ColComment", commentId);
    tx.Commit();
    return counts;
}

Counts CreateFile(const QString& path, const Params& p)
{
    QFile::remove(path);
    modGlobal::CloseDB();
    modGlobal::ResetTableReady();
    modGlobal::SetDB(std::make_unique<Connection>(Connection::Create(path)));
    modStartup::MakeTablesReady();
    const Counts c = Generate(p);
    modGlobal::CloseDB();
    modGlobal::ResetTableReady();
    return c;
}

} // namespace SampleData
