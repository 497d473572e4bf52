// The year-end routines without a window: numbering, activation, the year
// list of the change-of-year dialog, and the safety copies of the books.
#include "support/CoreTest.h"
#include "core/clsDBEvent.h"
#include "storage/ContributorQueries.h"
#include "core/DbError.h"
#include "year/SafetyCopy.h"
#include "year/YearEnd.h"

#include <QFileInfo>
#include <QCryptographicHash>
#include <sqlite3.h>

using namespace modGlobal;

namespace {
// Every pledge, oldest first, as "last name: fund number amount notes inactive".
QStringList Pledges()
{
    QStringList all;
    for (Recordset rs("SELECT printf('%s: %d #%d %.2f [%s] %d', LastName, FundID, AccountNumber, Amount, Notes,"
                      " Pledges.IsInactive) FROM Pledges LEFT JOIN Contributors ON Contributors.ID = ContributorID"
                      " ORDER BY Pledges.ID;",
                      DB());
         !rs.Eof(); rs.MoveNext())
        all << FieldText(rs.Field(0));
    return all;
}

QStringList Changes(const QList<NumberChange>& changes)
{
    QStringList t;
    for (const NumberChange& c : changes)
        t << c.name + ": " + QString::number(c.oldNumber) + " -> " + QString::number(c.newNumber)
                 + (c.envelope ? "" : " aux");
    return t;
}

// What a routine told its progress window: "description|count|steps".
struct ProgressLog {
    QStringList shown;
    int steps = 0;
    Progress Sink()
    {
        return {[this](int count, const QString& d) { shown << d + '|' + QString::number(count); },
                [this](int step) { steps += step; }};
    }
};

// A write the engine refuses, on the pledge of one contributor.
void RefusePledgeOf(int contributorID)
{
    for (const char* when : {"INSERT", "UPDATE"})
        DB().Execute(QString("CREATE TEMP TRIGGER refuse_%1 BEFORE %1 ON Pledges WHEN NEW.ContributorID = %2 "
                             "BEGIN SELECT RAISE(ABORT, 'injected failure'); END;")
                         .arg(when)
                         .arg(contributorID));
}
void AllowPledges()
{
    DB().Execute("DROP TRIGGER temp.refuse_INSERT; DROP TRIGGER temp.refuse_UPDATE;");
}
} // namespace

class tst_YearCore : public QObject {
    Q_OBJECT
private slots:
    void init() { m_data = std::make_unique<TestDataSet>(); }
    void cleanup()
    {
        SafetyCopy::SetNow({});
        m_data.reset();
    }
    void numbering();
    void numberingPreviewAndTable();
    void activation();
    void failureChangesNothing();
    void yearList();
    void safetyCopies();
    void copiesKeptByTheOrderTheyWereMade();
    void damagedCopiesAreNotRestored();
    void restore();
    void copyFailures();

private:
    std::unique_ptr<TestDataSet> m_data;
};

