// The contributor list, the contributor window and the pledge dialog, as a
// treasurer uses them: by their controls, answering their questions.
#include "maintenance/ContributorMaintenance.h"
#include "maintenance/frmContInfo.h"
#include <QComboBox>
#include <QLineEdit>
#include "maintenance/frmContList.h"
#include "maintenance/frmPledge.h"
#include "support/WindowTest.h"
#include "storage/clsContributors.h"
#include "storage/clsPledges.h"

#include <QCheckBox>
#include <QPlainTextEdit>

using Messages::Answer;
using namespace modGlobal;

namespace {
frmPledge* OpenPledge(int contributor, bool envelopes, int pledgeID = 0)
{
    Windows::Open_New("frmPledge", {{"PledgeID", pledgeID},
                                                    {"ContributorID", contributor},
                                                    {"UseEnvelopes", envelopes}});
    return OpenOf<frmPledge>().last();
}

// The visible rows of a grid: columns 1 and 2.
QStringList Shown(QvGrid* g) { return GridText(g, {1, 2}, "|", HiddenRows::Leave); }
} // namespace

class tst_Contributors : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void theList();
    void newContributorWithPledgeCancelledOrSaved();
    void contributorWindow();
    void pledgeGridInTheContributorWindow();
    void pledgeDialogFundsAndNumbers();
    void pledgeDialogAmountsAndExistingPledges();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0;
};

void tst_Contributors::init()
{
    m_data = WindowBooks();
    m_building = m_data->AddFund("Building Fund");
    m_data->ClearNotices();
}

void tst_Contributors::cleanup()
{
    CloseAllWindows();
    m_data.reset();
}

void tst_Contributors::theList()
{
    const int ten = m_data->AddContributor("Adams", "Ann");
    const int nine = m_data->AddContributor("Young", "Yves");
    const int other = m_data->AddContributor("Baker", "Bo");
    const int gone = m_data->AddContributor("Clark", "Cy", true, true);
    const int twin = m_data->AddContributor("Abbot", "Al");
    m_data->AddPledge(ten, -2025, 100, 10);
    m_data->AddPledge(twin, -2025, 100, 10); // the same number twice: by name
    m_data->AddPledge(nine, -2025, 100, 9);
    m_data->AddPledge(other, -2024, 100, 1); // last year only: no number now
    m_data->AddPledge(gone, -2025, 0, 2);
    m_data->AddOffering(other, m_data->AddCollection(QDate(2025, 6, 1)), -2025, 20);
    frmContList* list = OpenSingle<frmContList>("frmContList");
    QvGrid* g = list->fgContributors;
    // Opened sorted by name, the inactive hidden.
    QCOMPARE(Shown(g), (QStringList{"Abbot, Al|10", "Adams, Ann|10", "Baker, Bo|", "Young, Yves|9"}));
    list->cmdSort->click();
    QCOMPARE(Shown(g), (QStringList{"Young, Yves|9", "Abbot, Al|10", "Adams, Ann|10", "Baker, Bo|"}));
    list->chkShowAll->setChecked(true);
    QCOMPARE(Shown(g).at(0), "Clark, Cy|2");
    list->chkShowAll->setChecked(false);
    // A second Contributors command focuses the same list.
    QCOMPARE(OpenSingle<frmContList>("frmContList"), list);
    QCOMPARE(OpenOf<frmContList>().size(), 1);

    // Changes made elsewhere: a renamed contributor moves to its place without
    // a rebuild; a main fund pledge fills the envelope column and its deletion empties it.
    list->cmdSort->click();
    const int rows = g->Rows();
    clsContributors c;
    c.ID(nine);
    c.Get_One_Record(QString());
    c.LastName("Aaron");
    c.Save_to_DB();
    QCOMPARE(g->Rows(), rows);
    clsPledges p;
    p.Get_One_Record("ID = " + QString::number(m_data->AddPledge(other, -2025, 520, 14)));
    QCOMPARE(Shown(g), (QStringList{"Aaron, Yves|9", "Abbot, Al|10", "Adams, Ann|10", "Baker, Bo|14"}));
    p.Delete_Record_from_DB();
    QCOMPARE(Shown(g).last(), "Baker, Bo|");
    // The sort and the show-all choice survive changes; a new contributor appears.
    list->cmdSort->click();
    list->chkShowAll->setChecked(true);
    m_data->AddContributor("Brown", "Cy");
    QCOMPARE(Shown(g).first(), "Clark, Cy|2");
    c.ID(ten);
    c.Get_One_Record(QString());
    c.LastName("Aardvark");
    c.Save_to_DB();
    QCOMPARE(Shown(g), (QStringList{"Clark, Cy|2", "Aaron, Yves|9", "Aardvark, Ann|10", "Abbot, Al|10", "Baker, Bo|",
                                    "Brown, Cy|"}));
    c.ID(gone);
    c.Delete_Record_from_DB();
    QCOMPARE(g->FindRow(1, "Clark, Cy"), -1);

    // Deleting: one with offerings is refused without a question; otherwise No keeps, Yes deletes.
    g->SetRow(g->FindRow(1, "Baker, Bo"));
    m_data->Messages().Expect("Offering has been collected for this Contributor");
    list->cmdDelete->click();
    g->SetRow(g->FindRow(1, "Abbot, Al"));
    const QString question = "This Contributor will be deleted.\r\n     Abbot, Al\r\n     Account Number 10\r\nAre you sure?";
    m_data->Messages().ExpectEnter(question); // Enter keeps the contributor
    list->cmdDelete->click();
    QVERIFY(g->FindRow(1, "Abbot, Al") >= 2);
    m_data->Messages().Expect(question, Answer::Yes);
    list->cmdDelete->click();
    QCOMPARE(g->FindRow(1, "Abbot, Al"), -1);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges WHERE ContributorID = " + QString::number(twin)), 0.0);
}

