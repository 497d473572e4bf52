// The books of the older program imported from its Jet data file: every row
// and value arrives, the program opens the result as its own, keys carry on
// after those in use, and every damaged or wrong file is refused with
// nothing left behind.
#include "offering/CollectionTotals.h"
#include "reports/WeeklyReportTables.h"
#include "support/CoreTest.h"
#include "storage/modStartup.h"
#include "storage/LegacyImport.h"
#include "storage/Schema.h"
#include "storage/clsContributors.h"
#include "core/modDBConnection.h"
#include "storage/modDBKeys.h"

#include <QJsonObject>
#include <QProcess>
#include <cmath>
#include <functional>

#include "LegacyFixture.h"

using namespace LegacyFixture;
using LegacyImport::ImportError;

// Makes the old file of one refusal case in a folder and returns its path.
using Damage = std::function<QString(const QString& folder)>;
Q_DECLARE_METATYPE(Damage)

namespace {

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString Cents(double v)
{
    return QString::number(modGlobal::RoundCents(v), 'f', 2);
}

// A value of the new file in the form the reader library gives the old one.
QString AsOldText(const QVariant& v, const QString& type)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (type == modDBConnection::TypeBoolean())
        return v.toLongLong() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}

// What the import says when it refuses; empty when it imported.
QString Refusal(const QString& old, const QString& target)
{
    try {
        LegacyImport::Import(old, target);
    } catch (const ImportError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class tst_LegacyImport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyRowAndValueOfTheSample();
    void openedAsTheProgramsDataFile();
    void missingAssignEnvReadsAsNo();
    void aMissingKeyRowStartsAfterTheKeysInUse();
    void refusedFilesLeaveNothingBehind_data();
    void refusedFilesLeaveNothingBehind();
    void anExistingFileIsNeverOverwritten();
    void commandLineTool();

private:
    LegacyImport::Result ImportSample(const QString& target);

    std::unique_ptr<TestDataSet> m_data;
    QString m_books; // where the new data files go
};

void tst_LegacyImport::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_books = QDir(m_data->Folder()).filePath(QStringLiteral("books"));
    QDir().mkpath(m_books);
}

void tst_LegacyImport::cleanup()
{
    m_data.reset();
}

LegacyImport::Result tst_LegacyImport::ImportSample(const QString& target)
{
    try {
        return LegacyImport::Import(SamplePath(), target);
    } catch (const ImportError& e) {
        qFatal("import failed: %s", qPrintable(e.Message()));
    }
}