void tst_YearCore::numbering()
{
    const int building = m_data->AddFund("Building Fund");
    const int clark = m_data->AddContributor("Clark", "Cy");
    const int adams = m_data->AddContributor("Adams", "Al");
    m_data->AddContributor("Bell", "Old", true, true); // inactive, between them
    const int baker = m_data->AddContributor("Baker", "Bo");
    const int dunn = m_data->AddContributor("Dunn", "Di", false);
    m_data->AddPledge(adams, -2025, 100, 5);
    { // notes and amount must survive the numbering
        m_data->DB().Execute("UPDATE Pledges SET Notes = 'monthly' WHERE ContributorID = " + QString::number(adams));
    }
    m_data->AddPledge(clark, -2025, 50, 3);
    m_data->AddPledge(m_data->Scalar("SELECT ID FROM Contributors WHERE LastName = 'Bell'"), -2025, 40, 2);
    m_data->AddPledge(baker, building, 500, 77);
    m_data->ClearNotices();

    // Every notice must find the run committed.
    QList<bool> committedAtNotice;
    QObject::connect(DBEvent(), &clsDBEvent::DBChange,
                     [&] { committedAtNotice << (sqlite3_get_autocommit(DB().Handle()) != 0); });

    ProgressLog log;
    const QList<NumberChange> changes = Assign_Numbers(-2025, 1, true, log.Sink());
    QCOMPARE(Changes(changes), QStringList({"Adams, Al: 5 -> 1", "Baker, Bo: 0 -> 2"}));
    QCOMPARE(Pledges(), QStringList({"Adams: -2025 #1 100.00 [monthly] 0", "Clark: -2025 #3 50.00 [] 0",
                                     "Bell: -2025 #2 40.00 [] 0", "Baker: 2 #77 500.00 [] 0",
                                     "Baker: -2025 #2 0.00 [] 0"}));
    QCOMPARE(log.shown, QStringList({"Assigning envelope numbers for the 2025 Operating Fund|4"}));
    QCOMPARE(log.steps, 4);
    const int bakerPledge = int(m_data->Scalar("SELECT ID FROM Pledges WHERE FundID = -2025 AND ContributorID = "
                                               + QString::number(baker)));
    QCOMPARE(m_data->Notices(), QList<Notice>({{dbPledges, false, true, false, int(m_data->Scalar(
                                                    "SELECT ID FROM Pledges WHERE ContributorID = "
                                                    + QString::number(adams))), adams},
                                                {dbPledges, true, false, false, bakerPledge, baker}}));
    QCOMPARE(committedAtNotice, QList<bool>({true, true}));

    // Offering entry lists Baker with the new envelope number of the year.
    int listed = -1;
    for (const auto& r : ContributorQueries::With_Envelopes(2025))
        if (r.id == baker)
            listed = r.envelope;
    QCOMPARE(listed, 2);

    // A second run finds everyone numbered: nothing written, nobody told.
    m_data->ClearNotices();
    QVERIFY(Assign_Numbers(-2025, 1, true).isEmpty());
    QVERIFY(m_data->Notices().isEmpty());

    // The auxiliary run numbers only those without envelopes.
    QCOMPARE(Changes(Assign_Numbers(-2025, 10001, false)), QStringList({"Dunn, Di: 0 -> 10001 aux"}));
    QCOMPARE(m_data->Scalar("SELECT AccountNumber FROM Pledges WHERE FundID = -2025 AND ContributorID = "
                            + QString::number(dunn)),
             10001.0);
    QCOMPARE(m_data->Scalar("SELECT AccountNumber FROM Pledges WHERE ContributorID = " + QString::number(clark)), 3.0);

    // Another start renumbers everyone; a pledgeable fund gets numbers the same way.
    QCOMPARE(Changes(Assign_Numbers(building, 50, true)),
             QStringList({"Adams, Al: 0 -> 50", "Baker, Bo: 77 -> 51", "Clark, Cy: 0 -> 52"}));

    // A new year's main fund has no numbers yet: the old number handed out
    // with the boxes is the one of the year before.
    QCOMPARE(Changes(Assign_Numbers(-2026, 101, true)),
             QStringList({"Adams, Al: 1 -> 101", "Baker, Bo: 2 -> 102", "Clark, Cy: 3 -> 103"}));
    QCOMPARE(Changes(Assign_Numbers(-2026, 10001, false)), QStringList({"Dunn, Di: 10001 -> 10001 aux"}));

    // No active contributor at all: nothing happens, no progress window.
    m_data->DB().Execute("UPDATE Contributors SET IsInactive = TRUE;");
    ProgressLog none;
    QVERIFY(Assign_Numbers(-2027, 1, true, none.Sink()).isEmpty());
    QVERIFY(none.shown.isEmpty());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges WHERE FundID = -2027"), 0.0);
}

