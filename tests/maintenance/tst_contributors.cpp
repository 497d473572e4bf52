// The contributor list, the contributor window and the pledge dialog, as a
// treasurer uses them: by their controls, answering their questions.
#include "maintenance/ContributorMaintenance.h"
#include "maintenance/frmContInfo.h"
#include "maintenance/frmContList.h"
#include "maintenance/frmPledge.h"
#include "shell/AllWindows.h"
#include "shell/Helpers.h"
#include "shell/QvGrid.h"
#include "shell/Windows.h"
#include "shell/clsDBEvent.h"
#include "shell/frmChild.h"
#include "shell/modGlobal.h"
#include "storage/clsContributors.h"
#include "storage/clsPledges.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/TestDataSet.h"

using Messages::Answer;
using namespace modGlobal;

namespace {
template <class T>
QList<T*> Open()
{
    QList<T*> found;
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* t = qobject_cast<T*>(w))
            found << t;
    return found;
}

frmContList* OpenList()
{
    return qobject_cast<frmContList*>(Windows::Open_Single(QStringLiteral("frmContList")));
}

// The visible rows of a list: name and envelope.
QStringList Shown(QvGrid* g)
{
    QStringList rows;
    for (int r = 2; r < g->Rows(); ++r)
        if (!g->IsRowHidden(r))
            rows << g->TextMatrix(r, 1) + QLatin1Char('|') + g->TextMatrix(r, 2);
    return rows;
}

int RowOf(QvGrid* g, const QString& name)
{
    return g->FindRow(1, name);
}
} // namespace

class tst_Contributors : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listOrdersAndFilters();
    void emptyList();
    void listFollowsChangesMadeElsewhere();
    void deletingAContributor();
    void newContributorWithPledgeCancelledOrSaved();
    void similarNames();
    void incompleteAndDuplicateWindows();
    void pledgeGridInTheContributorWindow();
    void pledgeDialogFundsAndNumbers();
    void pledgeDialogAmountsAndExistingPledges();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0;
};

void tst_Contributors::init()
{
    m_data = std::make_unique<TestDataSet>();
    RegisterAllWindows();
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
    m_building = m_data->AddFund(QStringLiteral("Building Fund"));
    m_data->ClearNotices();
}

void tst_Contributors::cleanup()
{
    for (frmChild* w : frmChild::OpenWindows())
        delete w;
    m_data.reset();
}

void tst_Contributors::listOrdersAndFilters()
{
    const int ten = m_data->AddContributor(QStringLiteral("Adams"), QStringLiteral("Ann"));
    const int nine = m_data->AddContributor(QStringLiteral("Young"), QStringLiteral("Yves"));
    const int other = m_data->AddContributor(QStringLiteral("Baker"), QStringLiteral("Bo"));
    const int gone = m_data->AddContributor(QStringLiteral("Clark"), QStringLiteral("Cy"), true, true);
    const int twin = m_data->AddContributor(QStringLiteral("Abbot"), QStringLiteral("Al"));
    m_data->AddPledge(ten, -2025, 100, 10);
    m_data->AddPledge(twin, -2025, 100, 10); // the same number twice: by name
    m_data->AddPledge(nine, -2025, 100, 9);
    m_data->AddPledge(other, -2024, 100, 1); // last year only: no number now
    m_data->AddPledge(gone, -2025, 0, 2);
    frmContList* list = OpenList();
    QCOMPARE(list->windowTitle(), QStringLiteral("Contributors"));
    QvGrid* g = list->fgContributors;
    QCOMPARE(g->TextMatrix(0, 2), QStringLiteral("2025\r\nEnvelope No."));
    // Opened sorted by name, the inactive hidden.
    QCOMPARE(list->cmdSort->text(), QStringLiteral("Sort by Number"));
    QCOMPARE(Shown(g), (QStringList{"Abbot, Al|10", "Adams, Ann|10", "Baker, Bo|", "Young, Yves|9"}));
    list->cmdSort->click();
    QCOMPARE(list->cmdSort->text(), QStringLiteral("Sort by Name"));
    QCOMPARE(Shown(g), (QStringList{"Young, Yves|9", "Abbot, Al|10", "Adams, Ann|10", "Baker, Bo|"}));
    list->chkShowAll->setChecked(true);
    QCOMPARE(Shown(g).at(0), QStringLiteral("Clark, Cy|2"));
    list->chkShowAll->setChecked(false);
    QCOMPARE(Shown(g).size(), 4);
    // A second Contributors command focuses the same list.
    QCOMPARE(OpenList(), list);
    QCOMPARE(Open<frmContList>().size(), 1);
}