void tst_LegacyImport::everyRowAndValueOfTheSample()
{
    const QString target = QDir(m_books).filePath(QStringLiteral("Books.MDB"));
    QList<std::pair<qint64, qint64>> reports;
    const LegacyImport::Result r
        = LegacyImport::Import(SamplePath(), target, [&](qint64 done, qint64 total) { reports.append({done, total}); });
    const QJsonObject json = Expected();

    QCOMPARE(Entries(m_books), QStringList{QStringLiteral("Books.MDB")});
    QCOMPARE(r.rows[modGlobal::tiChurch], 1);
    QCOMPARE(r.rows[modGlobal::tiFunds], json.value("count_Funds").toInt());
    QCOMPARE(r.rows[modGlobal::tiContributors], json.value("count_Contributors").toInt());
    QCOMPARE(r.rows[modGlobal::tiPledges], json.value("count_Pledges").toInt());
    QCOMPARE(r.rows[modGlobal::tiCollection], json.value("count_Collection").toInt());
    QCOMPARE(r.rows[modGlobal::tiOffering], json.value("count_Offering").toInt());
    QCOMPARE(r.rows[modGlobal::tiColComment], json.value("count_ColComment").toInt());
    QCOMPARE(r.rows[modGlobal::tiKeyGen], 6);
    QVERIFY(r.churchHadAssignEnv);
    QCOMPARE(r.churchName, QStringLiteral("St. Mark's Community Church"));
    QCOMPARE(r.keyCorrections, QStringList{QStringLiteral("Offering: 2197 to 2201")});

    // Progress climbs to the whole, which is every row.
    QVERIFY(reports.size() >= 3);
    for (int i = 1; i < reports.size(); ++i)
        QVERIFY(reports[i].first >= reports[i - 1].first);
    QCOMPARE(reports.last(), std::make_pair(r.TotalRows(), r.TotalRows()));

    Connection db(target);
    auto scalar = [&db](const QString& sql) {
        Recordset rs(sql, db);
        return rs.Field(0);
    };
    QCOMPARE(Cents(scalar("SELECT Sum(Amount) FROM Offering").toDouble()), json.value("sum_Offering_Amount").toString());
    QCOMPARE(Cents(scalar("SELECT Sum(Amount) FROM Offering WHERE ContributorID = 1").toDouble()),
             json.value("sum_loose_offering").toString());
    QCOMPARE(scalar("SELECT Max(ID) FROM Offering").toInt(), json.value("max_Offering_ID").toInt());
    const QJsonObject byFund = json.value("sum_by_FundID").toObject();
    Recordset funds(QStringLiteral("SELECT FundID, Sum(Amount) AS Total FROM Offering GROUP BY FundID"), db);
    QStringList fundsSeen;
    for (; !funds.Eof(); funds.MoveNext()) {
        const QString id = funds.Field("FundID").toString();
        fundsSeen << id;
        QCOMPARE(Cents(funds.Field("Total").toDouble()), byFund.value(id).toString());
    }
    QCOMPARE(fundsSeen.size(), byFund.size());

    // Every value of every row, against the library's own reading of the
    // old file; amounts to the last digit it prints.
    for (modGlobal::TableIndex t : LegacyImport::ImportOrder()) {
        const QString name = Schema::TableName(t);
        const OldTable old = ReadOldTable(SamplePath(), name);
        QList<Schema::Column> columns = Schema::Columns(t);
        columns.prepend({t == modGlobal::tiKeyGen ? QStringLiteral("TableName") : QStringLiteral("ID"), QString()});
        if (t == modGlobal::tiChurch)
            columns.append({QStringLiteral("AssignEnv"), modDBConnection::TypeBoolean()});
        Recordset rs(QStringLiteral("SELECT * FROM ") + name, db);
        QCOMPARE(rs.RecordCount(), old.rows.size());
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString key = rs.Field(0).toString();
            QVERIFY2(old.rows.contains(key), qPrintable(name + " " + key));
            const QStringList& oldRow = old.rows[key];
            for (const Schema::Column& c : columns) {
                QString oldValue = oldRow.at(old.columns.indexOf(c.name));
                if (t == modGlobal::tiKeyGen && key == QLatin1String("Offering") && c.name == QLatin1String("LastKey")) {
                    QCOMPARE(oldValue, QStringLiteral("2197")); // the lagging key, moved on
                    oldValue = QStringLiteral("2201");
                }
                const QVariant now = rs.Field(c.name);
                if (c.type == modDBConnection::TypeDouble() && !oldValue.isEmpty()) {
                    QVERIFY2(std::fabs(now.toDouble() - oldValue.toDouble()) < 1e-9,
                             qPrintable(QStringLiteral("%1 %2 %3").arg(name, key, c.name)));
                    continue;
                }
                QCOMPARE(AsOldText(now, c.type), oldValue);
            }
        }
    }
    // Nulls stay Null: an address line never typed is not an empty text.
    QCOMPARE(scalar("SELECT Count(*) FROM Contributors WHERE Address2 IS NULL").toInt(), 25);
    QCOMPARE(scalar("SELECT Count(*) FROM Contributors WHERE Address2 = ''").toInt(), 0);
    QCOMPARE(scalar("SELECT typeof(Amount) FROM Offering WHERE ID = 2").toString(), QStringLiteral("real"));
    QCOMPARE(scalar("SELECT Amount FROM Offering WHERE ID = 2").toDouble(), 92.65);
    // The tables are made as the program makes them: indexes included, and
    // the counted plate's tables, empty.
    QCOMPARE(scalar("SELECT Count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'idx%'").toInt(), 8);
    QCOMPARE(scalar("SELECT Count(*) FROM CollectionChecks").toInt(), 0);
}

