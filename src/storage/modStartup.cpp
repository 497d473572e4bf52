#include "modStartup.h"

#include "core/Helpers.h"
#include "core/Messages.h"
#include "core/Privacy.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "storage/ContributorEmail.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsChurch.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "core/modDBConnection.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <algorithm>
#include <memory>

namespace modStartup {

namespace {
QString SectionOf(int n)
{
    return n <= 1 ? QStringLiteral("Database") : QStringLiteral("Database") + QString::number(n);
}

int WholeNumber(const QString& text)
{
    return modGlobal::WholeNumberText(text).toInt();
}

// Every table and default row made ready, and the values every window
// shares read from the newly opened data file.
void ReadDataSet()
{
    MakeTablesReady();
    clsFunds mainFund;
    mainFund.Get_One_Record(QStringLiteral("ID = 1"));
    modGlobal::MainFundName = mainFund.FundName();
    clsChurch church;
    church.Get_One_Record(QString());
}

// Held from start-up to exit: the sign to every other copy of the program
// that this data file is taken.
std::unique_ptr<QLockFile>& DataFileLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}
// The data file that lock stands for.
QString& LockedDataFile()
{
    static QString file;
    return file;
}

// The data set whose data file is the given one; 0 when none lists it.
// Data set 1 without a DBName is the default file in the data folder.
int DataSetOf(const QString& dataFilePath)
{
    const QString file = QFileInfo(modDBConnection::DataFileName(dataFilePath)).absoluteFilePath();
    const int count = NumberDataSets();
    for (int n = 1; n <= count; ++n) {
        QString name = DataSetValue(n, QStringLiteral("DBName"));
        if (name.isEmpty() && n == 1)
            name = QDir(modGlobal::DataFolder()).filePath(QStringLiteral("QVDATA"));
        if (!name.isEmpty() && QFileInfo(modDBConnection::DataFileName(name)).absoluteFilePath() == file)
            return n;
    }
    return 0;
}

// The year a data set was last worked in, 0 when its section keeps none.
int DataSetYear(int n)
{
    return n > 0 ? WholeNumber(DataSetValue(n, QStringLiteral("ProcessingYear"))) : 0;
}

// The processing year belongs to the books it was worked in: kept in the
// open data set's own section, and in [General] as the year of the last
// run for older settings files and a data set that keeps none.
bool Keep_Processing_Year()
{
    const QString year = QString::number(modGlobal::ProcessingYear);
    bool ok = modSettings::Write(QStringLiteral("General"), QStringLiteral("ProcessingYear"), year);
    if (const int n = DataSetOf(modGlobal::DataFilePath); n > 0)
        ok = modSettings::Write(SectionOf(n), QStringLiteral("ProcessingYear"), year) && ok;
    return ok;
}

} // namespace

void MakeTablesReady()
{
    // One object of each class makes its table (and default rows) ready.
    clsChurch();
    clsCollection();
    clsContributors();
    clsFunds();
    clsOffering();
    clsPledges();
    clsColComments();
    ContributorEmail::Make_Ready();
}

QString LockFilePath(const QString& dataFile)
{
    return dataFile + QStringLiteral(".lock");
}

