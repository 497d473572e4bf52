// qv-screenshots: opens every window of the program offscreen on a small
// sample data set and writes one PNG per window, so that anyone can look at
// the program without a display.
//   qv-screenshots OUTDIR
#include "SampleData.h"
#include "app/AllWindows.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"
#include "app/frmMain.h"
#include "app/frmPWChange.h"
#include "app/frmPassword.h"
#include "update/frmLocateUpdate.h"
#include "app/frmPickDB.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "update/modUpdate.h"
#include "offering/frmCollectionDate.h"
#include "offering/frmCollections.h"
#include "offering/frmContReceipt.h"
#include "offering/CountPage.h"
#include "offering/PlateCount.h"
#include "reports/frmReportWindow.h"
#include "storage/ContributorQueries.h"
#include "reports/CRViewer91.h"
#include "reports/ReportDocument.h"
#include "widgets/QvGrid.h"
#include "core/Recordset.h"
#include "core/Helpers.h"
#include "year/SafetyCopy.h"
#include "year/YearEnd.h"
#include "year/frmYear.h"
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLineEdit>
#include <QMdiArea>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

// The statements and pledge status windows (StatementShots.cpp).
void Statement_Screenshots(const std::function<void(QWidget*, const QString&)>& save);
// The Giving Trends window on books of its own (TrendShots.cpp), which stay open.
void Trend_Screenshots(const std::function<void(QWidget*, const QString&)>& save);

