#include "TestDataSet.h"

#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsColComments.h"
#include "storage/clsCollection.h"
#include "storage/clsContributors.h"
#include "storage/clsFunds.h"
#include "storage/clsOffering.h"
#include "storage/clsPledges.h"
#include "core/Helpers.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QtTest/QTest>

QDebug operator<<(QDebug d, const Notice& n)
{
    QDebugStateSaver s(d);
    d.nospace() << "Notice(" << n.table << ", " << n.added << ", " << n.changed << ", " << n.deleted << ", "
                << n.recordID << ", " << n.contributorID << ")";
    return d;
}

void PrepareTestEnvironment()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TestDataSet::TestDataSet(Start start)
    : m_responder(std::make_unique<ScriptedResponder>()), m_notices(std::make_shared<QList<Notice>>())
{
    if (!m_dir.isValid())
        qFatal("no temporary folder");
    modGlobal::SetProgramFolder(m_dir.filePath(QStringLiteral("program")));
    modGlobal::SetDataFolder(m_dir.filePath(QStringLiteral("data")));
    modGlobal::SetSettingsFolder(m_dir.filePath(QStringLiteral("settings")));
    QDir().mkpath(modGlobal::ProgramFolder());
    QDir().mkpath(modGlobal::DataFolder());
    QDir().mkpath(modGlobal::SettingsFolder());
    modGlobal::SetToday(QDate(2025, 6, 15));
    modGlobal::ProcessingYear = 2025;
    modGlobal::AssignEnvelopes = true;
    modGlobal::MainFundName = QStringLiteral("Operating Fund");
    modGlobal::FillWeekdayNames();
    modGlobal::ResetTableReady();
    modGlobal::CloseDB();
    modGlobal::SetDBEvent(nullptr);
    modGlobal::SetFindOpenWindow(nullptr);
    if (start == Start::FoldersOnly)
        return;
    OpenOnly();
    if (start == Start::Ready) {
        modStartup::MakeTablesReady();
        ClearNotices();
    }
}

void TestDataSet::OpenOnly()
{
    modGlobal::DataFilePath = QDir(modGlobal::DataFolder()).filePath(QStringLiteral("QVDATA"));
    modGlobal::SetDB(std::make_unique<Connection>(Connection::Create(DataFile())));
    modGlobal::SetDBEvent(std::make_unique<clsDBEvent>());
    Listen();
}

void TestDataSet::ProvideTemplate()
{
    const QString target = QDir(modGlobal::ProgramFolder()).filePath(QStringLiteral("EMPTY.MDB"));
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(QV_EMPTY_MDB), target))
        qFatal("no EMPTY.MDB at %s", QV_EMPTY_MDB);
}

void TestDataSet::Listen()
{
    QObject::disconnect(m_listener);
    auto notices = m_notices;
    m_listener = QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange,
                                  [notices](int t, bool a, bool c, bool d, int id, int cid) {
                                      notices->append({t, a, c, d, id, cid});
                                  });
}

TestDataSet::~TestDataSet()
{
    modGlobal::SetDBEvent(nullptr);
    modGlobal::CloseDB();
    modGlobal::ResetTableReady();
    modGlobal::SetFindOpenWindow(nullptr);
    modGlobal::SetToday(QDate());
    modGlobal::SetProgramFolder({});
    modGlobal::SetDataFolder({});
    modGlobal::SetSettingsFolder({});
}

QString TestDataSet::Folder() const
{
    return m_dir.path();
}

QString TestDataSet::DataFile() const
{
    return QDir(modGlobal::DataFolder()).filePath(QStringLiteral("QVDATA.MDB"));
}

Connection& TestDataSet::DB()
{
    return modGlobal::DB();
}

void TestDataSet::ClearNotices()
{
    m_notices->clear();
}

int TestDataSet::AddFund(const QString& name, bool pledgeable, bool taxDeductible, bool inactive)
{
    clsFunds f;
    f.FundName(name);
    f.IsPledgeable(pledgeable);
    f.IsTaxDeductible(taxDeductible);
    f.IsInactive(inactive);
    f.Add_Record_to_DB();
    return f.ID();
}

int TestDataSet::AddContributor(const QString& lastName, const QString& firstNames, bool useEnvelopes, bool inactive)
{
    clsContributors c;
    c.LastName(lastName);
    c.FirstNames(firstNames);
    c.UseEnvelopes(useEnvelopes);
    c.IsInactive(inactive);
    c.Save_to_DB();
    return c.ID();
}

int TestDataSet::AddPledge(int contributorID, int fundID, double amount, int accountNumber, bool inactive)
{
    clsPledges p;
    p.ContributorID(contributorID);
    p.FundID(fundID);
    p.Amount(amount);
    p.AccountNumber(accountNumber);
    p.IsInactive(inactive);
    p.Save_to_DB();
    return p.ID();
}

int TestDataSet::AddCollection(const QDate& date, const QString& notation)
{
    clsCollection c;
    c.CollectionDate(date);
    c.Notation(notation);
    c.Save_to_DB();
    return c.ID();
}

int TestDataSet::AddOffering(int contributorID, int collectionID, int fundID, double amount)
{
    clsOffering o;
    o.ContributorID(contributorID);
    o.CollectionID(collectionID);
    o.FundID(fundID);
    o.Amount(amount);
    o.Add_Record_to_DB();
    return o.ID();
}

int TestDataSet::AddComment(int contributorID, int collectionID, const QString& comment)
{
    clsColComments c;
    c.ContributorID(contributorID);
    c.CollectionID(collectionID);
    c.Comment(comment);
    c.Add_Record_to_DB();
    return c.ID();
}

double TestDataSet::Scalar(const QString& sql)
{
    Recordset rs(sql, DB());
    return rs.Eof() ? 0.0 : modGlobal::FieldDouble(rs.Field(0));
}