QString Lock_Data_File(const QString& dataFile)
{
    auto lock = std::make_unique<QLockFile>(LockFilePath(dataFile));
    // Never stale by age: the books may stay open for days. A lock whose
    // process has died on this computer is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        modGlobal::Owner_Only(LockFilePath(dataFile));
        DataFileLock() = std::move(lock);
        LockedDataFile() = dataFile;
        return QString();
    }
    if (lock->error() != QLockFile::LockFailedError)
        // No lock can be made beside a file in a folder one may not write
        // to; such a file cannot be changed by this copy either.
        return QString();
    qint64 pid = 0;
    QString host, application;
    if (!lock->getLockInfo(&pid, &host, &application)) {
        // An empty or garbled lock, as a power cut leaves it, names nobody
        // who could be asked; the user decides, knowing whether another
        // computer has the books open.
        const QString question = QStringLiteral("The data file ") + dataFile
            + QStringLiteral(" is marked as open, but the mark (") + LockFilePath(dataFile)
            + QStringLiteral(") names no copy of the program: it may be left from a power cut or a crash.\r\n\r\n"
                             "If no other copy of the program has these books open, on this computer or another, "
                             "the data file can be taken over. Take it over?");
        if (Messages::Ask_Default_No(question) == Messages::Answer::Yes && lock->removeStaleLockFile()
            && lock->tryLock(0)) {
            modGlobal::Owner_Only(LockFilePath(dataFile));
            DataFileLock() = std::move(lock);
            LockedDataFile() = dataFile;
            return QString();
        }
    }
    const QFileInfo info(LockFilePath(dataFile));
    const QString user = info.owner().isEmpty() ? QStringLiteral("another user") : info.owner();
    const QDateTime since = info.lastModified();
    return QStringLiteral("The data file ") + dataFile + QStringLiteral(" is open in another copy of the program: ") + user
        + QStringLiteral(" on computer ") + (host.isEmpty() ? QStringLiteral("(unknown)") : host)
        + QStringLiteral(" has had it open since ") + modGlobal::ShortDate(since.date()) + QLatin1Char(' ')
        + QLocale().toString(since.time(), QLocale::ShortFormat)
        + QStringLiteral(".\r\n\r\nOnly one copy of the program can work on a data file at a time.");
}

QString NoDataFileText()
{
    return QStringLiteral("No Data File could be found!\r\n\r\nNeither QVDATA.MDB nor EMPTY.MDB could be found\r\n"
                          "in the application folder. If you know the location of\r\nthe data files, you may specify "
                          "it in VXOQV.INI in the\r\nWindows folder.");
}

int NumberDataSets()
{
    const int n = WholeNumber(modSettings::Read(QStringLiteral("General"), QStringLiteral("NumberDataSets")));
    // A garbled count must not keep the data-set window filling for hours.
    return std::clamp(n, 1, kMostDataSets);
}

QString DataSetValue(int n, const QString& key)
{
    return modSettings::Read(SectionOf(n), key);
}

Result Start_Up(const PickDataSet& pick)
{
    using namespace modGlobal;

    DataFileLock().reset();
    ProcessingYear = Today().year();
    const int storedYear = WholeNumber(modSettings::Read(QStringLiteral("General"), QStringLiteral("ProcessingYear")));
    if (storedYear > 0)
        ProcessingYear = storedYear;

    for (;;) {
        DataFilePath = QDir(DataFolder()).filePath(QStringLiteral("QVDATA"));

        QString name = DataSetValue(1, QStringLiteral("DBName"));
        int chosen = 1;
        if (NumberDataSets() > 1 && pick) {
            chosen = std::clamp(pick(), 1, NumberDataSets());
            if (chosen > 1)
                name = DataSetValue(chosen, QStringLiteral("DBName"));
        }

        if (!name.isEmpty()) {
            DataFilePath = name;
        } else if (!QFileInfo::exists(DataFilePath + QStringLiteral(".MDB"))) {
            QString templ = QDir(DataFolder()).filePath(QStringLiteral("EMPTY.MDB"));
            if (!QFileInfo::exists(templ))
                templ = QDir(ProgramFolder()).filePath(QStringLiteral("EMPTY.MDB"));
            if (!QFileInfo::exists(templ)) {
                Messages::Show(NoDataFileText(), {}, Messages::Icon::Exclamation);
                return Result::NoDataFile;
            }
            if (!QFileInfo::exists(DataFolder()) && QDir().mkpath(DataFolder()))
                Owner_Only_Folder(DataFolder());
            if (!QFile::copy(templ, DataFilePath + QStringLiteral(".MDB"))) {
                Messages::Show(QStringLiteral("The data file ") + DataFilePath
                                   + QStringLiteral(".MDB could not be created from ") + templ + QLatin1Char('.'),
                               {}, Messages::Icon::Critical);
                return Result::OpenFailed;
            }
            // Writable though the template came from a read-only program
            // folder, and readable by the treasurer's account alone.
            Owner_Only(DataFilePath + QStringLiteral(".MDB"));
            // Into the chosen data set's own section: writing it into data set
            // 1's would point the real books' entry at the new empty file.
            modSettings::Write(SectionOf(chosen), QStringLiteral("DBName"), DataFilePath);
        }

        const QString inUse = Lock_Data_File(modDBConnection::DataFileName(DataFilePath));
        if (inUse.isEmpty()) {
            if (const int own = DataSetYear(chosen); own > 0)
                ProcessingYear = own;
            break;
        }
        if (NumberDataSets() <= 1 || !pick) {
            Messages::Show(inUse, {}, Messages::Icon::Exclamation);
            return Result::InUse;
        }
        if (Messages::Show(inUse + QStringLiteral("\r\n\r\nDo you want to choose another data set?"), {},
                           Messages::Icon::Question, Messages::Buttons::YesNo)
            != Messages::Answer::Yes)
            return Result::InUse;
    }

    ResetTableReady();
    FillWeekdayNames();

    try {
        SetDB(std::make_unique<Connection>(modDBConnection::DataFileName(DataFilePath)));
        if (!DB().CanWrite())
            Messages::Show(QStringLiteral("The data file ") + DB().FilePath()
                               + QStringLiteral(" can be read but not written: changes cannot be saved."),
                           {}, Messages::Icon::Exclamation);
        SetDBEvent(std::make_unique<clsDBEvent>());
        ReadDataSet();
    } catch (const DbError& e) {
        CloseDB();
        DataFileLock().reset();
        Messages::Show(QStringLiteral("The data file could not be opened.\r\n\r\n") + e.Message(), {},
                       Messages::Icon::Critical);
        return Result::OpenFailed;
    }
    return Result::Ready;
}