void tst_Contributors::newContributorWithPledgeCancelledOrSaved()
{
    frmContList* list = OpenSingle<frmContList>("frmContList");
    QvGrid* g = list->fgContributors;
    // An empty list: Edit and Delete do nothing, and ask nothing.
    list->cmdEdit->click();
    list->cmdDelete->click();
    QVERIFY(OpenOf<frmContInfo>().isEmpty());
    // The cancelled contributor's pledge goes as every pledge does: with a
    // notice that open windows hear.
    int pledgesDeleted = 0;
    const auto heard = QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange,
                                        [&](int table, bool, bool, bool deleted, int, int) {
                                            pledgesDeleted += table == dbPledges && deleted;
                                        });
    for (bool save : {false, true}) {
        list->cmdAdd->click();
        frmContInfo* info = OpenOf<frmContInfo>().last();
        QVERIFY(info->chkEnv->isChecked()); // the church's default
        info->txtLastName->setText("Newman");
        info->txtFirstNames->setText(QString(save ? "Saved" : "Cancelled"));
        info->cmdAdd->click();
        frmPledge* pledge = OpenOf<frmPledge>().last();
        Choose(pledge->cboFund, 0);
        QCOMPARE(pledge->txtAccountNumber->text(), "1");
        pledge->txtAmount->setText("520");
        pledge->cmdOK->click();
        QCOMPARE(info->fgPledges->TextMatrix(2, 2), "2025 Operating Fund");
        if (save)
            info->cmdOK->click();
        else
            info->cmdCancel->click();
    }
    QObject::disconnect(heard);
    QCOMPARE(pledgesDeleted, 1);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges"), 1.0);
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Contributors"), 1.0);
    QCOMPARE(Shown(g), (QStringList{"Newman, Saved|1"}));
    // A second list opened now shows the same.
    auto* second = new frmContList;
    Windows::Show_Child(second);
    QCOMPARE(Shown(second->fgContributors), (QStringList{"Newman, Saved|1"}));
}

