// From the settings file to an open data file, and back at exit.
#include "shell/Helpers.h"
#include "shell/modGlobal.h"
#include "shell/modSettings.h"
#include "shell/modStartup.h"
#include "storage/Connection.h"
#include "storage/Recordset.h"
#include "storage/clsFunds.h"
#include "support/TestDataSet.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QtTest/QTest>

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
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// A data file with its tables and a main fund of the given name.
void MakeDataFile(const QString& path, const QString& mainFund)
{
    QFile::copy(QStringLiteral(QV_EMPTY_MDB), path);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    Connection c(path);
    c.Execute(QStringLiteral("INSERT INTO Funds (ID, FundName, IsPledgeable, IsTaxDeductible, IsInactive) VALUES (1, '")
              + mainFund + QStringLiteral("', TRUE, TRUE, FALSE)"));
}

QString Ini()
{
    return modSettings::SettingsFilePath();
}

struct Picker {
    int answer = 1;
    int calls = 0;
    modStartup::PickDataSet fn()
    {
        return [this] {
            ++calls;
            return answer;
        };
    }
};
} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void noSettingsFileOpensTheDefaultDataFile();
    void templateOnlyIsCopied();
    void templateInTheDataFolderComesFirst();
    void threeDataSets();
    void dbNameWithAndWithoutExtension();
    void processingYearFromTheSettings_data();
    void processingYearFromTheSettings();
    void noDataFileAndNoTemplate();
    void unreadableDataFileIsReportedWithTheEngineText();
    void settingsFileKeepsProfileSemantics();
};

void tst_Startup::noSettingsFileOpensTheDefaultDataFile()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(DataFolder() + QStringLiteral("/QVDATA.MDB"), QStringLiteral("General Fund"));
    Picker pick;
    QCOMPARE(modStartup::Start_Up(pick.fn()), Result::Ready);
    QCOMPARE(pick.calls, 0);
    QVERIFY(!QFile::exists(Ini())); // nothing written at start
    QCOMPARE(DataFilePath, DataFolder() + QStringLiteral("/QVDATA"));
    QCOMPARE(MainFundName, QStringLiteral("General Fund"));
    QCOMPARE(ProcessingYear, 2025);
    QCOMPARE(WeekdayNames[3], QStringLiteral("Wednesday"));
    QCOMPARE(WeekdayNames[0], QStringLiteral("Sunday   "));
    for (int t = 0; t < TableCount; ++t)
        QVERIFY(TableReady[t] || t == tiKeyGen);
    QVERIFY(DBEvent() != nullptr);
    ProcessingYear = 2026;
    modStartup::Shut_Down();
    QVERIFY(!HasDB());
    QCOMPARE(modSettings::Read(QStringLiteral("General"), QStringLiteral("ProcessingYear")), QStringLiteral("2026"));
}

void tst_Startup::templateOnlyIsCopied()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    QVERIFY(QFile::copy(QStringLiteral(QV_EMPTY_MDB), ProgramFolder() + QStringLiteral("/EMPTY.MDB")));
    QDir(DataFolder()).removeRecursively(); // the data folder need not exist yet
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QVERIFY(QFile::exists(DataFolder() + QStringLiteral("/QVDATA.MDB")));
    QCOMPARE(modSettings::Read(QStringLiteral("Database"), QStringLiteral("DBName")), DataFolder() + QStringLiteral("/QVDATA"));
    QCOMPARE(MainFundName, QStringLiteral("Operating Fund"));
    Recordset church(QStringLiteral("SELECT Password, AssignEnv FROM Church WHERE ID = 1"), DB());
    QCOMPARE(church.RecordCount(), 1);
    QCOMPARE(FieldText(church.Field(0)), QStringLiteral("Brv9kQ2e"));
    QVERIFY(FieldBool(church.Field(1)));
    modStartup::Shut_Down();
    // The template itself is untouched.
    Connection templ(ProgramFolder() + QStringLiteral("/EMPTY.MDB"));
    Recordset rows(QStringLiteral("SELECT COUNT(*) FROM Church"), templ);
    QCOMPARE(FieldLong(rows.Field(0)), 0);
}

void tst_Startup::templateInTheDataFolderComesFirst()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(DataFolder() + QStringLiteral("/EMPTY.MDB"), QStringLiteral("From Data Folder"));
    MakeDataFile(ProgramFolder() + QStringLiteral("/EMPTY.MDB"), QStringLiteral("From Program Folder"));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QCOMPARE(MainFundName, QStringLiteral("From Data Folder"));
    modStartup::Shut_Down();
}

void tst_Startup::threeDataSets()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    for (int i = 1; i <= 3; ++i)
        MakeDataFile(data.Folder() + QStringLiteral("/Books%1.MDB").arg(i), QStringLiteral("Fund of set %1").arg(i));
    WriteFile(Ini(), QStringLiteral("[General]\r\nNumberDataSets=3\r\n[Database]\r\nDBName=%1/Books1\r\nDBLabel=Main\r\n"
                                    "[Database2]\r\nDBName=%1/Books2\r\nDBLabel=Youth Group\r\n"
                                    "[Database3]\r\nDBName=%1/Books3.MDB\r\nDBLabel=Food Pantry\r\n")
                         .arg(data.Folder()));
    QCOMPARE(modStartup::NumberDataSets(), 3);
    QCOMPARE(modStartup::DataSetValue(2, QStringLiteral("DBLabel")), QStringLiteral("Youth Group"));

    Picker pick;
    pick.answer = 2;
    QCOMPARE(modStartup::Start_Up(pick.fn()), Result::Ready);
    QCOMPARE(pick.calls, 1);
    QCOMPARE(MainFundName, QStringLiteral("Fund of set 2"));
    modStartup::Shut_Down();

    pick.answer = 1; // the choice closed without OK keeps data set 1
    QCOMPARE(modStartup::Start_Up(pick.fn()), Result::Ready);
    QCOMPARE(MainFundName, QStringLiteral("Fund of set 1"));
    modStartup::Shut_Down();

    pick.answer = 3;
    QCOMPARE(modStartup::Start_Up(pick.fn()), Result::Ready);
    QCOMPARE(MainFundName, QStringLiteral("Fund of set 3"));
    modStartup::Shut_Down();
}

