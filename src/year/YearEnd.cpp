#include "YearEnd.h"

#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsFunds.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"

#include <QHash>
#include <algorithm>

namespace modGlobal {

namespace {

// The ID between equal names keeps the order, and so the numbers, the same
// from one run to the next.
QString ContributorQuery()
{
    return QStringLiteral("SELECT ID, UseEnvelopes, LastName, FirstNames FROM Contributors WHERE (IsInactive = ")
           + modDBConnection::BoolLiteral(false) + QStringLiteral(") ORDER BY LastName, FirstNames, ID;");
}

bool IsOfKind(const Recordset& rs, bool envelopeUsers)
{
    return FieldLong(rs.Field(0)) >= 1 && FieldBool(rs.Field(1)) == envelopeUsers;
}

struct Existing {
    int pledgeID = 0;
    int number = 0;
};

// Each contributor's pledge to the fund; with two pledges to one fund the
// oldest counts, as in the pledge grid.
QHash<int, Existing> ExistingNumbers(int fundID)
{
    QHash<int, Existing> existing;
    Recordset rs(QStringLiteral("SELECT ID, ContributorID, AccountNumber FROM Pledges WHERE (FundID = ")
                     + QString::number(fundID) + QStringLiteral(") ORDER BY ID;"),
                 DB(), Recordset::Cursor::ForwardOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const int contributor = FieldLong(rs.Field(1));
        if (!existing.contains(contributor))
            existing.insert(contributor, {FieldLong(rs.Field(0)), FieldLong(rs.Field(2))});
    }
    return existing;
}

// Walks the contributors in numbering order and hands every one whose
// number changes to 'change'; 'step' hears of every row read.
QList<NumberChange> Walk(Recordset& rs, int fundID, int firstNumber, bool envelopeUsers,
                         const std::function<void()>& step, const std::function<void(const NumberChange&, int pledgeID)>& change)
{
    const QHash<int, Existing> existing = ExistingNumbers(fundID);
    // A new year's main-fund pledges have no numbers yet; the number a
    // contributor had before is last year's, which is what the boxes and
    // the list handed out with them are matched by.
    const QHash<int, Existing> lastYear = fundID < -1 ? ExistingNumbers(fundID + 1) : QHash<int, Existing>();
    QList<NumberChange> changes;
    int n = firstNumber;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (step)
            step();
        if (!IsOfKind(rs, envelopeUsers))
            continue;
        const int id = FieldLong(rs.Field(0));
        const Existing before = existing.value(id);
        if (before.pledgeID == 0 || before.number != n) {
            NumberChange c;
            c.contributorID = id;
            c.name = NameJoin(FieldText(rs.Field(2)), FieldText(rs.Field(3)), true);
            c.oldNumber = before.number != 0 ? before.number : lastYear.value(id).number;
            c.newNumber = n;
            c.envelope = envelopeUsers;
            if (change)
                change(c, before.pledgeID);
            changes.append(c);
        }
        ++n;
    }
    return changes;
}

} // namespace

int Contributors_To_Number(bool envelopeUsers)
{
    Recordset rs(ContributorQuery(), DB(), Recordset::Cursor::ForwardOnly);
    int count = 0;
    for (; !rs.Eof(); rs.MoveNext())
        if (IsOfKind(rs, envelopeUsers))
            ++count;
    return count;
}

QString Numbers_Preview(int count, int firstNumber)
{
    if (count <= 0)
        return QStringLiteral("No contributors to number");
    if (count == 1)
        return QStringLiteral("1 contributor: ") + QString::number(firstNumber);
    return QString::number(count) + QStringLiteral(" contributors: ") + QString::number(firstNumber)
           + QStringLiteral(" to ") + QString::number(qint64(firstNumber) + count - 1);
}

QList<NumberChange> Plan_Numbers(int fundID, int firstNumber, bool envelopeUsers)
{
    Recordset rs(ContributorQuery(), DB(), Recordset::Cursor::ForwardOnly);
    return Walk(rs, fundID, firstNumber, envelopeUsers, {}, {});
}

QList<NumberChange> Assign_Numbers(int fundID, int firstNumber, bool envelopeUsers, const Progress& progress)
{
    // The transaction holds the notices until its commit; a rollback drops them.
    Connection::Transaction transaction(DB());
    Recordset rs(ContributorQuery(), DB());
    if (rs.RecordCount() == 0)
        return {};
    const QString kind = envelopeUsers ? QStringLiteral("envelope") : QStringLiteral("auxiliary");
    if (progress.Show_Progress)
        progress.Show_Progress(rs.RecordCount(), QStringLiteral("Assigning ") + kind + QStringLiteral(" numbers for the ")
                                                     + Fund_Display_Name(fundID));
    auto step = [&progress] {
        if (progress.Increment_Progess)
            progress.Increment_Progess(1);
    };
    auto write = [fundID](const NumberChange& c, int pledgeID) {
        clsPledges pledge;
        if (pledgeID != 0)
            pledge.Get_One_Record(QStringLiteral("ID = ") + QString::number(pledgeID));
        pledge.AccountNumber(c.newNumber);
        pledge.ContributorID(c.contributorID);
        pledge.FundID(fundID);
        pledge.Save_to_DB();
    };
    QList<NumberChange> changes = Walk(rs, fundID, firstNumber, envelopeUsers, step, write);
    transaction.Commit();
    return changes;
}