void tst_Contributors::contributorWindow()
{
    m_data->AddContributor("Smith", "Roberta");
    const int id = m_data->AddContributor("Smith", "John & Mary");
    m_data->AddContributor("Smith", QString());
    QCOMPARE(ContributorMaintenance::Similar_Names("SMITH", QString()), (QStringList{"Roberta SMITH", "John & Mary SMITH"}));

    // One window per contributor; a blank last name is refused; every field reaches the file.
    Windows::Show_Contributor(id);
    Windows::Show_Contributor(id);
    QCOMPARE(OpenOf<frmContInfo>().size(), 1);
    frmContInfo* info = OpenOf<frmContInfo>().first();
    info->txtLastName->setText("   ");
    m_data->Messages().Expect("Please enter a Last Name for this Contributor.");
    info->cmdOK->click();
    QVERIFY(!info->IsClosed());
    info->txtLastName->setText("O'Neil");
    info->txtAddress1->setText("12 Elm St");
    info->txtCity->setText("Salem");
    info->txtState->setText("OR");
    info->txtZip->setText("97301");
    info->chkIsInactive->setChecked(true);
    info->chkEnv->setChecked(false);
    // A bad e-mail address is refused as soon as it is typed, and again by OK.
    QTest::keyClicks(info->txtEmail, "jm@oneil");
    m_data->Messages().Expect("The part after the @ of \"jm@oneil\" is not a domain like example.org.");
    emit info->txtEmail->editingFinished();
    m_data->Messages().VerifyAllShown();
    m_data->Messages().Expect("is not a domain like example.org");
    info->cmdOK->click();
    QVERIFY(!info->IsClosed());
    // A good one turns the statements to e-mail.
    info->txtEmail->clear();
    QTest::keyClicks(info->txtEmail, "jm@oneil.example");
    emit info->txtEmail->editingFinished();
    QCOMPARE(info->cboDelivery->currentText(), "E-mail");
    info->cmdOK->click();
    QVERIFY(info->IsClosed());
    QCOMPARE(m_data->Scalar(QString("SELECT Delivery FROM ContributorEmail WHERE ContributorID = %1 AND Email = 'jm@oneil.example'").arg(id)), 1.0);
    clsContributors c;
    c.ID(id);
    c.Get_One_Record(QString());
    QCOMPARE(c.FullName(true) + " / " + c.FullAddress(false), "O'Neil, John & Mary / 12 Elm St, Salem, OR  97301");
    QVERIFY(c.IsInactive() && !c.UseEnvelopes());

    // A new Robert Smith is asked about Roberta; Bob is not.
    Windows::Show_Contributor(0);
    info = OpenOf<frmContInfo>().last();
    info->txtLastName->setText("Smith");
    info->txtFirstNames->setText("Robert");
    m_data->Messages().ExpectEnter("A contributor with a similar name already exists:\r\n\r\nRoberta Smith\r\n\r\n"
                                   "Are you sure you want to add Robert Smith?");
    info->cmdOK->click();
    QVERIFY(!info->IsClosed());
    info->txtFirstNames->setText("Bob");
    info->cmdOK->click();
    QVERIFY(info->IsClosed());
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Contributors WHERE FirstNames = 'Bob'"), 1.0);
}

void tst_Contributors::pledgeGridInTheContributorWindow()
{
    const int id = m_data->AddContributor("Smith", "Ann");
    m_data->AddPledge(id, -2005, 300, 0, true); // an old, inactive pledge
    m_data->AddPledge(id, -2025, 520, 7);
    const int building = m_data->AddPledge(id, m_building, 1000, 10001);
    m_data->AddOffering(id, m_data->AddCollection(QDate(2025, 1, 5)), m_building, 50);
    Windows::Show_Contributor(id);
    frmContInfo* info = OpenOf<frmContInfo>().first();
    QvGrid* g = info->fgPledges;
    QCOMPARE(Shown(g), (QStringList{"7|2025 Operating Fund", "10001|Building Fund"}));
    info->chkShowAll->setChecked(true);
    QCOMPARE(Shown(g).first(), "|2005 Operating Fund");
    QCOMPARE(g->TextMatrix(g->FindRow(0, QString::number(building)), 3), "$1,000.00");

    // A pledge with offerings stays; one without asks and goes.
    g->SetRow(g->FindRow(0, QString::number(building)));
    m_data->Messages().Expect("Offering has been collected for this Pledge, so it cannot be deleted.");
    info->cmdDelete->click();
    g->SetRow(g->FindRow(2, "2025 Operating Fund"));
    const QString question = QStringLiteral("This Pledge will be deleted.\r\n     Envelope Number: 7\r\n     Fund Name: "
                                            "2025 Operating Fund\r\n     Amount: $520.00\r\nAre you sure?");
    m_data->Messages().ExpectEnter(question); // Enter keeps it
    info->cmdDelete->click();
    QVERIFY(g->FindRow(2, "2025 Operating Fund") >= 2);
    m_data->Messages().Expect(question, Answer::Yes);
    info->cmdDelete->click();
    QCOMPARE(g->FindRow(2, "2025 Operating Fund"), -1);
    // Pledges of other contributors never reach this grid.
    const int rows = g->Rows();
    m_data->AddPledge(m_data->AddContributor("Other"), -2025, 50, 3);
    QCOMPARE(g->Rows(), rows);
}

