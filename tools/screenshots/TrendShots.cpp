// The Giving Trends window on the demonstration books (120 households, three
// years), seen in the middle of June: this year beside the last.
#include "SampleData.h"
#include "reports/frmRptTrends.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "storage/clsFunds.h"
#include "core/modDBConnection.h"

#include <QApplication>
#include <QTemporaryDir>
#include <functional>

void Trend_Screenshots(const std::function<void(QWidget*, const QString&)>& save)
{
    for (frmChild* w : frmChild::OpenWindows())
        delete w;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QuorvaneDemo.MDB"));
    SampleData::Params p;
    p.contributors = 120;
    p.years = 3;
    p.lastYear = modGlobal::Today().year();
    SampleData::CreateFile(path, p);
    modGlobal::SetDB(std::make_unique<Connection>(path));
    modGlobal::ResetTableReady();
    modStartup::MakeTablesReady();
    clsFunds mainFund;
    mainFund.Get_One_Record(QStringLiteral("ID = 1"));
    modGlobal::MainFundName = mainFund.FundName();
    // The generator fills whole years; the books end on the day.
    const QString today = modDBConnection::DateLiteral(modGlobal::Today());
    modGlobal::DB().Execute(QStringLiteral("DELETE FROM Offering WHERE CollectionID IN (SELECT ID FROM Collection WHERE "
                                           "CollectionDate > ") + today + QStringLiteral(");"));
    modGlobal::DB().Execute(QStringLiteral("DELETE FROM Collection WHERE CollectionDate > ") + today + QStringLiteral(";"));
    modGlobal::ProcessingYear = modGlobal::Today().year();

    if (frmChild* w = Windows::Open_Single(QStringLiteral("frmRptTrends"))) {
        w->Frame()->resize(1280, 860);
        QApplication::processEvents();
        save(w->Frame(), QStringLiteral("frmRptTrends"));
        delete w;
    }
}
