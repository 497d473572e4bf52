// The year-end windows driven as the treasurer drives them: the change of
// processing year from the main window with its safety copy and the restore
// of that copy, the numbering dialog by keyboard, the activation dialog,
// and what each leaves in the data file when a write fails.
#include "offering/FundLinesView.h"
#include "offering/frmCollections.h"
#include "reports/PdfText.h"
#include "reports/Report.h"
#include "reports/frmReportWindow.h"
#include "support/WindowTest.h"
#include "app/frmPassword.h"
#include "widgets/frmProgess.h"
#include "core/modSettings.h"
#include "storage/clsFunds.h"
#include "support/ChurchSettings.h"
#include "year/SafetyCopy.h"
#include "year/frmActive.h"
#include "year/frmAssign.h"
#include "year/frmRestore.h"
#include "year/frmYear.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QTimer>

using namespace modGlobal;

namespace {
// Every pledge, oldest first, as "last name: fund #number inactive".
QStringList Pledges()
{
    QStringList all;
    for (Recordset rs("SELECT printf('%s: %d #%d %d', LastName, FundID, AccountNumber, Pledges.IsInactive)"
                      " FROM Pledges LEFT JOIN Contributors ON Contributors.ID = ContributorID ORDER BY Pledges.ID;",
                      DB());
         !rs.Eof(); rs.MoveNext())
        all << FieldText(rs.Field(0));
    return all;
}

QStringList Items(const QComboBox* c)
{
    QStringList t;
    for (int i = 0; i < c->count(); ++i)
        t << c->itemText(i) + (i == c->currentIndex() ? "*" : "");
    return t;
}

QString g_backups;
// The copies in the Backups folder, also once the books are closed.
int OpenLists()
{
    int n = 0;
    for (frmChild* w : frmChild::OpenWindows())
        n += w->objectName() == "frmRptNumbers";
    return n;
}

int Copies()
{
    if (HasDB())
        g_backups = SafetyCopy::Folder();
    return int(QDir(g_backups).entryList({"*.MDB"}, QDir::Files).size());
}

// The descriptions of the progress windows shown while 'run' runs, in order.
QStringList ProgressShown(const std::function<void()>& run)
{
    QStringList shown;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&shown] {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<frmProgess*>(t); p && p->isVisible()
                && (shown.isEmpty() || shown.last() != p->lblDescription->text()))
                shown << p->lblDescription->text();
    });
    look.start(0);
    run();
    return shown;
}

const QString kCopied = "A copy of the books before this change was saved as ";
} // namespace

class tst_YearWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void yearListAndCaptions();
    void yearEndFromTheMainWindowAndRestore();
    void numberingByKeyboard();
    void numberingFailures();
    void lockedFileAnsweredByTheDialog();
    void activation();

private:
    void Broadcast() { QObject::connect(DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast); }
    std::unique_ptr<TestDataSet> m_data;
};

void tst_YearWindows::init()
{
    m_data = std::make_unique<TestDataSet>();
    RegisterAllWindows();
}

void tst_YearWindows::cleanup()
{
    CloseAllWindows();
    m_data.reset();
}