void Shut_Down()
{
    modGlobal::SetDBEvent(nullptr);
    modGlobal::CloseDB();
    DataFileLock().reset();
    if (!Keep_Processing_Year())
        // The next start would silently work on another year.
        Messages::Show(QStringLiteral("The processing year could not be stored in ") + modSettings::SettingsFilePath()
                           + QStringLiteral(". The next start will use the current year."),
                       {}, Messages::Icon::Exclamation);
}

void Open_Data_File(const QString& dataFilePath)
{
    // Another data set is as much one copy's alone as the first one was.
    const QString file = modDBConnection::DataFileName(dataFilePath);
    if (!DataFileLock() || LockedDataFile() != file) {
        const QString inUse = Lock_Data_File(file);
        if (!inUse.isEmpty())
            throw DbError(inUse);
    }
    // The books being left keep the year they were worked in; the books
    // opened come back in theirs.
    if (modGlobal::HasDB())
        Keep_Processing_Year();
    modGlobal::CloseDB();
    modGlobal::ResetTableReady();
    modGlobal::DataFilePath = dataFilePath;
    modGlobal::SetDB(std::make_unique<Connection>(modDBConnection::DataFileName(dataFilePath)));
    if (const int own = DataSetYear(DataSetOf(dataFilePath)); own > 0)
        modGlobal::ProcessingYear = own;
    ReadDataSet();
}

int Add_Data_Set(const QString& dbName, const QString& label)
{
    const QString general = QStringLiteral("General"), name = QStringLiteral("DBName"), lbl = QStringLiteral("DBLabel");
    const int count = NumberDataSets();
    bool ok = true;
    if (count == 1) {
        // The one data set so far may be the default file, noted nowhere:
        // once there are two, the list must be able to show and open it.
        QString first = DataSetValue(1, name);
        if (first.isEmpty()) {
            first = QDir(modGlobal::DataFolder()).filePath(QStringLiteral("QVDATA"));
            ok = modSettings::Write(SectionOf(1), name, first) && ok;
        }
        if (DataSetValue(1, lbl).isEmpty())
            ok = modSettings::Write(SectionOf(1), lbl, QFileInfo(first).completeBaseName()) && ok;
    }
    const int n = count + 1;
    // The section first, then the count: a failure in between leaves the
    // list as it was.
    ok = modSettings::Write(SectionOf(n), name, dbName) && ok;
    ok = modSettings::Write(SectionOf(n), lbl, label) && ok;
    ok = ok && DataSetValue(n, name) == dbName; // a path too long for a value would open another file
    if (!ok)
        return 0;
    if (!modSettings::Write(general, QStringLiteral("NumberDataSets"), QString::number(n)) || NumberDataSets() != n)
        return 0;
    return n;
}

} // namespace modStartup
