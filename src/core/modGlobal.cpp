#include "modGlobal.h"

#include "Messages.h"
#include "clsDBEvent.h"
#include "Connection.h"
#include "DbError.h"

#include <QCoreApplication>
#include <QList>
#include <QStandardPaths>
#include <utility>

namespace modGlobal {

int ProcessingYear = 0;
QString DataFilePath;
QString MainFundName;
bool AssignEnvelopes = true;
std::array<QString, 7> WeekdayNames;
std::array<bool, TableCount> TableReady{};

namespace {
std::unique_ptr<Connection> g_db;
std::unique_ptr<clsDBEvent> g_event;
FindOpenWindowFn g_findOpenWindow;
QDate g_today;
struct HeldNotice {
    int table;
    bool added, changed, deleted;
    int recordID, contributorID;
};
QList<HeldNotice> g_held;

void Send(const HeldNotice& n)
{
    if (!g_event)
        return;
    try {
        g_event->Notify(n.table, n.added, n.changed, n.deleted, n.recordID, n.contributorID);
    } catch (const DbError& e) {
        Messages::Show_Error(e.Message());
    }
}
QString g_programFolder, g_dataFolder, g_settingsFolder;
} // namespace

void FillWeekdayNames()
{
    static const char* names[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int i = 0; i < 7; ++i)
        WeekdayNames[i] = QString::fromLatin1(names[i]).leftJustified(9, QLatin1Char(' '));
}

void ResetTableReady()
{
    TableReady.fill(false);
}

Connection& DB()
{
    if (!g_db)
        throw DbError(QStringLiteral("No data file is open."));
    return *g_db;
}

bool HasDB()
{
    return bool(g_db);
}

void SetDB(std::unique_ptr<Connection> connection)
{
    g_db = std::move(connection);
}

void CloseDB()
{
    g_db.reset();
    g_held.clear();
}

clsDBEvent* DBEvent()
{
    return g_event.get();
}

void SetDBEvent(std::unique_ptr<clsDBEvent> notifier)
{
    g_event = std::move(notifier);
}

void Notify(int table, bool added, bool changed, bool deleted, int recordID, int contributorID)
{
    const HeldNotice n{table, added, changed, deleted, recordID, contributorID};
    if (g_db && g_db->InTransaction())
        g_held.append(n);
    else
        Send(n);
}

void SendHeldNotices()
{
    const QList<HeldNotice> held = std::exchange(g_held, {});
    for (const HeldNotice& n : held)
        Send(n);
}

void DropHeldNotices()
{
    g_held.clear();
}

void SetFindOpenWindow(FindOpenWindowFn fn)
{
    g_findOpenWindow = std::move(fn);
}

bool Find_Open_Window(int kind, int id, bool bringForward)
{
    if (id == 0 || !g_findOpenWindow)
        return false;
    return g_findOpenWindow(kind, id, bringForward);
}

QDate Today()
{
    return g_today.isValid() ? g_today : QDate::currentDate();
}

void SetToday(const QDate& d)
{
    g_today = d;
}

QString ProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QStringLiteral(".");
}

QString DataFolder()
{
    if (!g_dataFolder.isEmpty())
        return g_dataFolder;
#ifdef Q_OS_WIN
    return ProgramFolder();
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#endif
}

QString SettingsFolder()
{
    if (!g_settingsFolder.isEmpty())
        return g_settingsFolder;
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(qgetenv("SystemRoot"));
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

void SetProgramFolder(const QString& f) { g_programFolder = f; }
void SetDataFolder(const QString& f) { g_dataFolder = f; }
void SetSettingsFolder(const QString& f) { g_settingsFolder = f; }

} // namespace modGlobal