void tst_YearWindows::yearListAndCaptions()
{
    Broadcast();
    ProcessingYear = 2004;
    // Which years are listed and which is preset is the year list's own
    // test; here the window shows that list.
    for (int y = 2001; y <= 2004; ++y)
        m_data->AddCollection(QDate(y, 9, 5));
    m_data->AddContributor("Adams");
    m_data->AddContributor("Baker");
    m_data->AddContributor("Cole", "", false);
    SetToday(QDate(2004, 3, 10));
    auto* w = OpenNew<frmYear>("frmYear");
    QCOMPARE(Items(w->cboYear), QStringList({"2001", "2002", "2003*", "2004", "2005"}));
    QCOMPARE(w->chkOldInactive->text(), "Mark all 2004 Operating Fund pledges as &Inactive");
    QCOMPARE(w->chkNewActive->text(), "Mark all 2003 Operating Fund pledges as &Active");
    QCOMPARE(w->Choice[0].chkAssign->text(), "Assign 2003 Operating Fund &envelope numbers");
    QCOMPARE(w->Choice[1].chkAssign->text(), "Assign 2003 Operating Fund a&uxiliary numbers");
    // The captions follow the year chosen and the main fund's new name.
    w->cboYear->setCurrentText("2005");
    QCOMPARE(w->chkNewActive->text(), "Mark all 2005 Operating Fund pledges as &Active");
    RenameMainFund("General Fund");
    QCOMPARE(w->chkOldInactive->text(), "Mark all 2004 General Fund pledges as &Inactive");
    QCOMPARE(w->Choice[0].chkAssign->text(), "Assign 2005 General Fund &envelope numbers");

    // The boxes follow their check box; the range follows the first number
    // and the contributors.
    QVERIFY(!w->Choice[0].txtBegin->isEnabled());
    QVERIFY(!w->Choice[1].lblBegin->isEnabled());
    w->Choice[0].chkAssign->setChecked(true);
    QVERIFY(w->Choice[0].txtBegin->isEnabled() && w->Choice[0].lblBegin->isEnabled());
    QVERIFY(!w->Choice[1].txtBegin->isEnabled());
    QCOMPARE(w->Choice[0].lblRange->text(), "2 contributors: 1 to 2");
    QCOMPARE(w->Choice[1].lblRange->text(), "1 contributor: 10001");
    w->Choice[0].txtBegin->setText("101");
    QCOMPARE(w->Choice[0].lblRange->text(), "2 contributors: 101 to 102");
    m_data->AddContributor("Dunn");
    QCOMPARE(w->Choice[0].lblRange->text(), "3 contributors: 101 to 103");
    w->Choice[0].txtBegin->setText("0");
    QCOMPARE(w->Choice[0].lblRange->text(), "Numbers begin with 1 or more");
}