void tst_LegacyImport::openedAsTheProgramsDataFile()
{
    const QString target = QDir(m_books).filePath(QStringLiteral("Books.MDB"));
    ImportSample(target);
    modStartup::Open_Data_File(target);
    QCOMPARE(modGlobal::DataFilePath, target);
    QCOMPARE(modGlobal::MainFundName, QStringLiteral("General Fund"));

    // The church's settings, as the program reads them.
    clsChurch church;
    church.Get_One_Record(QString());
    QCOMPARE(church.ChurchName(), QStringLiteral("St. Mark's Community Church"));
    QCOMPARE(church.Address1(), QStringLiteral("1200 Orchard Lane"));
    QCOMPARE(church.Address2(), QString());
    QCOMPARE(church.City(), QStringLiteral("Fairview"));
    QCOMPARE(church.Phone(), QStringLiteral("(740) 555-0142"));
    QCOMPARE(church.UseCurrentDate(), false);
    QCOMPARE(church.DayOfWeek(), short(0));
    QCOMPARE(church.DefaultFund2(), 3);
    QCOMPARE(church.DefaultFund3(), 4);
    QCOMPARE(church.Password(), QStringLiteral("GRACE"));
    QCOMPARE(church.AssignEnv(), true);
    QVERIFY(church.IRSStatement().startsWith(QStringLiteral("No goods or services")));
    // Opening added no default row: the old file had them all.
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Church"), 1.0);
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Funds"), 7.0);

    // Names with an apostrophe and with accents, found as the windows find them.
    clsContributors obrien;
    obrien.Get_One_Record(QStringLiteral("LastName = ") + modDBConnection::TextLiteral(QStringLiteral("O'Brien")));
    QCOMPARE(obrien.ID(), 4);
    QCOMPARE(obrien.FullName(false), QStringLiteral("William O'Brien"));
    QCOMPARE(obrien.Phone(), QString());
    clsContributors nunez;
    nunez.Get_One_Record(QStringLiteral("LastName = ") + modDBConnection::TextLiteral(QStringLiteral("núñez")));
    QCOMPARE(nunez.ID(), 6);
    QCOMPARE(nunez.FullName(true), QStringLiteral("Núñez, Ian"));
    clsContributors ana;
    ana.Get_One_Record(QStringLiteral("ID = 24"));
    QCOMPARE(ana.FirstNames(), QStringLiteral("Ana María"));

    // The lagging key of Offering carries on after the highest key in use;
    // the others where the old program left them.
    QCOMPARE(modDBKeys::NextKey(QStringLiteral("Offering")), 2202);
    QCOMPARE(modDBKeys::NextKey(QStringLiteral("Funds")), 8);
    QCOMPARE(modDBKeys::NextKey(QStringLiteral("Collection")), 105);
    QCOMPARE(modDBKeys::NextKey(QStringLiteral("Contributors")), 32);

    // One collection set's grand total, as the offering window's totals
    // give it from the new file, equals its offerings read from the old file.
    const OldTable offerings = ReadOldTable(SamplePath(), QStringLiteral("Offering"));
    const int set = 52;
    double oldSum = 0;
    int oldLines = 0;
    for (const QStringList& row : offerings.rows)
        if (row.at(offerings.columns.indexOf("CollectionID")).toInt() == set) {
            oldSum += row.at(offerings.columns.indexOf("Amount")).toDouble();
            ++oldLines;
        }
    QVERIFY(oldLines > 10);
    const QDate date = modGlobal::FieldDate(
        Recordset(QStringLiteral("SELECT CollectionDate FROM Collection WHERE ID = %1").arg(set), modGlobal::DB()).Field(0));
    QCOMPARE(date, QDate(2003, 12, 28));
    const QList<TotalRow> totals = CollectionTotals::Build_Totals(set, date.year());
    QCOMPARE(Cents(totals.last().amount), Cents(oldSum));
    QVERIFY(totals.size() > 3);

    // The weekly report of that set, built from the new file, comes to the
    // same grand total in its fund totals and in its detail lines.
    const std::optional<WeeklyReport::Tables> weekly = WeeklyReport::Build(set, true);
    QVERIFY(weekly.has_value());
    double fundTotal = 0;
    for (int row = 0; row < weekly->fundTotals.RowCount(); ++row)
        fundTotal += weekly->fundTotals.Double(row, QStringLiteral("Amount"));
    QCOMPARE(Cents(fundTotal), Cents(oldSum));
    QVERIFY(weekly->detail.RowCount() > 3);
}

