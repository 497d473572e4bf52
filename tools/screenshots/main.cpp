// qv-screenshots: opens every window of the program offscreen on a small
// sample data set and writes one PNG per window, so that anyone can look at
// the program without a display.
//   qv-screenshots OUTDIR
#include "SampleData.h"
#include "shell/AllWindows.h"
#include "shell/WindowServices.h"
#include "shell/Windows.h"
#include "shell/frmChild.h"
#include "shell/frmMain.h"
#include "shell/frmPWChange.h"
#include "shell/frmPassword.h"
#include "shell/frmPickDB.h"
#include "shell/frmProgess.h"
#include "shell/modGlobal.h"
#include "shell/modSettings.h"
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "shell/QvGrid.h"
#include "storage/Recordset.h"
#include "shell/Helpers.h"
#include <QTabWidget>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

// The statements and pledge status windows (StatementShots.cpp).
void Statement_Screenshots(const std::function<void(QWidget*, const QString&)>& save);

namespace {
QString g_out;
int g_count = 0;

void Save(QWidget* w, const QString& name)
{
    QApplication::processEvents();
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (w->grab().save(path)) {
        ++g_count;
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    }
}

// Shows a dialog without a person to close it: grabbed, then closed.
int GrabDialog(QDialog* d)
{
    d->show();
    Save(d, d->objectName());
    d->reject();
    return d->result();
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(WindowServices::ProgramIcon());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv-screenshots OUTDIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);

    // A small data set of its own, in a temporary folder.
    QTemporaryDir dir;
    modGlobal::SetDataFolder(dir.path());
    modGlobal::SetSettingsFolder(dir.path());
    modGlobal::SetToday(QDate(2025, 6, 15));
    SampleData::Params p;
    p.contributors = 40;
    p.years = 2;
    p.lastYear = 2025;
    SampleData::CreateFile(dir.filePath(QStringLiteral("QVDATA.MDB")), p);
    modSettings::Write(QStringLiteral("General"), QStringLiteral("ProcessingYear"), QStringLiteral("2025"));

    RegisterAllWindows();
    WindowServices::SetModalHook(&GrabDialog);

    frmMain main;
    if (!main.Loaded())
        return 1;
    main.resize(1100, 750);
    main.show();
    QApplication::processEvents();
    Save(&main, QStringLiteral("frmMain"));

    // The start-up dialogs, as a person meets them.
    {
        modSettings::Write(QStringLiteral("General"), QStringLiteral("NumberDataSets"), QStringLiteral("2"));
        modSettings::Write(QStringLiteral("Database"), QStringLiteral("DBLabel"), QStringLiteral("Grace Fellowship Church"));
        modSettings::Write(QStringLiteral("Database2"), QStringLiteral("DBLabel"), QStringLiteral("Food Pantry"));
        frmPickDB pick(&main);
        pick.show();
        Save(&pick, QStringLiteral("frmPickDB"));
        frmPassword password(&main);
        password.show();
        password.txtPassword->setText(QStringLiteral("secret"));
        Save(&password, QStringLiteral("frmPassword"));
        frmProgess progress(&main);
        progress.Show_Progress(100, QStringLiteral("Loading Contributors and Pledges"));
        progress.Increment_Progess(40);
        Save(&progress, QStringLiteral("frmProgess"));
    }

    // Every task window the menus open, one at a time.
    const QStringList windows = {QStringLiteral("frmPWChange"), QStringLiteral("frmAbout"),
                                 QStringLiteral("frmFundList"), QStringLiteral("frmChurch"),
                                 QStringLiteral("frmPreferences"), QStringLiteral("frmPledgeUtil")};
    for (const QString& name : windows) {
        frmChild* w = Windows::Open_Single(name);
        if (!w)
            continue;
        Save(w->Frame(), name);
        w->Frame()->close();
        QApplication::processEvents();
    }