void tst_Contributors::emptyList()
{
    frmContList* list = OpenList();
    QCOMPARE(list->fgContributors->Rows(), 2);
    list->cmdEdit->click();
    list->cmdDelete->click(); // nothing to answer: no message may appear
    QVERIFY(Open<frmContInfo>().isEmpty());
}

void tst_Contributors::listFollowsChangesMadeElsewhere()
{
    const int smith = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Ann"));
    m_data->AddContributor(QStringLiteral("Jones"), QStringLiteral("Bob"));
    const int gone = m_data->AddContributor(QStringLiteral("Zed"), QStringLiteral("Old"), true, true);
    frmContList* list = OpenList();
    QvGrid* g = list->fgContributors;
    const int rowsBefore = g->Rows();

    // A renamed contributor moves to its place; the list is not rebuilt.
    clsContributors c;
    c.ID(smith);
    c.Get_One_Record(QString());
    c.LastName(QStringLiteral("Abel"));
    c.Save_to_DB();
    QCOMPARE(Shown(g), (QStringList{"Abel, Ann|", "Jones, Bob|"}));
    QCOMPARE(g->Rows(), rowsBefore);

    // A main fund pledge fills the envelope column at once; deleting it empties it.
    const int pledge = m_data->AddPledge(smith, -2025, 520, 14);
    QCOMPARE(g->TextMatrix(RowOf(g, QStringLiteral("Abel, Ann")), 2), QStringLiteral("14"));
    clsPledges p;
    p.Get_One_Record(QStringLiteral("ID = ") + QString::number(pledge));
    p.Delete_Record_from_DB();
    QCOMPARE(g->TextMatrix(RowOf(g, QStringLiteral("Abel, Ann")), 2), QString());

    // The show-all choice survives a change; a new contributor appears.
    list->chkShowAll->setChecked(true);
    m_data->AddContributor(QStringLiteral("Brown"), QStringLiteral("Cy"));
    QCOMPARE(Shown(g), (QStringList{"Abel, Ann|", "Brown, Cy|", "Jones, Bob|", "Zed, Old|"}));
    c.ID(gone);
    c.Get_One_Record(QString());
    c.Delete_Record_from_DB();
    QCOMPARE(RowOf(g, QStringLiteral("Zed, Old")), -1);
}

void tst_Contributors::deletingAContributor()
{
    const int giver = m_data->AddContributor(QStringLiteral("Giver"), QStringLiteral("Gus"));
    const int leaver = m_data->AddContributor(QStringLiteral("Leaver"), QStringLiteral("Lou"));
    m_data->AddPledge(leaver, -2025, 100, 5);
    m_data->AddOffering(giver, m_data->AddCollection(QDate(2025, 6, 1)), -2025, 20);
    frmContList* list = OpenList();
    QvGrid* g = list->fgContributors;

    g->SetRow(RowOf(g, QStringLiteral("Giver, Gus")));
    m_data->Messages().Expect(QStringLiteral("Offering has been collected for this Contributor"));
    list->cmdDelete->click(); // refused, and no question follows

    g->SetRow(RowOf(g, QStringLiteral("Leaver, Lou")));
    m_data->Messages().Expect(QStringLiteral("This Contributor will be deleted."), Answer::No);
    list->cmdDelete->click();
    const Messages::Message asked = m_data->Messages().Seen().last();
    QCOMPARE(asked.text, QStringLiteral("This Contributor will be deleted.\r\n     Leaver, Lou\r\n     Account Number 5\r\n"
                                        "Are you sure?"));
    QCOMPARE(asked.title, QStringLiteral("Delete Contributor's Account"));
    QVERIFY(RowOf(g, QStringLiteral("Leaver, Lou")) >= 2);
    m_data->Messages().Expect(QStringLiteral("This Contributor will be deleted."), Answer::Yes);
    list->cmdDelete->click();
    QCOMPARE(RowOf(g, QStringLiteral("Leaver, Lou")), -1);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges")), 0.0);
}

