// From the settings file to an open data file, and back at exit.
#include "support/CoreTest.h"
#include "core/modSettings.h"
#include "storage/modStartup.h"

#include <QFileInfo>

using namespace modGlobal;
using modStartup::Result;

namespace {
void WriteFile(const QString& path, const QString& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

QString ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A data file with its tables and a main fund of the given name.
void MakeDataFile(const QString& path, const QString& mainFund)
{
    QFile::copy(QStringLiteral(QV_EMPTY_MDB), path);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    Connection c(path);
    c.Execute("INSERT INTO Funds (ID, FundName, IsPledgeable, IsTaxDeductible, IsInactive) VALUES (1, '"
              + mainFund + "', TRUE, TRUE, FALSE)");
}

QString Setting(const char* section, const char* key)
{
    return modSettings::Read(QLatin1String(section), QLatin1String(key));
}
} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void noSettingsFileOpensTheDefaultDataFile();
    void templateOnlyIsCopied();
    void threeDataSetsEachInItsYear();
    void dbNameWithAndWithoutExtension();
    void processingYearFromTheSettings_data();
    void processingYearFromTheSettings();
    void missingOrUnreadableDataFile();
    void settingsFileKeepsProfileSemantics();
    void damagedSettingsFileKeepsEveryDataSet();
    void garbledNumberOfDataSets();
    void chosenDataSetWithoutASectionGetsItsOwn();
};

void tst_Startup::noSettingsFileOpensTheDefaultDataFile()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(DataFolder() + "/QVDATA.MDB", "General Fund");
    int picks = 0;
    QCOMPARE(modStartup::Start_Up([&] { return ++picks; }), Result::Ready);
    QCOMPARE(picks, 0);
    QVERIFY(!QFile::exists(modSettings::SettingsFilePath())); // nothing written at start
    QCOMPARE(MainFundName, "General Fund");
    QCOMPARE(ProcessingYear, 2025);
    QCOMPARE(WeekdayNames[0], "Sunday   ");
    ProcessingYear = 2026;
    modStartup::Shut_Down();
    QVERIFY(!HasDB());
    QCOMPARE(Setting("General", "ProcessingYear"), "2026");
}

void tst_Startup::templateOnlyIsCopied()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    QVERIFY(QFile::copy(QStringLiteral(QV_EMPTY_MDB), ProgramFolder() + "/EMPTY.MDB"));
    QDir(DataFolder()).removeRecursively(); // the data folder need not exist yet
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QVERIFY(QFile::exists(DataFolder() + "/QVDATA.MDB"));
    QCOMPARE(Setting("Database", "DBName"), DataFolder() + "/QVDATA");
    // The books are for their owner's eyes: no other account reads them.
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeOther;
    for (const QString& path : {DataFolder(), DataFolder() + "/QVDATA.MDB", modStartup::LockFilePath(DataFolder() + "/QVDATA.MDB"),
                                modSettings::SettingsFilePath()})
        QVERIFY2(!(QFileInfo(path).permissions() & others), qPrintable(path));
    QCOMPARE(MainFundName, "Operating Fund");
    modStartup::Shut_Down();
    // The template itself is untouched.
    Connection templ(ProgramFolder() + "/EMPTY.MDB");
    QCOMPARE(FieldLong(Recordset("SELECT COUNT(*) FROM Church", templ).Field(0)), 0);

    // A template in the data folder comes before the one in the program folder.
    QFile::remove(DataFolder() + "/QVDATA.MDB");
    modSettings::Write("Database", "DBName", QString());
    MakeDataFile(DataFolder() + "/EMPTY.MDB", "From Data Folder");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QCOMPARE(MainFundName, "From Data Folder");
    modStartup::Shut_Down();
}