void tst_YearWindows::yearEndFromTheMainWindowAndRestore()
{
    // The program as started by the treasurer, on an empty data file.
    m_data.reset();
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    RegisterAllWindows();
    // The new books' initial password, typed at start.
    ModalScript password([](QDialog* d) {
        return qobject_cast<frmPassword*>(d) ? AnswerPassword(d, {"Brv9kQ2e"}) : int(QDialog::Rejected);
    });
    frmMain main;
    QVERIFY(main.Loaded());
    main.show();
    QTRY_VERIFY(main.Password_Accepted());
    m_data->Listen();
    QCOMPARE(ProcessingYear, 2025);
    const int adams = m_data->AddContributor("Adams", "Al");
    const int baker = m_data->AddContributor("Baker", "Bo");
    const int cole = m_data->AddContributor("Cole", "Cy", false);
    m_data->AddPledge(adams, -2025, 100, 8);
    m_data->AddPledge(baker, -2025, 200, 4);
    m_data->AddPledge(cole, -2025, 50, 0);
    const int copiesAtStart = Copies();

    // Unchecked boxes change only the year.
    main.Menu("mnuChangeYear")->trigger();
    auto* w = OpenWindowOf<frmYear>();
    QVERIFY(w);
    const QStringList before = Pledges();
    w->cboYear->setCurrentText("2024");
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(ProcessingYear, 2024);
    QCOMPARE(main.sbPanel1->text(), "Processing Year: 2024");
    QCOMPARE(Pledges(), before);
    QCOMPARE(Copies(), copiesAtStart);

    // The same year with both marking boxes is refused and changes nothing.
    main.Menu("mnuChangeYear")->trigger();
    w = OpenWindowOf<frmYear>();
    w->cboYear->setCurrentText("2024");
    w->chkOldInactive->setChecked(true);
    w->chkNewActive->setChecked(true);
    m_data->Messages().Expect("The new year and the current year are both 2024 and the 2024 Operating Fund pledges "
                              "cannot be marked both Active and Inactive.");
    w->cmdOK->click();
    QCOMPARE(m_data->Messages().Seen().last().title, "Invalid");
    QVERIFY(!w->IsClosed());
    QCOMPARE(Pledges(), before);
    QCOMPARE(Copies(), copiesAtStart);
    w->cmdCancel->click();
    QVERIFY(w->IsClosed());

    // The whole year end into 2026, by the menu, with a copy first.
    main.Menu("mnuChangeYear")->trigger();
    w = OpenWindowOf<frmYear>();
    w->cboYear->setCurrentText("2026");
    for (QCheckBox* box : {w->chkOldInactive, w->chkNewActive, w->Choice[0].chkAssign, w->Choice[1].chkAssign})
        box->setChecked(true);
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(10, 0, 0)));
    m_data->DB().Execute("UPDATE Pledges SET FundID = -2024;"); // the pledges of the year ending
    const QStringList beforeYearEnd = Pledges();
    m_data->Messages().Expect(kCopied);
    // Steps in their order, each with its progress window.
    QCOMPARE(ProgressShown([w] { w->cmdOK->click(); }),
             QStringList({"Marking 2024 Operating Fund pledges as Inactive...",
                          "Assigning envelope numbers for the 2026 Operating Fund...",
                          "Assigning auxiliary numbers for the 2026 Operating Fund...",
                          "Marking 2026 Operating Fund pledges as Active..."}));
    QVERIFY(w->IsClosed());
    QCOMPARE(ProcessingYear, 2026);
    QCOMPARE(main.sbPanel1->text(), "Processing Year: 2026");
    QCOMPARE(Pledges(), QStringList({"Adams: -2024 #8 1", "Baker: -2024 #4 1", "Cole: -2024 #0 1", "Adams: -2026 #1 0",
                                     "Baker: -2026 #2 0", "Cole: -2026 #10001 0"}));
    QCOMPARE(w->Last_Changes().size(), 3);
    QCOMPARE(Copies(), copiesAtStart + 1);
    QVERIFY(m_data->Messages().Seen().last().text.contains(QDir::toNativeSeparators(SafetyCopy::List_Copies()[0].path)));

    // The copy gives back exactly the books before the year end; an open
    // window is closed first.
    Windows::Open_Single("frmContList");
    main.Menu("mnuRestore")->trigger();
    auto* r = OpenWindowOf<frmRestore>();
    QVERIFY(r);
    QCOMPARE(r->fgCopies->Rows(), 2 + copiesAtStart + 1);
    QCOMPARE(r->fgCopies->TextMatrix(2, 1), "June 15, 2025");
    QCOMPARE(r->fgCopies->TextMatrix(2, 2), "10:00:00 AM");
    r->fgCopies->SetRow(2);
    SafetyCopy::SetNow(QDateTime(QDate(2025, 6, 15), QTime(11, 0, 0)));
    // A hurried Enter leaves the books as they are.
    m_data->Messages().ExpectEnter("Put the books back as they were on June 15, 2025 at 10:00:00 AM?");
    r->cmdOK->click();
    QCOMPARE(ProcessingYear, 2026);
    QVERIFY(!r->IsClosed());
    m_data->Messages().Expect("Put the books back as they were on June 15, 2025 at 10:00:00 AM?", Messages::Answer::Yes);
    m_data->Messages().Expect("The books were put back as they were in");
    r->cmdOK->click();
    QCOMPARE(Pledges(), beforeYearEnd);
    QVERIFY(frmChild::OpenWindows().isEmpty());
    // The copy made before the year end brings back its year, and with it
    // the envelope numbers the contributor list shows.
    QCOMPARE(ProcessingYear, 2024);
    QCOMPARE(main.sbPanel1->text(), "Processing Year: 2024");
    auto* names = Windows::Open_Single("frmContList")->findChild<QvGrid*>("fgContributors");
    QVERIFY(names);
    QCOMPARE(names->TextMatrix(names->FindRow(1, "Adams, Al"), 2), "8");
    QCOMPARE(names->TextMatrix(names->FindRow(1, "Baker, Bo"), 2), "4");
    Windows::Find_Window("frmContList")->Frame()->close();
    // The books as they were after the year end are a copy of their own.
    QCOMPARE(Copies(), copiesAtStart + 2);

    // The restored books take work as before; a normal exit after it makes
    // one more copy and stores the year.
    m_data->Messages().VerifyAllShown();
    m_data->AddContributor("Dunn");
    QVERIFY(main.close());
    QCOMPARE(Copies(), copiesAtStart + 3);
    QCOMPARE(modSettings::Read("General", "ProcessingYear"), "2024");

    // A run that only looks leaves the copies as they are.
    frmMain again;
    QVERIFY(again.Loaded());
    again.show();
    QTRY_VERIFY(again.Password_Accepted());
    QVERIFY(again.close());
    QCOMPARE(Copies(), copiesAtStart + 3);
}