void tst_Contributors::newContributorWithPledgeCancelledOrSaved()
{
    frmContList* list = OpenList();
    QvGrid* g = list->fgContributors;
    for (bool save : {false, true}) {
        list->cmdAdd->click();
        frmContInfo* info = Open<frmContInfo>().last();
        QVERIFY(info->chkEnv->isChecked()); // the church's default
        info->txtLastName->setText(QStringLiteral("Newman"));
        info->txtFirstNames->setText(save ? QStringLiteral("Saved") : QStringLiteral("Cancelled"));
        info->cmdAdd->click();
        frmPledge* pledge = Open<frmPledge>().last();
        QCOMPARE(pledge->cboFund->itemText(0), QStringLiteral("2025 Operating Fund"));
        pledge->cboFund->setCurrentIndex(0);
        emit pledge->cboFund->activated(0);
        QCOMPARE(pledge->txtAccountNumber->text(), QStringLiteral("1"));
        pledge->txtAmount->setText(QStringLiteral("520"));
        pledge->cmdOK->click();
        QCOMPARE(info->fgPledges->TextMatrix(2, 2), QStringLiteral("2025 Operating Fund"));
        if (save)
            info->cmdOK->click();
        else
            info->cmdCancel->click();
    }
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges")), 1.0);
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Contributors")), 1.0);
    QCOMPARE(Shown(g), (QStringList{"Newman, Saved|1"}));
    // A second list opened now shows the same.
    auto* second = new frmContList;
    Windows::Show_Child(second);
    QCOMPARE(Shown(second->fgContributors), (QStringList{"Newman, Saved|1"}));
}

void tst_Contributors::similarNames()
{
    m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Roberta"));
    m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("John & Mary"));
    m_data->AddContributor(QStringLiteral("Smith"), QString());
    QCOMPARE(ContributorMaintenance::Similar_Names(QStringLiteral("Smith"), QStringLiteral("Robert")),
             (QStringList{"Roberta Smith"}));
    QVERIFY(ContributorMaintenance::Similar_Names(QStringLiteral("Smith"), QStringLiteral("Bob")).isEmpty());
    QCOMPARE(ContributorMaintenance::Similar_Names(QStringLiteral("SMITH"), QString()),
             (QStringList{"Roberta SMITH", "John & Mary SMITH"}));

    Windows::Show_Contributor(0);
    frmContInfo* info = Open<frmContInfo>().last();
    info->txtLastName->setText(QStringLiteral("Smith"));
    info->txtFirstNames->setText(QStringLiteral("Robert"));
    m_data->Messages().Expect(QStringLiteral("A contributor with a similar name already exists:\r\n\r\nRoberta Smith\r\n\r\n"
                                             "Are you sure you want to add Robert Smith?"),
                              Answer::No);
    info->cmdOK->click();
    QVERIFY(!info->IsClosed());
    info->txtFirstNames->setText(QStringLiteral("Bob"));
    info->cmdOK->click(); // no question for Bob
    QVERIFY(info->IsClosed());
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Contributors WHERE FirstNames = 'Bob'")), 1.0);
}

void tst_Contributors::incompleteAndDuplicateWindows()
{
    const int id = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Ann"));
    Windows::Show_Contributor(id);
    Windows::Show_Contributor(id);
    QCOMPARE(Open<frmContInfo>().size(), 1);
    frmContInfo* info = Open<frmContInfo>().first();
    QCOMPARE(info->txtFirstNames->text(), QStringLiteral("Ann"));
    info->txtLastName->setText(QStringLiteral("   "));
    m_data->Messages().Expect(QStringLiteral("Please enter a Last Name for this Contributor."));
    info->cmdOK->click();
    QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Incomplete"));
    QVERIFY(!info->IsClosed());
    // Every field reaches the file as typed; the window closes.
    info->txtLastName->setText(QStringLiteral("O'Neil"));
    info->txtAddress1->setText(QStringLiteral("12 Elm St"));
    info->txtCity->setText(QStringLiteral("Salem"));
    info->txtState->setText(QStringLiteral("OR"));
    info->txtZip->setText(QStringLiteral("97301"));
    info->txtPhone->setText(QStringLiteral("555-0100"));
    info->chkIsInactive->setChecked(true);
    info->chkEnv->setChecked(false);
    info->cmdOK->click();
    clsContributors c;
    c.ID(id);
    c.Get_One_Record(QString());
    QCOMPARE(c.FullName(true), QStringLiteral("O'Neil, Ann"));
    QCOMPARE(c.FullAddress(false), QStringLiteral("12 Elm St, Salem, OR  97301"));
    QVERIFY(c.IsInactive());
    QVERIFY(!c.UseEnvelopes());
}