void tst_LegacyImport::missingAssignEnvReadsAsNo()
{
    // An old file from before the column existed: the church table has the
    // column under another name only.
    const QString old = CopySample(m_data->Folder());
    RenameStored(old, QStringLiteral("AssignEnv"), QStringLiteral("AssignEnx"));
    const QString target = QDir(m_books).filePath(QStringLiteral("Books.MDB"));
    const LegacyImport::Result r = LegacyImport::Import(old, target);
    QVERIFY(!r.churchHadAssignEnv);
    QCOMPARE(r.rows[modGlobal::tiOffering], 2200);

    modStartup::Open_Data_File(target);
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Church WHERE AssignEnv IS NULL"), 1.0);
    clsChurch church;
    church.Get_One_Record(QString());
    QCOMPARE(church.AssignEnv(), false);
    QCOMPARE(modGlobal::AssignEnvelopes, false);
    QCOMPARE(church.ChurchName(), QStringLiteral("St. Mark's Community Church"));
    // A new contributor starts without envelopes, as the church says.
    clsContributors fresh;
    fresh.Get_One_Record(QStringLiteral("ID = 0"));
    QCOMPARE(fresh.UseEnvelopes(), false);
}

void tst_LegacyImport::aMissingKeyRowStartsAfterTheKeysInUse()
{
    // The key row of Pledges under a name no table has: without a fresh row
    // the first new pledge would try every key from 2 on.
    const QString old = CopySample(m_data->Folder());
    RenameStored(old, QStringLiteral("Pledges"), QStringLiteral("Pledgez"),
                 ValueOffset(old, QStringLiteral("KeyGen"), QStringLiteral("Pledges"), QStringLiteral("TableName")));
    const QString target = QDir(m_books).filePath(QStringLiteral("Books.MDB"));
    const LegacyImport::Result r = LegacyImport::Import(old, target);
    QCOMPARE(r.keyCorrections,
             (QStringList{QStringLiteral("Pledges: none to 71"), QStringLiteral("Offering: 2197 to 2201")}));
    QCOMPARE(r.rows[modGlobal::tiKeyGen], 6);
    modStartup::Open_Data_File(target);
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM KeyGen"), 7.0);
    QCOMPARE(modDBKeys::NextKey(QStringLiteral("Pledges")), 72);
}