void tst_YearCore::numberingPreviewAndTable()
{
    // Equal names are numbered in the order they were entered, every time.
    const int smith1 = m_data->AddContributor("Smith", "John");
    const int smith2 = m_data->AddContributor("Smith", "John");
    m_data->AddContributor("Abbot", "Ann");
    m_data->AddContributor("Nobody", "", false);
    m_data->AddContributor("Gone", "", true, true);
    for (int run = 0; run < 2; ++run) {
        Assign_Numbers(-2025, 1, true);
        QCOMPARE(m_data->Scalar("SELECT AccountNumber FROM Pledges WHERE ContributorID = " + QString::number(smith1)), 2.0);
        QCOMPARE(m_data->Scalar("SELECT AccountNumber FROM Pledges WHERE ContributorID = " + QString::number(smith2)), 3.0);
        m_data->DB().Execute("UPDATE Pledges SET AccountNumber = 9;");
    }

    QCOMPARE(Contributors_To_Number(true), 3);
    QCOMPARE(Contributors_To_Number(false), 1);
    // The usual previews are read in the numbering dialogs' own test.
    QCOMPARE(Numbers_Preview(0, 1), "No contributors to number");
    QCOMPARE(Numbers_Preview(2, 2147483647), "2 contributors: 2147483647 to 2147483648");

    // The plan writes nothing and names the same changes the run makes.
    const QStringList before = Pledges();
    const QList<NumberChange> plan = Plan_Numbers(-2025, 1, true);
    QCOMPARE(Pledges(), before);
    QCOMPARE(Changes(plan), QStringList({"Abbot, Ann: 9 -> 1", "Smith, John: 9 -> 2", "Smith, John: 9 -> 3"}));
    QCOMPARE(Changes(Assign_Numbers(-2025, 1, true)), Changes(plan));

    // The report table of the changed numbers, value by value.
    const ReportTable t = Changed_Numbers_Table(-2025, {{smith1, "Smith, John", 0, 2, true}, {smith2, "Smith, John", 17, 10001, false}});
    QCOMPARE(t.Name(), "ChangedNumbers");
    QCOMPARE(t.FieldNames(), QStringList({"Fund", "ContributorID", "Name", "Kind", "OldNumber", "NewNumber"}));
    QCOMPARE(t.RowCount(), 2);
    QCOMPARE(t.Text(0, "Fund"), "2025 Operating Fund");
    QCOMPARE(t.Integer(0, "ContributorID"), smith1);
    QCOMPARE(t.Text(0, "Name"), "Smith, John");
    QCOMPARE(t.Text(0, "Kind"), "Envelope");
    QVERIFY(!t.Value(0, "OldNumber").isValid()); // no number before: Null, printed blank
    QCOMPARE(t.Integer(0, "NewNumber"), 2);
    QCOMPARE(t.Integer(1, "ContributorID"), smith2);
    QCOMPARE(t.Text(1, "Kind"), "Auxiliary");
    QCOMPARE(t.Integer(1, "OldNumber"), 17);
    QCOMPARE(t.Integer(1, "NewNumber"), 10001);
}

void tst_YearCore::activation()
{
    const int building = m_data->AddFund("Building Fund");
    const int a = m_data->AddContributor("Adams");
    const int b = m_data->AddContributor("Baker");
    m_data->AddPledge(a, -2024, 10, 1);
    m_data->AddPledge(b, -2024, 20, 2, true);
    m_data->AddPledge(a, -2025, 30, 1, true);
    m_data->AddPledge(b, -2025, 40, 2, true);
    m_data->AddPledge(a, building, 50);
    m_data->ClearNotices();

    QCOMPARE(Pledges_To_Mark(-2025, true), 2);
    QCOMPARE(Pledges_To_Mark(-2024, false), 1);
    ProgressLog log;
    QCOMPARE(Set_Pledges_Active(-2024, false, log.Sink()), 1);
    QCOMPARE(log.shown, QStringList({"Marking 2024 Operating Fund pledges as Inactive|2"}));
    QCOMPARE(log.steps, 2);
    QCOMPARE(m_data->Notices().size(), 1);
    QCOMPARE(Set_Pledges_Active(-2025, true), 2);
    QCOMPARE(Pledges(), QStringList({"Adams: -2024 #1 10.00 [] 1", "Baker: -2024 #2 20.00 [] 1",
                                     "Adams: -2025 #1 30.00 [] 0", "Baker: -2025 #2 40.00 [] 0",
                                     "Adams: 2 #0 50.00 [] 0"}));
    QCOMPARE(Pledges_To_Mark(-2025, true), 0);

    // A fund without pledges: nothing to do and no progress window.
    ProgressLog none;
    QCOMPARE(Set_Pledges_Active(-2030, true, none.Sink()), 0);
    QVERIFY(none.shown.isEmpty());
    QCOMPARE(Set_Pledges_Active(building, false), 1);
    QCOMPARE(m_data->Scalar("SELECT IsInactive FROM Pledges WHERE FundID = " + QString::number(building)), 1.0);
}