void tst_Contributors::pledgeGridInTheContributorWindow()
{
    const int id = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Ann"));
    m_data->AddPledge(id, -2005, 300, 0, true); // an old, inactive pledge
    m_data->AddPledge(id, -2025, 520, 7);
    const int building = m_data->AddPledge(id, m_building, 1000, 10001);
    m_data->AddOffering(id, m_data->AddCollection(QDate(2025, 1, 5)), m_building, 50);
    Windows::Show_Contributor(id);
    frmContInfo* info = Open<frmContInfo>().first();
    QvGrid* g = info->fgPledges;
    QCOMPARE(Shown(g), (QStringList{"7|2025 Operating Fund", "10001|Building Fund"}));
    info->chkShowAll->setChecked(true);
    QCOMPARE(Shown(g).first(), QStringLiteral("|2005 Operating Fund"));
    QCOMPARE(g->TextMatrix(g->FindRow(0, QString::number(building)), 3), QStringLiteral("$1,000.00"));

    // A pledge with offerings stays; one without asks and goes.
    g->SetRow(g->FindRow(0, QString::number(building)));
    m_data->Messages().Expect(QStringLiteral("Offering has been collected for this Pledge, so it cannot be deleted."));
    info->cmdDelete->click();
    g->SetRow(g->FindRow(2, QStringLiteral("2025 Operating Fund")));
    m_data->Messages().Expect(QStringLiteral("This Pledge will be deleted.\r\n     Envelope Number: 7\r\n     Fund Name: 2025 "
                                             "Operating Fund\r\n     Amount: $520.00\r\nAre you sure?"),
                              Answer::Yes);
    info->cmdDelete->click();
    QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Delete Contributor's Pledge"));
    QCOMPARE(g->FindRow(2, QStringLiteral("2025 Operating Fund")), -1);
    // Pledges of other contributors never reach this grid.
    const int rows = g->Rows();
    m_data->AddPledge(m_data->AddContributor(QStringLiteral("Other")), -2025, 50, 3);
    QCOMPARE(g->Rows(), rows);
}

void tst_Contributors::pledgeDialogFundsAndNumbers()
{
    m_data->AddFund(QStringLiteral("Flowers"), false); // not pledgeable: never offered
    const int a = m_data->AddContributor(QStringLiteral("Envelope"), QStringLiteral("A"), true);
    const int b = m_data->AddContributor(QStringLiteral("Envelope"), QStringLiteral("B"), true);
    const int n = m_data->AddContributor(QStringLiteral("Plain"), QStringLiteral("N"), false);
    using ContributorMaintenance::Next_Account_Number;
    QCOMPARE(Next_Account_Number(m_building, true), 1);
    QCOMPARE(Next_Account_Number(m_building, false), 10001);
    m_data->AddPledge(a, m_building, 100, 1);
    m_data->AddPledge(n, m_building, 100, 10001);
    QCOMPARE(Next_Account_Number(m_building, true), 2);
    QCOMPARE(Next_Account_Number(m_building, false), 10002);
    QCOMPARE(Next_Account_Number(-2025, true), 1); // per fund
    m_data->AddPledge(b, -2025, 100, 7);

    auto open = [&](int contributor, bool envelopes, int pledgeID = 0) {
        Windows::Open_New(QStringLiteral("frmPledge"), {{QStringLiteral("PledgeID"), pledgeID},
                                                        {QStringLiteral("ContributorID"), contributor},
                                                        {QStringLiteral("UseEnvelopes"), envelopes}});
        return Open<frmPledge>().last();
    };
    frmPledge* d = open(a, true);
    QCOMPARE(d->windowTitle(), QStringLiteral("Edit Pledge"));
    QStringList items;
    for (int i = 0; i < d->cboFund->count(); ++i)
        items << d->cboFund->itemText(i);
    QCOMPARE(items, (QStringList{"2025 Operating Fund", "Building Fund"}));
    QCOMPARE(d->txtAccountNumber->text(), QStringLiteral("0"));
    m_data->Messages().Expect(QStringLiteral("Please select a fund for this Pledge."));
    d->cmdOK->click();
    QVERIFY(!d->IsClosed());
    d->cboFund->setCurrentIndex(1);
    emit d->cboFund->activated(1);
    QCOMPARE(d->txtAccountNumber->text(), QStringLiteral("2"));
    d->cboFund->setCurrentIndex(0);
    emit d->cboFund->activated(0);
    QCOMPARE(d->txtAccountNumber->text(), QStringLiteral("8")); // after B's 7
    d->cmdCancel->click();

    d = open(b, true); // B already pledges to this year's main fund
    QCOMPARE(d->cboFund->itemText(0), QStringLiteral("Building Fund"));
    d->cmdCancel->click();
    d = open(n, false);
    d->cboFund->setCurrentIndex(0);
    emit d->cboFund->activated(0);
    QCOMPARE(d->txtAccountNumber->text(), QStringLiteral("10001"));
    d->cmdCancel->click();
    QCOMPARE(m_data->Scalar(QStringLiteral("SELECT COUNT(*) FROM Pledges")), 3.0); // Cancel wrote nothing
}