void tst_YearWindows::numberingByKeyboard()
{
    Broadcast();
    const int adams = m_data->AddContributor("Adams", "Al");
    const int baker = m_data->AddContributor("Baker", "Bo");
    m_data->AddPledge(adams, -2024, 10, 3);
    m_data->AddPledge(baker, -2023, 10, 3);
    ProcessingYear = 2025;
    auto* w = OpenSingle<frmAssign>("frmAssign");
    QCOMPARE(Items(w->cboFund), QStringList({"2023 Operating Fund", "2024 Operating Fund", "2025 Operating Fund*"}));
    // A new fund reaches the list; the fund chosen stays chosen.
    w->cboFund->setCurrentIndex(1);
    m_data->AddFund("Building Fund");
    QCOMPARE(Items(w->cboFund),
             QStringList({"2023 Operating Fund", "2024 Operating Fund*", "2025 Operating Fund", "Building Fund"}));
    w->cboFund->setCurrentIndex(2);

    // Fund, Tab, Space to check, Tab, the first number, Enter.
    w->Frame()->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->Frame()));
    w->cboFund->setFocus();
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), w->Choice[0].chkAssign);
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), w->Choice[0].txtBegin);
    Type("5"); // replaces the selected "1"
    QCOMPARE(w->Choice[0].lblRange->text(), "2 contributors: 5 to 6");
    m_data->Messages().Expect(kCopied);
    Key(Qt::Key_Return);
    QVERIFY(w->IsClosed());
    QCOMPARE(Pledges(), QStringList({"Adams: -2024 #3 0", "Baker: -2023 #3 0", "Adams: -2025 #5 0", "Baker: -2025 #6 0"}));
    QCOMPARE(Copies(), 1);

    // The list of old and new numbers opens, to print, or save as PDF or CSV.
    QCOMPARE(OpenLists(), 1);
    auto* list = qobject_cast<frmReportWindow*>(Windows::Find_Window("frmRptNumbers"));
    QVERIFY(list && list->Current_Report() && list->Current_Report()->Table(1));
    QCOMPARE(list->Current_Report()->Table(1)->RowCount(), 2);
    const QString pdf = QDir(m_data->Folder()).filePath("numbers.pdf");
    QVERIFY(list->Current_Report()->Layout(QDate(2025, 6, 15)).WritePdf(pdf));
    const QString page = PdfText::Pages(pdf).join('\f');
    for (const char* text : {"Changed Envelope Numbers", "2025 Operating Fund", "Page 1 of 1"})
        QVERIFY2(page.contains(text), qPrintable(page));
    // The old number is last year's, for the boxes to be matched by; Baker
    // had none last year.
    QVERIFY2(QRegularExpression("Adams, Al +Envelope +3 +5\n").match(page).hasMatch(), qPrintable(page));
    QVERIFY2(QRegularExpression("Baker, Bo +Envelope +6\n").match(page).hasMatch(), qPrintable(page));
    QStringList csv;
    QVERIFY(Reports::Export_Csv(*list->Current_Report(), m_data->Folder(), "numbers-", &csv));
    QFile file(csv.value(0));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(ReportTable::ParseCsv(file.readAll()).size(), 3);

    // Offering entry finds Baker by the new number.
    auto* week = OpenSet(m_data->AddCollection(QDate(2025, 6, 15)), QDate(2025, 6, 15));
    week->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(week->Frame()));
    QTRY_COMPARE(Focus(), week->lines->Amount(1));
    Key(Qt::Key_Tab, Qt::ControlModifier); // to the contributors tab and Quick Find
    Type("6");
    QCOMPARE(week->fgContrib->TextMatrix(week->fgContrib->RowSel(), 1), "Baker, Bo");
    delete week;

    // Running it again changes nothing, so no copy is made; neither box
    // checked simply closes.
    w = OpenSingle<frmAssign>("frmAssign");
    w->Choice[0].chkAssign->setChecked(true);
    w->Choice[0].txtBegin->setText("5");
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(Copies(), 1);
    QCOMPARE(OpenLists(), 1);
    w = OpenSingle<frmAssign>("frmAssign");
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
}