    // Offering entry: the collection-set dialog, the three tabs, a record.
    {
        frmCollectionDate dialog(&main);
        dialog.show();
        Save(&dialog, QStringLiteral("frmCollectionDate"));
    }
    Recordset newest(QStringLiteral("SELECT ID, CollectionDate FROM Collection ORDER BY CollectionDate DESC"), modGlobal::DB());
    const int set = modGlobal::FieldLong(newest.Field(0));
    const QDate setDate = modGlobal::FieldDate(newest.Field(1));
    auto* offering = qobject_cast<frmCollections*>(Windows::Open_New(
        QStringLiteral("frmCollections"),
        {{QStringLiteral("CollectionNumber"), set}, {QStringLiteral("CollectionDate"), setDate}}));
    const char* tabs[] = {"frmCollections-LooseOffering", "frmCollections-Contributors", "frmCollections-Totals"};
    for (int t = 0; t < 3; ++t) {
        offering->sstCollections->setCurrentIndex(t);
        if (t == 1)
            offering->txtQuick->setText(QStringLiteral("1"));
        Save(offering->Frame(), QLatin1String(tabs[t]));
    }
    offering->txtQuick->setText(QStringLiteral("4"));
    offering->Select_Contributor();
    for (frmChild* w : frmChild::OpenWindows())
        if (w->objectName() == QStringLiteral("frmContReceipt"))
            Save(w->Frame(), QStringLiteral("frmContReceipt"));
    for (frmChild* w : frmChild::OpenWindows())
        w->Frame()->close();
    QApplication::processEvents();

    // A fund's dialog, and the main fund's with its flags locked.
    for (int fund : {2, 1}) {
        Windows::Show_Fund(fund);
        frmChild* w = Windows::Find_Window(QStringLiteral("frmFundInfo"));
        Save(w->Frame(), fund == 1 ? QStringLiteral("frmFundInfo-MainFund") : QStringLiteral("frmFundInfo"));
        w->Frame()->close();
        QApplication::processEvents();
    }

    // Contributors: the list, a contributor with pledges, the pledge dialog.
    {
        frmChild* list = Windows::Open_Single(QStringLiteral("frmContList"));
        Save(list->Frame(), QStringLiteral("frmContList"));
        Recordset pledged(QStringLiteral("SELECT ContributorID, ID FROM Pledges WHERE FundID = -2025 ORDER BY ContributorID"),
                          modGlobal::DB());
        const int contributor = modGlobal::FieldLong(pledged.Field(0));
        Windows::Show_Contributor(contributor);
        frmChild* info = Windows::Find_Window(QStringLiteral("frmContInfo"));
        Save(info->Frame(), QStringLiteral("frmContInfo"));
        frmChild* pledge = Windows::Open_New(QStringLiteral("frmPledge"),
                                             {{QStringLiteral("PledgeID"), modGlobal::FieldLong(pledged.Field(1))},
                                              {QStringLiteral("ContributorID"), contributor},
                                              {QStringLiteral("UseEnvelopes"), true}});
        Save(pledge->Frame(), QStringLiteral("frmPledge"));
        for (frmChild* w : frmChild::OpenWindows())
            w->Frame()->close();
        QApplication::processEvents();
    }

    Statement_Screenshots([](QWidget* w, const QString& name) { Save(w, name); });

    // The main window as a treasurer has it on a Sunday: the contributor
    // list beside this week's offering window.
    Windows::Open_Single(QStringLiteral("frmContList"));
    frmChild* week = Windows::Open_New(QStringLiteral("frmCollections"), {{QStringLiteral("CollectionNumber"), set},
                                                                         {QStringLiteral("CollectionDate"), setDate}});
    main.Menu(QStringLiteral("mnuWindowSelect(1)"))->trigger();
    Windows::Bring_Forward(week);
    Save(&main, QStringLiteral("frmMain-with-windows"));

    std::printf("%d screenshots in %s\n", g_count, qPrintable(g_out));
    main.close();
    return 0;
}