void tst_Contributors::pledgeDialogAmountsAndExistingPledges()
{
    const int c = m_data->AddContributor(QStringLiteral("Smith"), QStringLiteral("Ann"));
    Windows::Open_New(QStringLiteral("frmPledge"), {{QStringLiteral("PledgeID"), 0},
                                                    {QStringLiteral("ContributorID"), c},
                                                    {QStringLiteral("UseEnvelopes"), true}});
    frmPledge* d = Open<frmPledge>().last();
    d->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d));
    d->txtAmount->setFocus();
    d->txtAmount->setText(QStringLiteral("abc"));
    d->txtAccountNumber->setFocus(); // leaving the amount
    QCOMPARE(d->txtAmount->text(), QStringLiteral("$0.00"));
    QCOMPARE(m_data->Messages().Beeps(), 1);
    d->txtAccountNumber->setText(QString());
    d->txtAmount->setFocus();
    QCOMPARE(d->txtAccountNumber->text(), QStringLiteral("0"));
    QCOMPARE(m_data->Messages().Beeps(), 1); // blank: no beep
    d->txtAmount->setText(QStringLiteral("1234.5"));
    d->txtAccountNumber->setFocus();
    QCOMPARE(d->txtAmount->text(), QStringLiteral("$1,234.50"));
    d->cboFund->setCurrentIndex(d->cboFund->findText(QStringLiteral("Building Fund")));
    d->txtNotes->setPlainText(QStringLiteral("Card received  ") + QString(300, QLatin1Char('x')));
    QCOMPARE(d->txtNotes->toPlainText().size(), 250);
    d->chkInactive->setChecked(true);
    d->cmdOK->click();
    QVERIFY(d->IsClosed());
    clsPledges p;
    p.Get_One_Record(QStringLiteral("ContributorID = ") + QString::number(c));
    QCOMPARE(p.Amount(), 1234.5);
    QCOMPARE(p.FundID(), m_building);
    QVERIFY(p.IsInactive());
    QCOMPARE(p.Notes().size(), 250);

    // An existing pledge: its fund shown, the list disabled; unchanged OK writes nothing.
    Windows::Open_New(QStringLiteral("frmPledge"), {{QStringLiteral("PledgeID"), p.ID()},
                                                    {QStringLiteral("ContributorID"), c},
                                                    {QStringLiteral("UseEnvelopes"), true}});
    d = Open<frmPledge>().last();
    QVERIFY(!d->cboFund->isEnabled());
    QCOMPARE(d->cboFund->currentText(), QStringLiteral("Building Fund"));
    QCOMPARE(d->txtAmount->text(), QStringLiteral("$1,234.50"));
    m_data->ClearNotices();
    d->cmdOK->click();
    QVERIFY(m_data->Notices().isEmpty());
}

QV_WIDGET_TEST_MAIN(tst_Contributors)
#include "tst_contributors.moc"