void tst_Startup::threeDataSetsEachInItsYear()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    for (int i = 1; i <= 3; ++i)
        MakeDataFile(data.Folder() + QStringLiteral("/Books%1.MDB").arg(i), QStringLiteral("Fund of set %1").arg(i));
    WriteFile(modSettings::SettingsFilePath(),
              QStringLiteral("[General]\r\nNumberDataSets=3\r\n[Database]\r\nDBName=%1/Books1\r\nDBLabel=Main\r\n"
                             "[Database2]\r\nDBName=%1/Books2\r\nDBLabel=Youth Group\r\n"
                             "[Database3]\r\nDBName=%1/Books3.MDB\r\nDBLabel=Food Pantry\r\n")
                  .arg(data.Folder()));
    // 1 is also what the choice gives when closed without OK.
    for (int pick : {2, 1, 3}) {
        int asked = 0;
        QCOMPARE(modStartup::Start_Up([&] {
            ++asked;
            return pick;
        }), Result::Ready);
        QCOMPARE(asked, 1);
        QCOMPARE(MainFundName, QStringLiteral("Fund of set %1").arg(pick));
        ProcessingYear = 2020 + pick;
        modStartup::Shut_Down();
    }

    // Each set comes back in the year it was last worked in, whichever set
    // the last run had open.
    for (int pick : {1, 2, 3, 1}) {
        QCOMPARE(modStartup::Start_Up([&] { return pick; }), Result::Ready);
        QCOMPARE(ProcessingYear, 2020 + pick);
        modStartup::Shut_Down();
    }
    // Older books looked at in another year, opened from the church's own
    // (as after an import): the church's books still reopen in their year.
    QCOMPARE(modStartup::Start_Up([] { return 1; }), Result::Ready);
    modStartup::Open_Data_File(data.Folder() + "/Books3");
    QCOMPARE(ProcessingYear, 2023);
    ProcessingYear = 2004;
    modStartup::Shut_Down();
    QCOMPARE(Setting("General", "ProcessingYear"), "2004");
    QCOMPARE(Setting("Database", "ProcessingYear"), "2021");
    QCOMPARE(modStartup::Start_Up([] { return 1; }), Result::Ready);
    QCOMPARE(ProcessingYear, 2021);
    modStartup::Shut_Down();
    QCOMPARE(modStartup::Start_Up([] { return 3; }), Result::Ready);
    QCOMPARE(ProcessingYear, 2004);
    modStartup::Shut_Down();
}

void tst_Startup::dbNameWithAndWithoutExtension()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(data.Folder() + "/Church.MDB", "Church Fund");
    for (const char* name : {"/Church.mdb", "/Church", "/Church.MDB"}) {
        modSettings::Write("Database", "DBName", data.Folder() + QLatin1String(name));
        QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
        QCOMPARE(DB().FilePath(), data.Folder() + "/Church.MDB");
        QCOMPARE(MainFundName, "Church Fund");
        modStartup::Shut_Down();
    }
    // A lower-case file name on a file system that tells case apart still opens.
    QVERIFY(QFile::rename(data.Folder() + "/Church.MDB", data.Folder() + "/church.mdb"));
    modSettings::Write("Database", "DBName", data.Folder() + "/church.mdb");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    modStartup::Shut_Down();
}

void tst_Startup::processingYearFromTheSettings_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("year");
    QTest::newRow("a year") << "2019" << 2019;
    QTest::newRow("zero") << "0" << 2025;
    QTest::newRow("letters") << "last year" << 2025;
    QTest::newRow("negative") << "-2019" << 2025;
}

void tst_Startup::processingYearFromTheSettings()
{
    QFETCH(QString, stored);
    QFETCH(int, year);
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(DataFolder() + "/QVDATA.MDB", "Operating Fund");
    WriteFile(modSettings::SettingsFilePath(), "[General]\nProcessingYear=" + stored + "\n");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QCOMPARE(ProcessingYear, year);
    modStartup::Shut_Down();
    QCOMPARE(Setting("General", "ProcessingYear"), QString::number(year));
}

void tst_Startup::missingOrUnreadableDataFile()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    // No data file and no template: nothing opened, nothing written.
    data.Messages().Expect("No Data File could be found!");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::NoDataFile);
    QVERIFY(!HasDB());
    QVERIFY(!QFile::exists(modSettings::SettingsFilePath()));

    // A named file that is missing, or is no database, is reported in the engine's words and left alone.
    modSettings::Write("Database", "DBName", data.Folder() + "/Missing");
    data.Messages().Expect("unable to open database file");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::OpenFailed);
    QVERIFY(!HasDB());
    QVERIFY(!QFile::exists(data.Folder() + "/Missing.MDB"));
    WriteFile(data.Folder() + "/Letter.MDB", QString(2000, QLatin1Char('x')));
    modSettings::Write("Database", "DBName", data.Folder() + "/Letter");
    data.Messages().Expect("file is not a database");
    QCOMPARE(modStartup::Start_Up(nullptr), Result::OpenFailed);
    QVERIFY(!HasDB());
    QCOMPARE(ReadFile(data.Folder() + "/Letter.MDB"), QString(2000, QLatin1Char('x')));
}