void tst_LegacyImport::refusedFilesLeaveNothingBehind_data()
{
    QTest::addColumn<Damage>("make");
    QTest::addColumn<QStringList>("message");

    auto truncated = [](qint64 keep) {
        return Damage([keep](const QString& folder) {
            const QString f = CopySample(folder);
            QFile file(f);
            file.resize(keep < 0 ? file.size() + keep : keep);
            return f;
        });
    };
    auto written = [](const QByteArray& content) {
        return Damage([content](const QString& folder) {
            const QString f = QDir(folder).filePath(QStringLiteral("OLD.MDB"));
            QFile file(f);
            file.open(QIODevice::WriteOnly);
            file.write(content);
            return f;
        });
    };
    const QStringList notJet = {QStringLiteral("is not a data file of the older program")};

    QTest::newRow("text file") << written("Treasurer's notes, 2004\nnot a database at all\n") << notJet;
    QTest::newRow("empty file") << written({}) << notJet;
    QTest::newRow("data file of this program") << Damage([](const QString& folder) {
        const QString f = QDir(folder).filePath(QStringLiteral("NEWER.MDB"));
        Connection::Create(f).Execute(Schema::CreateTableSql(modGlobal::tiFunds));
        return f;
    }) << notJet;
    QTest::newRow("missing file") << Damage([](const QString& folder) {
        return QDir(folder).filePath(QStringLiteral("GONE.MDB"));
    }) << QStringList{QStringLiteral("could not be found")};
    QTest::newRow("cut mid-page") << truncated(100000) << QStringList{QStringLiteral("is incomplete")};
    // A file cut at a page boundary: the usage maps name pages it lacks.
    const QStringList pastTheEnd = {QStringLiteral("The old file is damaged: the table "),
                                    QStringLiteral("has a usage map that points beyond the end of the file")};
    QTest::newRow("last page missing") << truncated(-4096) << pastTheEnd;
    QTest::newRow("second half missing") << truncated(176128) << pastTheEnd;
    // Numbers in a table's definition that the reader would trust.
    QTest::newRow("column number beyond the columns") << Damage([](const QString& folder) {
        const QString f = CopySample(folder);
        Patch(f, ColumnNumberOffset(f, QStringLiteral("Funds"), QStringLiteral("IsInactive")), QByteArray("\xff\x7f", 2));
        return f;
    }) << QStringList{QStringLiteral("The old file is damaged: the table Funds in"),
                      QStringLiteral("has a column numbered 32767 of 5 columns")};
    QTest::newRow("usage map page beyond the file") << Damage([](const QString& folder) {
        const QString f = CopySample(folder);
        Patch(f, UsageMapPageOffset(f, QStringLiteral("Offering")), QByteArray("\xff\xff\xff\x00", 4));
        return f;
    }) << QStringList{QStringLiteral("The old file is damaged: the table Offering in"),
                      QStringLiteral("has a usage map that points beyond the end of the file")};
    QTest::newRow("table missing") << Damage([](const QString& folder) {
        const QString f = CopySample(folder);
        RenameStored(f, QStringLiteral("ColComment"), QStringLiteral("ColCommenX"));
        return f;
    }) << QStringList{QStringLiteral("The table ColComment is missing from")};
    QTest::newRow("row that cannot be read") << Damage([](const QString& folder) {
        const QString f = CopySample(folder);
        const double notADate = 1e300;
        Patch(f, ValueOffset(f, QStringLiteral("Collection"), QStringLiteral("3"), QStringLiteral("CollectionDate")),
              QByteArray(reinterpret_cast<const char*>(&notADate), 8));
        return f;
    }) << QStringList{QStringLiteral("Row 3 of the table Collection in"),
                      QStringLiteral("(ID 3) could not be read: the date in CollectionDate is not a date")};
    QTest::newRow("row that cannot be written") << Damage([](const QString& folder) {
        // Two offerings under one key: the second is refused by name.
        const QString f = CopySample(folder);
        const qint32 taken = 99;
        Patch(f, ValueOffset(f, QStringLiteral("Offering"), QStringLiteral("100"), QStringLiteral("ID")),
              QByteArray(reinterpret_cast<const char*>(&taken), 4));
        return f;
    }) << QStringList{QStringLiteral("of the table Offering in"), QStringLiteral("(ID 99) could not be written"),
                      QStringLiteral("UNIQUE")};
}

void tst_LegacyImport::refusedFilesLeaveNothingBehind()
{
    QFETCH(Damage, make);
    QFETCH(QStringList, message);
    const QString sources = QDir(m_data->Folder()).filePath(QStringLiteral("old"));
    QDir().mkpath(sources);
    const QString old = make(sources);
    const QString target = QDir(m_books).filePath(QStringLiteral("Books.MDB"));
    const QString seen = Refusal(old, target);
    QVERIFY2(!seen.isEmpty(), "the file was imported");
    for (const QString& part : message)
        QVERIFY2(seen.contains(part), qPrintable(seen));
    QVERIFY2(seen.contains(QDir::toNativeSeparators(old)), qPrintable(seen));
    QCOMPARE(Entries(m_books), QStringList());
}

void tst_LegacyImport::anExistingFileIsNeverOverwritten()
{
    const QString target = QDir(m_books).filePath(QStringLiteral("QVDATA-sample.MDB"));
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the treasurer's current books");
    }
    QString seen = Refusal(SamplePath(), target);
    QVERIFY2(seen.contains(QStringLiteral("already exists")) && seen.contains(QDir::toNativeSeparators(target)),
             qPrintable(seen));
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("the treasurer's current books"));
    QCOMPARE(Entries(m_books), QStringList{QStringLiteral("QVDATA-sample.MDB")});

    // The menu's choice of name steps around it, and around the next one.
    const QString second = LegacyImport::FreeTargetName(m_books, SamplePath());
    QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("QVDATA-sample-2.MDB"));
    ImportSample(second);
    QCOMPARE(QFileInfo(LegacyImport::FreeTargetName(m_books, SamplePath())).fileName(),
             QStringLiteral("QVDATA-sample-3.MDB"));

    // A folder that is not there: nothing made anywhere.
    const QString nowhere = QDir(m_books).filePath(QStringLiteral("missing/Books.MDB"));
    seen = Refusal(SamplePath(), nowhere);
    QVERIFY2(seen.contains(QStringLiteral("could not be created in")), qPrintable(seen));
    QCOMPARE(Entries(m_books), (QStringList{QStringLiteral("QVDATA-sample-2.MDB"), QStringLiteral("QVDATA-sample.MDB")}));
}

