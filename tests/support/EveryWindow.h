#pragma once

#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "reports/frmEmailStatements.h"
#include "widgets/Windows.h"
#include "update/frmLocateUpdate.h"
#include "app/frmPassword.h"
#include "app/frmPickDB.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"
#include "year/YearEnd.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// Every window a treasurer meets, opened by name as the program opens it,
// for tests that walk them all. A dialog comes back unshown and owned by
// the caller (isWindow()); a task window lives in the main area.
namespace EveryWindow {

// The records a window is opened for.
struct Books {
    int building = 0, smith = 0, set = 0, pledge = 0;
};
inline const QDate kSunday(2025, 6, 8);

// Windows opened by name with nothing to set before they load.
inline const QStringList kPlain = {"frmContList", "frmFundList", "frmChurch", "frmPreferences", "frmPledgeUtil",
                                   "frmYear", "frmAssign", "frmActive", "frmRestore", "frmRptStatements",
                                   "frmRptPledgeStatus", "frmRptFunds", "frmRptMemorials", "frmRptTelephone",
                                   "frmRptMailingLabels", "frmRptEnvLabels", "frmRptTrends", "frmPWChange", "frmAbout"};
// The others, each opened for what it shows: the offering window on each
// of its tabs, a pledge both kept and new.
inline const QStringList kSpecial = {
    "frmCollections Loose Offering", "frmCollections Contributors", "frmCollections Totals", "frmCollections Plate Count",
    "frmContReceipt",
    "frmCollectionDate", "frmContInfo", "frmPledge", "frmPledge new", "frmFundInfo", "frmRptNumbers",
    "frmRptWeeklyReport", "frmRptDeposit", "frmPickDB", "frmPassword", "frmProgess", "frmLocateUpdate",
    "frmEmailStatements", "frmGiftMapping", "frmGiftPreview"};

// A giving platform's gift file beside the data file, with a donor to
// decide and a designation without a fund, so that every part shows.
inline QString Gift_File()
{
    const QString path = QFileInfo(modGlobal::DataFilePath).dir().filePath(QStringLiteral("online-gifts.csv"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("Gift Date,Donor Name,Email,Gross Amount,Fee,Designation,Transaction ID,Payout Date\r\n"
                "6/1/2025,Jonathan and Elizabeth Smith-Worthington,,\"1,250.00\",$36.55,Building and Grounds "
                "Improvement Fund,ch_3PqL0a,6/3/2025\r\n"
                "6/2/2025,Anne Member 3,,25.00,1.03,Where needed most,ch_3PqL0b,6/3/2025\r\n"
                "6/5/2025,New Family,,(25.00),0,Building and Grounds Improvement Fund,ch_3PqL0c,6/10/2025\r\n");
    return path;
}

inline QStringList Names()
{
    return kPlain + kSpecial;
}

inline QWidget* Open(const QString& name, const Books& b)
{
    if (kPlain.contains(name))
        return Windows::Open_New(name, {});
    if (name.startsWith(QLatin1String("frmCollections "))) {
        auto* w = qobject_cast<frmCollections*>(
            Windows::Open_New("frmCollections", {{"CollectionNumber", b.set}, {"CollectionDate", kSunday}}));
        if (w) // the tabs are the first four names, in their order
            w->sstCollections->setCurrentIndex(kSpecial.indexOf(name));
        return w;
    }
    if (name == "frmContReceipt")
        return Windows::Open_New(name, {{"ContributorID", b.smith}, {"CollectionNumber", b.set}, {"CollectionDate", kSunday}});
    if (name == "frmContInfo")
        return Windows::Open_New(name, {{"ContributorID", b.smith}});
    if (name.startsWith(QLatin1String("frmPledge")))
        return Windows::Open_New("frmPledge", {{"PledgeID", name == "frmPledge" ? b.pledge : 0},
                                               {"ContributorID", b.smith}, {"UseEnvelopes", true}});
    if (name == "frmFundInfo")
        return Windows::Open_New(name, {{"ID", b.building}});
    if (name == "frmRptNumbers")
        return Windows::Open_New(name, {{"FundID", -2026},
                                        {"Changes", QVariant::fromValue(modGlobal::Plan_Numbers(-2026, 1, true))}});
    if (name == "frmRptWeeklyReport" || name == "frmRptDeposit")
        return Windows::Open_New(name, {{"CollectionNumber", b.set}});
    if (name == "frmGiftMapping" || name == "frmGiftPreview")
        return Windows::Open_New(name, {{"FileName", Gift_File()}});
    if (name == "frmCollectionDate")
        return new frmCollectionDate;
    if (name == "frmPickDB")
        return new frmPickDB;
    if (name == "frmPassword")
        return new frmPassword;
    if (name == "frmLocateUpdate")
        return new frmLocateUpdate;
    if (name == "frmEmailStatements") {
        // The list before sending, for the year's statements; the report
        // lives as long as the dialog that shows it.
        auto* report = new rptStatement;
        report->Bind(Statements::Build({false, true, 0}, QDate(2025, 1, 1), QDate(2025, 12, 31)));
        auto* dialog = new frmEmailStatements(*report, QDate(2025, 1, 1), QDate(2025, 12, 31),
                                              QStringLiteral("1 contributor(s) in the run have no address:\nSmith, John"));
        QObject::connect(dialog, &QObject::destroyed, [report] { delete report; });
        return dialog;
    }
    if (name == "frmProgess") {
        auto* p = new frmProgess;
        p->Allow_Cancel();
        p->Show_Progress(100, QStringLiteral("Loading Contributors and Pledges"));
        return p;
    }
    return nullptr;
}

} // namespace EveryWindow