void tst_YearWindows::numberingFailures()
{
    Broadcast();
    const int adams = m_data->AddContributor("Adams");
    const int baker = m_data->AddContributor("Baker");
    m_data->AddPledge(adams, -2025, 10, 9);
    m_data->AddPledge(baker, -2025, 10, 9);
    m_data->ClearNotices();
    const QStringList before = Pledges();
    auto* w = OpenSingle<frmAssign>("frmAssign");
    w->Choice[0].chkAssign->setChecked(true);

    // 0 would leave the first contributor without a number.
    w->Choice[0].txtBegin->setText("abc");
    m_data->Messages().Expect("Please begin the envelope numbers with a number from 1 to 2147483646.");
    w->cmdOK->click();
    QCOMPARE(w->Choice[0].txtBegin->text(), "0");
    QCOMPARE(m_data->Messages().Beeps(), 1);
    QVERIFY(!w->IsClosed());

    // The engine refuses the second pledge: the first goes back too, the
    // user reads the engine's words, the dialog keeps its choices.
    w->Choice[0].txtBegin->setText("1");
    DB().Execute(QString("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON Pledges WHEN NEW.ContributorID = %1 "
                         "BEGIN SELECT RAISE(ABORT, 'injected failure'); END;")
                     .arg(baker));
    m_data->Messages().Expect("injected failure");
    w->cmdOK->click();
    QVERIFY(m_data->Messages().Seen().last().text.endsWith("Nothing was changed."));
    QVERIFY(!w->IsClosed());
    QVERIFY(w->Choice[0].chkAssign->isChecked());
    QCOMPARE(w->Choice[0].txtBegin->text(), "1");
    QCOMPARE(Pledges(), before);
    QVERIFY(m_data->Notices().isEmpty());
    DB().Execute("DROP TRIGGER temp.refuse;");

    // No copy can be made: the user may stop before anything changes.
    QFile::remove(SafetyCopy::Folder());
    QDir(SafetyCopy::Folder()).removeRecursively();
    QFile blocker(SafetyCopy::Folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_data->Messages().Expect("Make the change without a copy?", Messages::Answer::No);
    w->cmdOK->click();
    QVERIFY(!w->IsClosed());
    QCOMPARE(Pledges(), before);
    // Or go on without one.
    m_data->Messages().Expect("Make the change without a copy?", Messages::Answer::Yes);
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(Pledges(), QStringList({"Adams: -2025 #1 0", "Baker: -2025 #2 0"}));
}

void tst_YearWindows::lockedFileAnsweredByTheDialog()
{
    m_data->AddContributor("Adams");
    auto* w = OpenNew<frmYear>("frmYear");
    w->cboYear->setCurrentText("2026");
    w->Choice[0].chkAssign->setChecked(true);
    // Another program holds the file while OK reads it for the number check.
    DB().SetBusyTimeout(0);
    Connection other(m_data->DataFile());
    other.Execute("BEGIN EXCLUSIVE;");
    m_data->Messages().Expect("database is locked");
    w->cmdOK->click();
    QVERIFY(m_data->Messages().Seen().last().text.endsWith("Nothing was changed."));
    QVERIFY(!w->IsClosed());
    QCOMPARE(ProcessingYear, 2025);
    other.Execute("ROLLBACK;");
    delete w;
}

void tst_YearWindows::activation()
{
    Broadcast();
    const int adams = m_data->AddContributor("Adams");
    m_data->AddPledge(adams, -2024, 10, 1);
    m_data->AddPledge(adams, -2025, 10, 1, true);
    const int building = m_data->AddFund("Building Fund");
    m_data->AddPledge(adams, building, 10);
    const QStringList before = Pledges();
    auto* w = OpenSingle<frmActive>("frmActive");
    QCOMPARE(Items(w->cboFund), QStringList({"2024 Operating Fund", "2025 Operating Fund*", "Building Fund"}));

    // OK without a choice says so and changes nothing.
    m_data->Messages().Expect("Please choose Active or Inactive");
    w->cmdOK->click();
    QCOMPARE(m_data->Messages().Seen().last().title, "Make Pledges Active");
    QVERIFY(!w->IsClosed());
    QCOMPARE(Pledges(), before);

    // A data file that takes no writes: the engine's words, nothing changed.
    w->cboFund->setCurrentText("2024 Operating Fund");
    w->optInactive->setChecked(true);
    DB().Execute("PRAGMA query_only = 1;");
    m_data->Messages().Expect("readonly");
    w->cmdOK->click();
    QVERIFY(!w->IsClosed());
    QVERIFY(w->optInactive->isChecked());
    QCOMPARE(w->cboFund->currentText(), "2024 Operating Fund");
    QCOMPARE(Pledges(), before);
    DB().Execute("PRAGMA query_only = 0;");

    // Only the chosen fund's pledges change.
    m_data->Messages().Expect(kCopied);
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(Pledges(), QStringList({"Adams: -2024 #1 1", "Adams: -2025 #1 1", "Adams: 2 #0 0"}));
}

QV_TEST_MAIN(tst_YearWindows, QApplication)
#include "tst_year_windows.moc"