namespace {
QString g_out;
QString g_suffix;
int g_count = 0;

void Save(QWidget* w, const QString& name)
{
    QApplication::processEvents();
    const QString path = QDir(g_out).filePath(name + g_suffix + QStringLiteral(".png"));
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

void Shoot_Listing_Windows(const std::function<void(QWidget*, const QString&)>& save, const QString& folder);
// The online gifts import's windows (GiftShots.cpp), on a file written into the folder.
void Gift_Screenshots(const std::function<void(QWidget*, const QString&)>& save, const QString& folder);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(WindowServices::ProgramIcon());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: qv-screenshots OUTDIR [POINTS]\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    // At another application font the pictures are named after it
    // ("frmYear-14pt.png"), beside those at the usual font.
    if (argc == 3) {
        const int points = QString::fromLocal8Bit(argv[2]).toInt();
        if (points < 6 || points > 40) {
            std::fprintf(stderr, "POINTS: a font size from 6 to 40\n");
            return 2;
        }
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(points);
        QApplication::setFont(font);
        g_suffix = QStringLiteral("-%1pt").arg(points);
    }
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

    // The locate window of File, Update Quorvane, on a documents folder of
    // its own with a package picked.
    {
        const QString documents = dir.filePath(QStringLiteral("Documents"));
        for (const char* folder : {"Church Updates", "Minutes", "Statements 2024"})
            QDir(documents).mkpath(QLatin1String(folder));
        for (const char* file : {"QVUPD.VXO", "Budget 2025.ods", "Council minutes.odt"}) {
            QFile f(QDir(documents).filePath(QLatin1String(file)));
            f.open(QIODevice::WriteOnly);
        }
        modUpdate::Context context = modUpdate::DefaultContext();
        context.documents = documents;
        modUpdate::SetContext(context);
        frmLocateUpdate locate(&main);
        locate.show();
        locate.fileQV->setCurrentRow(2);
        Save(&locate, QStringLiteral("frmLocateUpdate"));
        modUpdate::SetContext(std::nullopt);
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
    // The plate as two counters counted it, $5.00 short of the books so
    // that the difference shows: part in checks, the rest in bills and coin.
    {
        PlateCount::Count c;
        const qint64 entered = PlateCount::Entered_Cents(set);
        qint64 left = entered - 500;
        const qint64 checks[] = {left * 2 / 10, left / 10, left / 20};
        const char* numbers[] = {"1041", "388", "2210"};
        for (int i = 0; i < 3; ++i) {
            c.checks.append({QLatin1String(numbers[i]), checks[i], 0});
            left -= checks[i];
        }
        for (size_t i = 0; i < c.bills.size(); ++i) {
            c.bills[i] = left / PlateCount::Currency()[i].cents;
            left -= c.bills[i] * PlateCount::Currency()[i].cents;
        }
        for (size_t i = 0; i < c.coins.size(); ++i) {
            c.coins[i] = left / PlateCount::Coins()[i].cents;
            left -= c.coins[i] * PlateCount::Coins()[i].cents;
        }
        c.counter1 = QStringLiteral("Ruth Ames");
        c.counter2 = QStringLiteral("Bo Lindqvist");
        c.countedAt = QDateTime(setDate, QTime(12, 40));
        PlateCount::Save(set, c);
        PlateCount::Save_Bank_Line(QStringLiteral("First Bank of Elmwood, account 0012-3456"));
        offering->count->Show(c, ContributorQueries::With_Envelopes(2025));
        offering->sstCollections->setCurrentIndex(3);
        Save(offering->Frame(), QStringLiteral("frmCollections-PlateCount"));
        offering->sstCollections->setCurrentIndex(2);
        Save(offering->Frame(), QStringLiteral("frmCollections-Totals-Counted"));
    }
    offering->sstCollections->setCurrentIndex(1);
    offering->txtQuick->setText(QStringLiteral("4"));
    offering->Select_Contributor();
    for (frmChild* w : frmChild::OpenWindows())
        if (w->objectName() == QStringLiteral("frmContReceipt"))
            Save(w->Frame(), QStringLiteral("frmContReceipt"));
    for (frmChild* w : frmChild::OpenWindows())
        w->Frame()->close();
    QApplication::processEvents();

    // The weekly collection report of that set, as the offering window's
    // Print opens it: in the main window it fills, and its first page
    // painted as the printer and the PDF file get it.
    {
        frmChild* report = Windows::Open_New(QStringLiteral("frmRptWeeklyReport"), {{QStringLiteral("CollectionNumber"), set}});
        Save(&main, QStringLiteral("frmRptWeeklyReport"));
        if (auto* viewer = report->findChild<CRViewer91*>(QStringLiteral("CRViewer91")); viewer && viewer->Document()) {
            const ReportDocument* doc = viewer->Document();
            QImage page((doc->pageSize / ReportUnits::PerInch * 100).toSize(), QImage::Format_RGB32);
            page.setDotsPerMeterX(3937);
            page.setDotsPerMeterY(3937);
            page.fill(Qt::white);
            QPainter painter(&page);
            doc->Paint(painter, 0, QRectF(page.rect()));
            painter.end();
            const QString path = QDir(g_out).filePath(QStringLiteral("rptWeeklyReport-page1") + g_suffix + QStringLiteral(".png"));
            if (page.save(path)) {
                ++g_count;
                std::printf("%s\n", qPrintable(path));
            }
        }
        report->Frame()->close();
        QApplication::processEvents();
    }

    // The deposit slip of the same set's count, its first page as printed.
    if (auto* slip = qobject_cast<frmReportWindow*>(
            Windows::Open_New(QStringLiteral("frmRptDeposit"), {{QStringLiteral("CollectionNumber"), set}}))) {
        Save(&main, QStringLiteral("frmRptDeposit"));
        if (const ReportDocument* doc = slip->viewer->Document(); doc && doc->PageCount() > 0) {
            QImage page((doc->pageSize / ReportUnits::PerInch * 100).toSize(), QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter painter(&page);
            doc->Paint(painter, 0, QRectF(page.rect()));
            painter.end();
            const QString path = QDir(g_out).filePath(QStringLiteral("rptDeposit-page1") + g_suffix + QStringLiteral(".png"));
            if (page.save(path)) {
                ++g_count;
                std::printf("%s\n", qPrintable(path));
            }
        }
        slip->Frame()->close();
        QApplication::processEvents();
    }

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

    // The year-end dialogs, with a numbering box checked so that its range
    // shows, and the safety copies with a few copies made.
    {
        frmChild* assign = Windows::Open_Single(QStringLiteral("frmAssign"));
        assign->findChild<QCheckBox*>(QStringLiteral("chkAssign(0)"))->setChecked(true);
        Save(assign->Frame(), QStringLiteral("frmAssign"));
        // The numbers as a new year's numbering changes them.
        QList<modGlobal::NumberChange> changes = modGlobal::Plan_Numbers(-2026, 1, true);
        changes += modGlobal::Plan_Numbers(-2026, 10001, false);
        frmChild* list = Windows::Open_New(QStringLiteral("frmRptNumbers"),
                                           {{QStringLiteral("FundID"), -2026},
                                            {QStringLiteral("Changes"), QVariant::fromValue(changes)}});
        Save(list->Frame(), QStringLiteral("frmRptNumbers"));
        list->Frame()->close();
        frmChild* active = Windows::Open_Single(QStringLiteral("frmActive"));
        Save(active->Frame(), QStringLiteral("frmActive"));
        for (frmChild* w : frmChild::OpenWindows())
            w->Frame()->close();
        QApplication::processEvents();
        auto* year = qobject_cast<frmYear*>(Windows::Open_New(QStringLiteral("frmYear")));
        year->chkOldInactive->setChecked(true);
        year->Choice[0].chkAssign->setChecked(true);
        Save(year->Frame(), QStringLiteral("frmYear"));
        year->Frame()->close();
        for (int minute : {0, 5, 42}) {
            SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 14 + minute / 40), QTime(9, minute, 12)));
            SafetyCopy::Make_Copy();
        }
        SafetyCopy::SetNow({});
        frmChild* restore = Windows::Open_Single(QStringLiteral("frmRestore"));
        Save(restore->Frame(), QStringLiteral("frmRestore"));
        restore->Frame()->close();
        QApplication::processEvents();
    }
    Shoot_Listing_Windows(&Save, g_out);
    Gift_Screenshots(&Save, dir.path());
    Statement_Screenshots([](QWidget* w, const QString& name) { Save(w, name); });

    // The main window as a treasurer has it on a Sunday: the contributor
    // list beside this week's offering window.
    Windows::Open_Single(QStringLiteral("frmContList"));
    frmChild* week = Windows::Open_New(QStringLiteral("frmCollections"), {{QStringLiteral("CollectionNumber"), set},
                                                                         {QStringLiteral("CollectionDate"), setDate}});
    main.Menu(QStringLiteral("mnuWindowSelect(1)"))->trigger();
    Windows::Bring_Forward(week);
    Save(&main, QStringLiteral("frmMain-with-windows"));
    Trend_Screenshots([](QWidget* w, const QString& name) { Save(w, name); });

    std::printf("%d screenshots in %s\n", g_count, qPrintable(g_out));
    main.close();
    return 0;
}