int Pledges_To_Mark(int fundID, bool active)
{
    Recordset rs(QStringLiteral("SELECT ID, IsInactive FROM Pledges WHERE (FundID = ") + QString::number(fundID)
                     + QStringLiteral(");"),
                 DB(), Recordset::Cursor::ForwardOnly);
    int count = 0;
    for (; !rs.Eof(); rs.MoveNext())
        if (FieldLong(rs.Field(0)) > 0 && FieldBool(rs.Field(1)) == active)
            ++count;
    return count;
}

int Set_Pledges_Active(int fundID, bool active, const Progress& progress)
{
    Connection::Transaction transaction(DB());
    Recordset rs(QStringLiteral("SELECT ID, IsInactive FROM Pledges WHERE (FundID = ") + QString::number(fundID)
                     + QStringLiteral(");"),
                 DB());
    if (rs.RecordCount() == 0)
        return 0;
    const QString word = active ? QStringLiteral("Active") : QStringLiteral("Inactive");
    if (progress.Show_Progress)
        progress.Show_Progress(rs.RecordCount(), QStringLiteral("Marking ") + Fund_Display_Name(fundID)
                                                     + QStringLiteral(" pledges as ") + word);
    int changed = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (progress.Increment_Progess)
            progress.Increment_Progess(1);
        const int id = FieldLong(rs.Field(0));
        // A pledge already marked as asked is left as it is: no write, no notice.
        if (id <= 0 || FieldBool(rs.Field(1)) != active)
            continue;
        clsPledges pledge;
        pledge.Get_One_Record(QStringLiteral("ID = ") + QString::number(id));
        pledge.IsInactive(!active);
        pledge.Save_to_DB();
        ++changed;
    }
    transaction.Commit();
    return changed;
}

ReportTable Changed_Numbers_Table(int fundID, const QList<NumberChange>& changes)
{
    using T = ReportTable::Type;
    ReportTable table(QStringLiteral("ChangedNumbers"));
    table.AppendField(QStringLiteral("Fund"), T::Text, 40);
    table.AppendField(QStringLiteral("ContributorID"), T::Long);
    table.AppendField(QStringLiteral("Name"), T::Text, 120);
    table.AppendField(QStringLiteral("Kind"), T::Text, 10);
    table.AppendField(QStringLiteral("OldNumber"), T::Long);
    table.AppendField(QStringLiteral("NewNumber"), T::Long);
    const QString fund = Fund_Display_Name(fundID);
    for (const NumberChange& c : changes) {
        table.AddNew();
        table.Set(QStringLiteral("Fund"), fund);
        table.Set(QStringLiteral("ContributorID"), c.contributorID);
        table.Set(QStringLiteral("Name"), c.name);
        table.Set(QStringLiteral("Kind"), c.envelope ? QStringLiteral("Envelope") : QStringLiteral("Auxiliary"));
        if (c.oldNumber != 0)
            table.Set(QStringLiteral("OldNumber"), c.oldNumber);
        table.Set(QStringLiteral("NewNumber"), c.newNumber);
    }
    return table;
}

YearList Year_List(const QDate& today)
{
    const int thisYear = today.year();
    // The year of the earliest or latest collection date; 0 without any.
    auto yearOf = [](const QString& sql, const QString& field) {
        Recordset rs(sql, DB());
        return rs.Eof() || !rs.Field(field).isValid() ? 0 : FieldDate(rs.Field(field)).year();
    };
    const int minimum = yearOf(QStringLiteral("SELECT Min(CollectionDate) AS Minimum FROM Collection;"),
                               QStringLiteral("Minimum"));
    const int maximum = yearOf(QStringLiteral("SELECT Max(CollectionDate) AS Maximum FROM Collection;"),
                               QStringLiteral("Maximum"));
    const int earliest = minimum > 0 ? minimum : thisYear - 1;
    const int latest = std::max(maximum, thisYear + 1);
    YearList list;
    for (int y = earliest; y <= latest; ++y)
        list.years.append(y);
    const int preset = today.month() <= 6 ? thisYear - 1 : thisYear + 1;
    // The list is a run of consecutive years, so the nearest listed year is
    // the preset held within its ends.
    list.selected = std::clamp(preset, earliest, latest) - earliest;
    return list;
}

} // namespace modGlobal