void tst_LegacyImport::commandLineTool()
{
    auto run = [](const QStringList& args, QString* out, QString* err) {
        QProcess p;
        p.start(QStringLiteral(QV_IMPORT_TOOL), args);
        p.waitForFinished(60000);
        *out = QString::fromUtf8(p.readAllStandardOutput());
        *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QString target = QDir(m_books).filePath(QStringLiteral("NEW.MDB"));
    QString out, err;
    QCOMPARE(run({SamplePath(), target}, &out, &err), 0);
    const QString moneyHeading = QStringLiteral("Money per year and fund:\n");
    QCOMPARE(out.section(moneyHeading, 0, 0),
             QDir::toNativeSeparators(target) + QStringLiteral("\nChurch: 1\nFunds: 7\nContributors: 30\nPledges: 70\n"
                                                                "Collection: 104\nOffering: 2200\nColComment: 44\nKeyGen: 6\n"
                                                                "KeyGen corrected, Offering: 2197 to 2201\n"));
    Connection db(target);
    QCOMPARE(Recordset(QStringLiteral("SELECT Count(*) FROM Offering"), db).Field(0).toInt(), 2200);

    // The money per year and fund adds up, per fund and in all, to what
    // the sample's maker summed in the old file.
    QStringList money = out.section(moneyHeading, 1).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(money.size() > 2);
    QCOMPARE(money.takeLast(), LegacyImport::CompareAdvice());
    QHash<QString, qint64> byFund;
    qint64 total = 0;
    auto cents = [](const QString& amount) { return qRound64(modGlobal::AmountValue(amount) * 100); };
    QStringList years;
    for (const QString& line : money) {
        const QStringList parts = line.split(QStringLiteral("  "));
        QCOMPARE(parts.size(), 3);
        years << parts[0];
        byFund[parts[1]] += cents(parts[2]);
        total += cents(parts[2]);
    }
    QCOMPARE(years.first(), QStringLiteral("2003"));
    QCOMPARE(years.last(), QStringLiteral("2004"));
    const QJsonObject expected = Expected();
    QCOMPARE(total, cents(expected.value(QStringLiteral("sum_Offering_Amount")).toString()));
    auto fundName = [&db](int id) {
        return Recordset(QStringLiteral("SELECT FundName FROM Funds WHERE ID = %1").arg(id), db).Field(0).toString();
    };
    const QJsonObject perFund = expected.value(QStringLiteral("sum_by_FundID")).toObject();
    for (auto it = perFund.begin(); it != perFund.end(); ++it) {
        const int id = it.key().toInt();
        const QString name = id < 0 ? QString::number(-id) + QLatin1Char(' ') + fundName(1) : fundName(id);
        QCOMPARE(byFund.value(name), cents(it.value().toString()));
    }

    // A second run refuses to write over the first; no arguments, the usage.
    QCOMPARE(run({SamplePath(), target}, &out, &err), 1);
    QVERIFY2(err.startsWith(QStringLiteral("qv-import: The file ")) && err.contains(QStringLiteral("already exists")),
             qPrintable(err));
    QCOMPARE(run({}, &out, &err), 2);
    QCOMPARE(err, QStringLiteral("usage: qv-import [--progress] OLD.MDB NEW.MDB\n"));
    QCOMPARE(Entries(m_books), QStringList{QStringLiteral("NEW.MDB")});
}

QV_TEST_MAIN(tst_LegacyImport, QCoreApplication)
#include "tst_legacy_import.moc"