void tst_YearCore::failureChangesNothing()
{
    const int adams = m_data->AddContributor("Adams");
    const int baker = m_data->AddContributor("Baker");
    const int clark = m_data->AddContributor("Clark");
    m_data->AddPledge(adams, -2025, 10, 7, true);
    m_data->AddPledge(clark, -2025, 30, 9, true);
    m_data->ClearNotices();
    const QStringList before = Pledges();
    const double nextKey = m_data->Scalar("SELECT LastKey FROM KeyGen WHERE TableName = 'Pledges'");

    // Baker, numbered second, gets a new pledge the engine refuses: Adams'
    // number written just before goes back too, and no window hears of it.
    RefusePledgeOf(baker);
    try {
        Assign_Numbers(-2025, 1, true);
        QFAIL("the refused write did not fail");
    } catch (const DbError& e) {
        QVERIFY2(e.Message().contains("injected failure"), qPrintable(e.Message()));
    }
    QCOMPARE(Pledges(), before);
    QCOMPARE(m_data->Scalar("SELECT LastKey FROM KeyGen WHERE TableName = 'Pledges'"), nextKey);
    QVERIFY(m_data->Notices().isEmpty());
    AllowPledges();

    // The same for activation, failing on the second of the two pledges.
    RefusePledgeOf(clark);
    QVERIFY_THROWS_EXCEPTION(DbError, Set_Pledges_Active(-2025, true));
    QCOMPARE(Pledges(), before);
    QVERIFY(m_data->Notices().isEmpty());
    AllowPledges();

    // The program goes on: the same runs succeed afterwards.
    QCOMPARE(Assign_Numbers(-2025, 1, true).size(), 3);
    QCOMPARE(Set_Pledges_Active(-2025, true), 2);
    QCOMPARE(m_data->Notices().size(), 5);
}

void tst_YearCore::yearList()
{
    auto shown = [](const QDate& today) {
        const YearList l = Year_List(today);
        QStringList t;
        for (int i = 0; i < l.years.size(); ++i)
            t << QString::number(l.years[i]) + (i == l.selected ? "*" : "");
        return t.join(' ');
    };
    // Without collection sets: the years around today.
    QCOMPARE(shown(QDate(2004, 3, 1)), "2003* 2004 2005");
    QCOMPARE(shown(QDate(2004, 10, 1)), "2003 2004 2005*");
    for (int y = 2001; y <= 2004; ++y)
        m_data->AddCollection(QDate(y, 5, 2));
    QCOMPARE(shown(QDate(2004, 3, 10)), "2001 2002 2003* 2004 2005");
    QCOMPARE(shown(QDate(2004, 10, 10)), "2001 2002 2003 2004 2005*");
    QCOMPARE(shown(QDate(2004, 6, 30)), "2001 2002 2003* 2004 2005");
    QCOMPARE(shown(QDate(2004, 7, 1)), "2001 2002 2003 2004 2005*");
    // Sets beyond next year lengthen the list.
    m_data->AddCollection(QDate(2007, 1, 4));
    QCOMPARE(shown(QDate(2004, 10, 10)), "2001 2002 2003 2004 2005* 2006 2007");
    // Every set of this year, early in the year: last year is not listed,
    // so the nearest listed one is shown.
    m_data->DB().Execute("DELETE FROM Collection;");
    m_data->AddCollection(QDate(2025, 1, 5));
    QCOMPARE(shown(QDate(2025, 2, 1)), "2025* 2026");
}