void tst_Contributors::pledgeDialogFundsAndNumbers()
{
    m_data->AddFund("Flowers", false); // not pledgeable: never offered
    const int a = m_data->AddContributor("Envelope", "A", true);
    const int b = m_data->AddContributor("Envelope", "B", true);
    const int n = m_data->AddContributor("Plain", "N", false);
    m_data->AddPledge(a, m_building, 100, 1);
    m_data->AddPledge(n, m_building, 100, 10001);
    m_data->AddPledge(b, -2025, 100, 7);

    frmPledge* d = OpenPledge(a, true);
    QStringList items;
    for (int i = 0; i < d->cboFund->count(); ++i)
        items << d->cboFund->itemText(i);
    QCOMPARE(items, (QStringList{"2025 Operating Fund", "Building Fund"}));
    QCOMPARE(d->txtAccountNumber->text(), "0");
    m_data->Messages().Expect("Please select a fund for this Pledge.");
    d->cmdOK->click();
    QVERIFY(!d->IsClosed());
    // The next number of the fund, envelopes and others apart.
    Choose(d->cboFund, 1);
    QCOMPARE(d->txtAccountNumber->text(), "2");
    Choose(d->cboFund, 0);
    QCOMPARE(d->txtAccountNumber->text(), "8"); // after B's 7
    d->cmdCancel->click();

    d = OpenPledge(b, true); // B already pledges to this year's main fund
    QCOMPARE(d->cboFund->itemText(0), "Building Fund");
    d->cmdCancel->click();
    d = OpenPledge(n, false);
    Choose(d->cboFund, 0);
    QCOMPARE(d->txtAccountNumber->text(), "10001");
    Choose(d->cboFund, 1);
    QCOMPARE(d->txtAccountNumber->text(), "10002");
    d->cmdCancel->click();
    QCOMPARE(m_data->Scalar("SELECT COUNT(*) FROM Pledges"), 3.0); // Cancel wrote nothing
}

void tst_Contributors::pledgeDialogAmountsAndExistingPledges()
{
    const int c = m_data->AddContributor("Smith", "Ann");
    frmPledge* d = OpenPledge(c, true);
    d->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d));
    // Leaving a box shows what it holds as a number; a blank one is no mistake.
    d->txtAccountNumber->setFocus();
    d->txtAccountNumber->setText(QString());
    d->txtAmount->setFocus();
    QCOMPARE(d->txtAccountNumber->text(), "0");
    QCOMPARE(m_data->Messages().Beeps(), 0);
    d->txtAmount->setText("1234.5");
    d->txtAccountNumber->setFocus();
    QCOMPARE(d->txtAmount->text(), "$1,234.50");
    d->cboFund->setCurrentIndex(d->cboFund->findText("Building Fund"));
    d->txtNotes->setPlainText("Card received  " + QString(300, QLatin1Char('x')));
    d->chkInactive->setChecked(true);
    d->cmdOK->click();
    QVERIFY(d->IsClosed());
    clsPledges p;
    p.Get_One_Record("ContributorID = " + QString::number(c));
    QCOMPARE(p.Amount(), 1234.5);
    QCOMPARE(p.FundID(), m_building);
    QVERIFY(p.IsInactive());
    QCOMPARE(p.Notes().size(), 250);

    // An existing pledge: its fund shown, the list disabled; unchanged OK writes nothing.
    d = OpenPledge(c, true, p.ID());
    QVERIFY(!d->cboFund->isEnabled());
    QCOMPARE(d->cboFund->currentText(), "Building Fund");
    QCOMPARE(d->txtAmount->text(), "$1,234.50");
    m_data->ClearNotices();
    d->cmdOK->click();
    QVERIFY(m_data->Notices().isEmpty());
}

QV_TEST_MAIN(tst_Contributors, QApplication)
#include "tst_contributors.moc"