void tst_Startup::dbNameWithAndWithoutExtension()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(data.Folder() + QStringLiteral("/Church.MDB"), QStringLiteral("Church Fund"));
    for (const char* name : {"/Church.mdb", "/Church", "/Church.MDB"}) {
        modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), data.Folder() + QLatin1String(name));
        QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
        QCOMPARE(DB().FilePath(), data.Folder() + QStringLiteral("/Church.MDB"));
        QCOMPARE(MainFundName, QStringLiteral("Church Fund"));
        modStartup::Shut_Down();
    }
    // A lower-case file name on a file system that tells case apart still opens.
    QVERIFY(QFile::rename(data.Folder() + QStringLiteral("/Church.MDB"), data.Folder() + QStringLiteral("/church.mdb")));
    modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), data.Folder() + QStringLiteral("/church.mdb"));
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
    QTest::newRow("blank") << "" << 2025;
}

void tst_Startup::processingYearFromTheSettings()
{
    QFETCH(QString, stored);
    QFETCH(int, year);
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    MakeDataFile(DataFolder() + QStringLiteral("/QVDATA.MDB"), QStringLiteral("Operating Fund"));
    WriteFile(Ini(), QStringLiteral("[General]\nProcessingYear=") + stored + QStringLiteral("\n"));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::Ready);
    QCOMPARE(ProcessingYear, year);
    modStartup::Shut_Down();
    QCOMPARE(modSettings::Read(QStringLiteral("General"), QStringLiteral("ProcessingYear")), QString::number(year));
}

void tst_Startup::noDataFileAndNoTemplate()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.Messages().Expect(QStringLiteral("No Data File could be found!"));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::NoDataFile);
    const Messages::Message m = data.Messages().Seen().last();
    QCOMPARE(m.text, QStringLiteral("No Data File could be found!\r\n\r\nNeither QVDATA.MDB nor EMPTY.MDB could be found\r\n"
                                    "in the application folder. If you know the location of\r\nthe data files, you may "
                                    "specify it in VXOQV.INI in the\r\nWindows folder."));
    QCOMPARE(m.icon, Messages::Icon::Exclamation);
    QCOMPARE(m.title, QStringLiteral("Quorvane"));
    QVERIFY(!HasDB());
    QVERIFY(!QFile::exists(Ini()));
}

void tst_Startup::unreadableDataFileIsReportedWithTheEngineText()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), data.Folder() + QStringLiteral("/Missing"));
    data.Messages().Expect(QStringLiteral("unable to open database file"));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::OpenFailed);
    QVERIFY(!HasDB());
    QVERIFY(!QFile::exists(data.Folder() + QStringLiteral("/Missing.MDB"))); // nothing made in its place

    WriteFile(data.Folder() + QStringLiteral("/Letter.MDB"), QString(2000, QLatin1Char('x')));
    modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), data.Folder() + QStringLiteral("/Letter"));
    data.Messages().Expect(QStringLiteral("file is not a database"));
    QCOMPARE(modStartup::Start_Up(nullptr), Result::OpenFailed);
    QCOMPARE(data.Messages().Seen().last().icon, Messages::Icon::Critical);
    QCOMPARE(ReadFile(data.Folder() + QStringLiteral("/Letter.MDB")), QString(2000, QLatin1Char('x'))); // left alone
}

void tst_Startup::settingsFileKeepsProfileSemantics()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    QCOMPARE(modSettings::Read(QStringLiteral("General"), QStringLiteral("ProcessingYear")), QString()); // no file
    WriteFile(Ini(), QStringLiteral("; Quorvane settings\r\n[general]\r\nnumberdatasets = 2   \r\n"
                                    "ProcessingYear=2024\r\n\r\n; the second set\r\n[DATABASE2]\r\nDBName=\"C:\\Books\\Youth\"\r\n"
                                    "[Other]\r\nKey=Value\r\n"));
    QCOMPARE(modSettings::Read(QStringLiteral("General"), QStringLiteral("NumberDataSets")), QStringLiteral("2"));
    QCOMPARE(modSettings::Read(QStringLiteral("Database2"), QStringLiteral("dbname")), QStringLiteral("C:\\Books\\Youth"));
    QCOMPARE(modSettings::Read(QStringLiteral("Database2"), QStringLiteral("DBLabel")), QString());

    QVERIFY(modSettings::Write(QStringLiteral("General"), QStringLiteral("ProcessingYear"), QStringLiteral("2025")));
    QVERIFY(modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBName"), QString(300, QLatin1Char('a'))));
    const QString text = ReadFile(Ini());
    QVERIFY2(text.contains(QStringLiteral("; Quorvane settings")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("; the second set")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Key")));
    QCOMPARE(text.count(QStringLiteral("ProcessingYear"), Qt::CaseInsensitive), 1);
    QCOMPARE(modSettings::Read(QStringLiteral("GENERAL"), QStringLiteral("processingyear")), QStringLiteral("2025"));
    QCOMPARE(modSettings::Read(QStringLiteral("Other"), QStringLiteral("Key")), QStringLiteral("Value"));
    QCOMPARE(modSettings::Read(QStringLiteral("Database"), QStringLiteral("DBName")).size(), 254);
}

QV_TEST_MAIN(tst_Startup)
#include "tst_startup.moc"