void tst_YearCore::safetyCopies()
{
    const int adams = m_data->AddContributor("Adams");
    m_data->AddPledge(adams, -2025, 10, 7);
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(14, 30, 0)));
    const QString backups = QDir(m_data->Folder()).filePath("data/Backups");
    QCOMPARE(QDir(SafetyCopy::Folder()).absolutePath(), QDir(backups).absolutePath());

    // Two copies within one second get different names; both open as books.
    const QString first = SafetyCopy::Make_Copy();
    const QString second = SafetyCopy::Make_Copy();
    QCOMPARE(QFileInfo(first).fileName(), "QVDATA-2025-06-15-143000.MDB");
    QCOMPARE(QFileInfo(second).fileName(), "QVDATA-2025-06-15-143000-2.MDB");
    {
        Connection copy(first);
        Recordset rs("SELECT AccountNumber FROM Pledges WHERE ContributorID = " + QString::number(adams), copy);
        QCOMPARE(FieldLong(rs.Field(0)), 7);
    }

    // Newest first, with their sizes; files that are not copies of these
    // books are neither listed nor removed.
    QFile other(QDir(backups).filePath("OTHER-2020-01-01-000000.MDB"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    QFile note(QDir(backups).filePath("QVDATA-notes.txt"));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();
    QList<SafetyCopy::Copy> copies = SafetyCopy::List_Copies();
    QCOMPARE(copies.size(), 2);
    QCOMPARE(copies[0].path, second);
    QCOMPARE(copies[0].made, QDateTime(QDate(2025, 6, 15), QTime(14, 30, 0)));
    QCOMPARE(copies[1].size, QFileInfo(m_data->DataFile()).size());

    // Only the newest twenty are kept: copies of later days push out the earliest.
    for (int day = 1; day <= 20; ++day) {
        SafetyCopy::SetNow(QDateTime(QDate(2025, 7, day), QTime(9, 0, 0)));
        SafetyCopy::Make_Copy();
    }
    copies = SafetyCopy::List_Copies();
    QCOMPARE(copies.size(), SafetyCopy::kKept);
    QCOMPARE(copies.first().made.date(), QDate(2025, 7, 20));
    QCOMPARE(copies.last().made.date(), QDate(2025, 7, 1));
    QVERIFY(!QFileInfo::exists(first));
    QVERIFY(!QFileInfo::exists(second));
    QVERIFY(other.exists());
    QVERIFY(note.exists());

    // At exit: no copy when this run wrote nothing, one when it did.
    SafetyCopy::SetNow(QDateTime(QDate(2025, 8, 1), QTime(9, 0, 0)));
    const QString file = m_data->DataFile();
    SetDB(std::make_unique<Connection>(file));
    SafetyCopy::Exit_Copy();
    QCOMPARE(SafetyCopy::List_Copies().first().made.date(), QDate(2025, 7, 20));
    Set_Pledges_Active(-2025, false);
    SafetyCopy::Exit_Copy();
    QCOMPARE(SafetyCopy::List_Copies().first().made.date(), QDate(2025, 8, 1));
}

void tst_YearCore::copiesKeptByTheOrderTheyWereMade()
{
    m_data->AddContributor("Adams");
    // A dead clock battery: every copy after the first is named earlier.
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(12, 0, 0)));
    for (int i = 0; i < SafetyCopy::kKept; ++i)
        SafetyCopy::Make_Copy();
    SafetyCopy::SetNow(QDateTime(QDate(2001, 1, 1), QTime(0, 0, 0)));
    const QString earlier = SafetyCopy::Make_Copy();
    QVERIFY(QFileInfo::exists(earlier)); // the copy just made, though named oldest
    QCOMPARE(SafetyCopy::List_Copies().first().path, earlier);
    // 25 copies within one second: each named apart, the last one made first.
    QString last;
    for (int i = 0; i < 25; ++i)
        last = SafetyCopy::Make_Copy();
    const QList<SafetyCopy::Copy> copies = SafetyCopy::List_Copies();
    QCOMPARE(copies.size(), SafetyCopy::kKept);
    QCOMPARE(copies.first().path, last);
    QVERIFY(QFileInfo(last).fileName().startsWith("QVDATA-2001-01-01-000000-"));

    // Restore with the clock still wrong: the books as they were before
    // are kept, whatever their name says.
    const QString before = SafetyCopy::Restore_Copy(copies.last().path);
    QVERIFY(QFileInfo::exists(before));
    QCOMPARE(SafetyCopy::List_Copies().first().path, before);

    // Copies and their folder are the owner's alone.
    const auto mode = [](const QString& path) {
        return QFileInfo(path).permissions()
            & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
               | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
               | QFileDevice::ExeOther);
    };
    QCOMPARE(mode(before), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(mode(before + ".about"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(mode(SafetyCopy::Folder()), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void tst_YearCore::damagedCopiesAreNotRestored()
{
    const int adams = m_data->AddContributor("Adams");
    m_data->AddPledge(adams, -2025, 10, 7);
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(8, 0, 0)));
    const QString sound = SafetyCopy::Make_Copy();
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(8, 5, 0)));
    const QString lying = SafetyCopy::Make_Copy();
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(8, 10, 0)));
    const QString changed = SafetyCopy::Make_Copy();
    m_data->DB().Execute("UPDATE Pledges SET AccountNumber = 99;");
    const QStringList now = Pledges();

    // An index that disagrees with its table, its checksum made anew so
    // that only the engine's full check can tell (quick_check cannot).
    {
        Connection c(lying);
        c.Execute("PRAGMA writable_schema = ON;");
        c.Execute("UPDATE sqlite_master SET sql = 'CREATE INDEX idxPledgesFundInactive ON Pledges (AccountNumber, IsInactive)' "
                  "WHERE name = 'idxPledgesFundInactive';");
    }
    {
        QFile about(lying + ".about");
        QVERIFY(about.open(QIODevice::ReadOnly));
        QByteArray text = about.readAll();
        about.close();
        QFile f(lying);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray sum = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
        text.replace(text.indexOf("SHA256=") + 7, 64, sum);
        QVERIFY(about.open(QIODevice::WriteOnly | QIODevice::Truncate));
        about.write(text);
    }
    QVERIFY_THROWS_EXCEPTION(DbError, SafetyCopy::Restore_Copy(lying));
    QCOMPARE(Pledges(), now);

    // One byte changed: the checksum tells, and a changed size is seen in the list.
    {
        QFile f(changed);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() - 10);
        f.write("x");
    }
    QVERIFY_THROWS_EXCEPTION(DbError, SafetyCopy::Restore_Copy(changed));
    QCOMPARE(Pledges(), now);
    {
        QFile f(changed);
        QVERIFY(f.open(QIODevice::Append));
        f.write("more");
    }
    for (const SafetyCopy::Copy& c : SafetyCopy::List_Copies())
        QCOMPARE(c.damaged, c.path == changed);

    // The sound one is put back.
    SafetyCopy::Restore_Copy(sound);
    QCOMPARE(m_data->Scalar("SELECT AccountNumber FROM Pledges"), 7.0);
}