void tst_Startup::settingsFileKeepsProfileSemantics()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    QCOMPARE(Setting("General", "ProcessingYear"), QString()); // no file
    WriteFile(modSettings::SettingsFilePath(),
              QStringLiteral("; Quorvane settings\r\n[general]\r\nnumberdatasets = 2   \r\n"
                             "ProcessingYear=2024\r\n\r\n; the second set\r\n[DATABASE2]\r\nDBName=\"C:\\Books\\Youth\"\r\n"
                             "[Other]\r\nKey=Value\r\n"));
    QCOMPARE(Setting("General", "NumberDataSets"), "2");
    QCOMPARE(Setting("Database2", "dbname"), "C:\\Books\\Youth");
    QCOMPARE(Setting("Database2", "DBLabel"), QString());

    QVERIFY(modSettings::Write("General", "ProcessingYear", "2025"));
    QVERIFY(modSettings::Write("Database", "DBName", QString(300, QLatin1Char('a'))));
    const QString text = ReadFile(modSettings::SettingsFilePath());
    QVERIFY2(text.contains("; Quorvane settings") && text.contains("; the second set"), qPrintable(text));
    QCOMPARE(text.count("ProcessingYear", Qt::CaseInsensitive), 1);
    QCOMPARE(Setting("GENERAL", "processingyear"), "2025");
    QCOMPARE(Setting("Other", "Key"), "Value");
    QCOMPARE(Setting("Database", "DBName").size(), 254);
}

void tst_Startup::damagedSettingsFileKeepsEveryDataSet()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(data.Folder() + "/Books.MDB", "Real Books");
    MakeDataFile(DataFolder() + "/QVDATA.MDB", "Wrong Books");
    // NUL bytes, a stray control byte and a line that is not UTF-8 before the sections that matter.
    QByteArray raw = "[General]\r\nProcessingYear=2024\r\n";
    raw += QByteArray(64, '\0') + "\x01\x02junk\xff\xfe\r\nCity=Z\xfcrich\r\n";
    raw += "[Database]\r\nDBName=" + QFile::encodeName(data.Folder()) + "/Books\r\nDBLabel=Main" + QByteArray(2, '\0') + "\r\n";
    raw += "[Database2]\r\nDBName=C:\\Youth\r\n";
    {
        QFile f(modSettings::SettingsFilePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(raw);
    }
    QCOMPARE(Setting("Database", "DBLabel"), "Main");
    QCOMPARE(Setting("General", "City"), QString::fromUtf8("Z\u00fcrich"));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QCOMPARE(MainFundName, "Real Books");
    QCOMPARE(ProcessingYear, 2024);
    ProcessingYear = 2025;
    modStartup::Shut_Down();
    // The exit wrote the year and lost nothing after the damage.
    QCOMPARE(Setting("General", "ProcessingYear"), "2025");
    QCOMPARE(Setting("Database", "DBName"), data.Folder() + "/Books");
    QCOMPARE(Setting("Database2", "DBName"), "C:\\Youth");
    QVERIFY(!ReadFile(modSettings::SettingsFilePath()).contains(QChar(0)));
    // Written by renaming a whole new file over the old one: no leftovers beside it.
    QCOMPARE(QDir(SettingsFolder()).entryList(QDir::Files), QStringList{"VXOQV.INI"});
}

void tst_Startup::garbledNumberOfDataSets()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    for (const char* count : {"2147483647", "100", "99999999999999999999"}) {
        WriteFile(modSettings::SettingsFilePath(), QStringLiteral("[General]\nNumberDataSets=%1\n").arg(count));
        QCOMPARE(modStartup::NumberDataSets(), QLatin1String(count) == "99999999999999999999" ? 1 : 99);
    }
    WriteFile(modSettings::SettingsFilePath(), "[General]\nNumberDataSets=-3\n");
    QCOMPARE(modStartup::NumberDataSets(), 1);
}

void tst_Startup::chosenDataSetWithoutASectionGetsItsOwn()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.ProvideTemplate();
    MakeDataFile(data.Folder() + "/Books.MDB", "Real Books");
    WriteFile(modSettings::SettingsFilePath(),
              QStringLiteral("[General]\nNumberDataSets=3\n[Database]\nDBName=%1/Books\nDBLabel=Main\n").arg(data.Folder()));
    QCOMPARE(modStartup::Start_Up([] { return 3; }), Result::Ready);
    QCOMPARE(MainFundName, "Operating Fund"); // a new data file from the template
    modStartup::Shut_Down();
    QCOMPARE(Setting("Database3", "DBName"), DataFolder() + "/QVDATA");
    // Data set 1 still names the real books.
    QCOMPARE(Setting("Database", "DBName"), data.Folder() + "/Books");
    QCOMPARE(modStartup::Start_Up([] { return 1; }), Result::Ready);
    QCOMPARE(MainFundName, "Real Books");
    modStartup::Shut_Down();
}

QV_TEST_MAIN(tst_Startup, QCoreApplication)
#include "tst_startup.moc"