void tst_YearCore::restore()
{
    const int adams = m_data->AddContributor("Adams");
    const int baker = m_data->AddContributor("Baker");
    m_data->AddPledge(adams, -2025, 10, 7);
    m_data->AddPledge(baker, -2025, 20, 3);
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(8, 0, 0)));
    const QString copy = SafetyCopy::Make_Copy();
    const QStringList before = Pledges();

    Assign_Numbers(-2025, 1, true);
    m_data->DB().Execute("UPDATE Funds SET FundName = 'General Fund' WHERE ID = 1;");
    const QStringList after = Pledges();
    QVERIFY(after != before);

    m_data->ClearNotices();
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(9, 0, 0)));
    const QString saved = SafetyCopy::Restore_Copy(copy);
    QCOMPARE(Pledges(), before);
    QCOMPARE(MainFundName, "Operating Fund");
    // The open windows hear that the church and the main fund may have changed.
    QCOMPARE(m_data->Notices(), QList<Notice>({{dbChurch, false, true, false, 1, 0}, {dbFunds, false, true, false, 1, 0}}));
    // The books as they were just before the restore are a copy of their own.
    {
        Connection c(saved);
        Recordset rs("SELECT AccountNumber FROM Pledges WHERE ContributorID = " + QString::number(adams), c);
        QCOMPARE(FieldLong(rs.Field(0)), 1);
    }
    // The reopened books take writes as before.
    QCOMPARE(Assign_Numbers(-2025, 1, true).size(), 2);
    QCOMPARE(SafetyCopy::Restore_Copy(saved).isEmpty(), false);
    QCOMPARE(Pledges(), after);

    // A file that is not a data file replaces nothing.
    const QString junk = QDir(SafetyCopy::Folder()).filePath("QVDATA-2025-06-14-120000.MDB");
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    const int copies = int(SafetyCopy::List_Copies().size());
    QVERIFY_THROWS_EXCEPTION(DbError, SafetyCopy::Restore_Copy(junk));
    QCOMPARE(Pledges(), after);
    QCOMPARE(int(SafetyCopy::List_Copies().size()), copies);
}

void tst_YearCore::copyFailures()
{
    // A file where the Backups folder belongs: no copy, no half-made file.
    QFile blocker(QDir(m_data->Folder()).filePath("data/Backups"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY_THROWS_EXCEPTION(DbError, SafetyCopy::Make_Copy());

    // Before a change the user decides whether to go on without a copy.
    QString path = "unchanged";
    m_data->Messages().Expect("No copy of the books could be saved before this change", Messages::Answer::No);
    QVERIFY(!SafetyCopy::Copy_Before_Change(&path));
    QVERIFY(path.isEmpty());
    m_data->Messages().Expect("Make the change without a copy?", Messages::Answer::Yes);
    QVERIFY(SafetyCopy::Copy_Before_Change(&path));
    // At exit the failure is told and the exit goes on.
    m_data->AddContributor("Adams");
    m_data->Messages().Expect("No safety copy of the books could be saved in");
    SafetyCopy::Exit_Copy();
    m_data->Messages().VerifyAllShown();
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
}

QV_TEST_MAIN(tst_YearCore, QCoreApplication)
#include "tst_year_core.moc"
