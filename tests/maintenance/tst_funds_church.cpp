// The fund list and fund dialog, the church dialog and the preferences,
// driven by their controls as the treasurer would.
#include "maintenance/frmChurch.h"
#include "maintenance/frmFundInfo.h"
#include "maintenance/frmFundList.h"
#include "maintenance/frmPreferences.h"
#include "shell/AllWindows.h"
#include "shell/QvGrid.h"
#include "shell/Windows.h"
#include "shell/clsDBEvent.h"
#include "shell/frmChild.h"
#include "shell/modGlobal.h"
#include "storage/Recordset.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "support/TestDataSet.h"

using Messages::Answer;
using namespace modGlobal;

namespace {
template <class T>
T* OpenSingle(const char* name)
{
    return qobject_cast<T*>(Windows::Open_Single(QLatin1String(name)));
}

QList<frmFundInfo*> FundDialogs()
{
    QList<frmFundInfo*> found;
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* d = qobject_cast<frmFundInfo*>(w))
            found.append(d);
    return found;
}

frmFundInfo* FundDialog(int id)
{
    for (frmFundInfo* d : FundDialogs())
        if (d->Tag() == QString::number(id))
            return d;
    return nullptr;
}

// The names of the fund rows in grid order; hidden ones in brackets.
QStringList Rows(const QvGrid* g)
{
    QStringList names;
    for (int r = 2; r < g->Rows(); ++r) {
        const QString name = g->TextMatrix(r, 1);
        names << (g->IsRowHidden(r) ? QLatin1Char('[') + name + QLatin1Char(']') : name);
    }
    return names;
}

int RowOf(const QvGrid* g, const QString& name)
{
    return g->FindRow(1, name, 2);
}

QString Cells(const QvGrid* g, int row)
{
    QStringList cells;
    for (int c = 0; c < g->Cols(); ++c)
        cells << g->TextMatrix(row, c);
    return cells.join(QLatin1Char('|'));
}

// The dialog's boxes: checked pledgeable, tax-deductible, inactive, then
// which of them may be changed.
QString Boxes(const frmFundInfo* d)
{
    QString s;
    for (const QCheckBox* b : {d->chkPledgeable, d->chkTaxDeductible, d->chkInactive})
        s += b->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    s += QLatin1Char('/');
    for (const QCheckBox* b : {d->chkPledgeable, d->chkTaxDeductible, d->chkInactive})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QString Text(const QString& sql)
{
    Recordset rs(sql, DB());
    return rs.Eof() ? QStringLiteral("<none>") : FieldText(rs.Field(0));
}

// A stored fund as name|pledgeable tax-deductible inactive, e.g. "Missions|110".
QString Stored(int id)
{
    return Text(QStringLiteral("SELECT FundName || '|' || IsPledgeable || IsTaxDeductible || IsInactive FROM Funds "
                               "WHERE ID = ")
                + QString::number(id));
}

QString Church(const QString& columns)
{
    return Text(QStringLiteral("SELECT ") + QString(columns).replace(QLatin1Char(','), QStringLiteral(" || '|' || "))
                + QStringLiteral(" FROM Church"));
}

// What a real double click delivers: QTest's own sends the double-click
// event alone.
void DoubleClick(QvGrid* grid, int row)
{
    const QPoint pos = grid->visualRect(grid->model()->index(row - 1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, pos);
}

void Retype(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    box->del();
    QTest::keyClicks(box, text);
}
} // namespace

class tst_FundsChurch : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fundListShowsAdditionalFundsInNameOrder();
    void fundListFollowsChangesMadeElsewhere();
    void commandsActOnlyOnAFundRow();
    void deletingAFund();
    void addingAFund();
    void editingAFund();
    void mainFundKeepsItsFlags();
    void churchDialogStoresEveryField();
    void preferencesOfANewDataFile();
    void preferencesAreStored();
    void deletedDefaultFundAndLongStatement();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0, m_missions = 0, m_flowers = 0, m_roof = 0;
};

void tst_FundsChurch::init()
{
    m_data = std::make_unique<TestDataSet>();
    RegisterAllWindows();
    // Without a main window, the open windows hear the notices directly and
    // the record classes find the open fund dialogs themselves.
    QObject::connect(DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
    SetFindOpenWindow(&Windows::Find_Open_Window);
    m_building = m_data->AddFund(QStringLiteral("Building Fund"), true, true);
    m_missions = m_data->AddFund(QStringLiteral("Missions"), true, true);
    m_flowers = m_data->AddFund(QStringLiteral("Flowers"), false, false);
    m_roof = m_data->AddFund(QStringLiteral("Old Roof"), true, true, true);
    m_data->ClearNotices();
}

void tst_FundsChurch::cleanup()
{
    for (frmChild* w : frmChild::OpenWindows())
        delete w;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Windows::Unregister(QStringLiteral("frmRptFunds"));
    m_data.reset();
}

void tst_FundsChurch::fundListShowsAdditionalFundsInNameOrder()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Funds"));
    QCOMPARE(w->lblMainFund->text(), QStringLiteral("Operating Fund"));
    QVERIFY(!w->chkShowAll->isChecked());

    QvGrid* g = w->fgFunds;
    QCOMPARE(Cells(g, 0), QStringLiteral("Key|Fund Name|Allow\r\nPledges?|Inactive|Tax\r\nDeductible?"));
    QCOMPARE(g->TextMatrix(1, 0), QStringLiteral("0"));
    QVERIFY(g->IsRowHidden(1));
    // The main fund is never listed; the inactive fund is hidden in its place.
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Flowers", "Missions", "[Old Roof]"}));
    QCOMPARE(Cells(g, 3), QString::number(m_flowers) + QStringLiteral("|Flowers|No||No"));
    QCOMPARE(Cells(g, 5), QString::number(m_roof) + QStringLiteral("|Old Roof|Yes|I|Yes"));

    w->chkShowAll->click();
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Flowers", "Missions", "Old Roof"}));
    w->chkShowAll->click();
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Flowers", "Missions", "[Old Roof]"}));

    // One list only: the menu's second choice brings the same window forward.
    QCOMPARE(OpenSingle<frmFundList>("frmFundList"), w);
    w->cmdClose->click();
    QVERIFY(w->IsClosed());
}

void tst_FundsChurch::fundListFollowsChangesMadeElsewhere()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;
    w->chkShowAll->setChecked(true);
    g->SetRow(RowOf(g, QStringLiteral("Missions")));

    const int altar = m_data->AddFund(QStringLiteral("Altar Guild"));
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "Building Fund", "Flowers", "Missions", "Old Roof"}));
    QCOMPARE(g->TextMatrix(2, 0), QString::number(altar));
    QCOMPARE(g->TextMatrix(g->Row(), 1), QStringLiteral("Missions")); // the selection follows its fund

    clsFunds f;
    f.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_missions));
    f.FundName(QStringLiteral("Youth Missions"));
    f.IsTaxDeductible(false);
    f.Update_Record_to_DB();
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "Building Fund", "Flowers", "Old Roof", "Youth Missions"}));
    QCOMPARE(Cells(g, 6), QString::number(m_missions) + QStringLiteral("|Youth Missions|Yes||No"));

    // Made inactive elsewhere: shown while "Show All Funds" is checked.
    f.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_building));
    f.IsInactive(true);
    f.Update_Record_to_DB();
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "Building Fund", "Flowers", "Old Roof", "Youth Missions"}));
    w->chkShowAll->setChecked(false);
    m_data->AddFund(QStringLiteral("Bells"), true, true, true);
    QVERIFY(!w->chkShowAll->isChecked());
    QCOMPARE(Rows(g),
             (QStringList{"Altar Guild", "[Bells]", "[Building Fund]", "Flowers", "[Old Roof]", "Youth Missions"}));

    f.Get_One_Record(QStringLiteral("ID = ") + QString::number(m_flowers));
    f.Delete_Record_from_DB();
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "[Bells]", "[Building Fund]", "[Old Roof]", "Youth Missions"}));
    // Notices about other tables leave the list alone.
    m_data->AddContributor(QStringLiteral("Smith"));
    QCOMPARE(g->Rows(), 7);
}

void tst_FundsChurch::commandsActOnlyOnAFundRow()
{
    // The fund report comes later; a bare window stands in for it.
    Windows::Register(QStringLiteral("frmRptFunds"), [] { return new frmChild; });
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;
    auto reports = [] {
        QList<int> ids;
        for (frmChild* c : frmChild::OpenWindows())
            if (c->objectName() == QLatin1String("frmRptFunds"))
                ids << c->property("Fund_ID").toInt();
        return ids;
    };
    // Nothing chosen, then the placeholder row: no dialog, report or question.
    for (int row : {0, 1}) {
        if (row)
            g->SetRow(row);
        w->cmdEdit->click();
        w->cmdReport->click();
        w->cmdDelete->click();
        QVERIFY(FundDialogs().isEmpty());
        QVERIFY(reports().isEmpty());
        QVERIFY(m_data->Messages().Seen().isEmpty());
    }
    QCOMPARE(Rows(g).size(), 4);

    g->SetRow(RowOf(g, QStringLiteral("Flowers")));
    w->cmdReport->click();
    w->cmdReport->click();
    QCOMPARE(reports(), (QList<int>{m_flowers, m_flowers})); // a new report each time
}

void tst_FundsChurch::deletingAFund()
{
    const int set = m_data->AddCollection(QDate(2025, 6, 15));
    m_data->AddOffering(1, set, m_missions, 20);
    m_data->ClearNotices();
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;

    // Offering given: refused by the record, with no question asked.
    g->SetRow(RowOf(g, QStringLiteral("Missions")));
    m_data->Messages().Expect(QStringLiteral("Offering has been collected for this Fund, so it cannot be deleted."));
    w->cmdDelete->click();
    m_data->Messages().VerifyAllShown();
    QCOMPARE(m_data->Messages().Seen().size(), 1);
    QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Delete"));

    // Its dialog open: refused too.
    g->SetRow(RowOf(g, QStringLiteral("Flowers")));
    w->cmdEdit->click();
    m_data->Messages().Expect(QStringLiteral("This Fund is currently being edited, so it cannot be deleted."));
    w->cmdDelete->click();
    m_data->Messages().VerifyAllShown();
    FundDialog(m_flowers)->cmdCancel->click();

    // Free to go: the question lists the fund, No keeps it, Yes deletes it.
    const QString question = QStringLiteral("This Fund will be deleted.\r\n     Flowers\r\n     Allow Pledges: No\r\n"
                                            "     Tax-Deductible: No\r\nAre you sure?");
    m_data->Messages().Expect(question, Answer::No);
    w->cmdDelete->click();
    const Messages::Message asked = m_data->Messages().Seen().last();
    QCOMPARE(asked.text, question);
    QCOMPARE(asked.title, QStringLiteral("Delete Fund's Account"));
    QCOMPARE(asked.icon, Messages::Icon::Question);
    QCOMPARE(asked.buttons, Messages::Buttons::YesNo);
    QCOMPARE(Stored(m_flowers), QStringLiteral("Flowers|000"));
    QVERIFY(m_data->Notices().isEmpty());

    m_data->Messages().Expect(question, Answer::Yes);
    w->cmdDelete->click();
    QCOMPARE(Stored(m_flowers), QStringLiteral("<none>"));
    QCOMPARE(m_data->Notices(), (QList<Notice>{{dbFunds, false, false, true, m_flowers, 0}}));
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Missions", "[Old Roof]"}));
}

void tst_FundsChurch::addingAFund()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    w->cmdAdd->click();
    frmFundInfo* d = FundDialog(0);
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("Edit Fund"));
    QCOMPARE(d->txtName->text(), QString());
    QCOMPARE(d->txtName->maxLength(), 30);
    QCOMPARE(Boxes(d), QStringLiteral("010/111")); // a new fund starts tax-deductible

    m_data->Messages().Expect(QStringLiteral("Please enter a Fund Name"));
    Retype(d->txtName, QStringLiteral("   "));
    d->cmdOK->click();
    m_data->Messages().VerifyAllShown();
    QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Funds"));
    QVERIFY(!d->IsClosed());

    // An existing name in other case, with blanks around it, is a duplicate;
    // the dialog stays open with what was typed.
    d->chkPledgeable->setChecked(true);
    d->chkInactive->setChecked(true);
    for (const QString& typed : {QStringLiteral("missions  "), QStringLiteral(" MISSIONS")}) {
        m_data->Messages().Expect(QStringLiteral("A fund named ") + typed.trimmed()
                                  + QStringLiteral(" has already been created."));
        Retype(d->txtName, typed);
        QTest::keyClick(d->txtName, Qt::Key_Return); // Enter is OK
        m_data->Messages().VerifyAllShown();
        QCOMPARE(m_data->Messages().Seen().last().title, QStringLiteral("Duplicate Fund"));
        QVERIFY(!d->IsClosed());
        QCOMPARE(d->txtName->text(), typed);
        QCOMPARE(Boxes(d), QStringLiteral("111/111"));
    }
    QVERIFY(m_data->Notices().isEmpty());

    Retype(d->txtName, QStringLiteral("Youth Choir"));
    d->chkInactive->setChecked(false);
    d->cmdOK->click();
    QVERIFY(d->IsClosed());
    QCOMPARE(m_data->Notices().size(), 1);
    QVERIFY(m_data->Notices().first().added);
    QCOMPARE(Stored(m_data->Notices().first().recordID), QStringLiteral("Youth Choir|110"));
    QCOMPARE(Rows(w->fgFunds), (QStringList{"Building Fund", "Flowers", "Missions", "[Old Roof]", "Youth Choir"}));

    // Several new funds may be under way at once.
    w->cmdAdd->click();
    w->cmdAdd->click();
    QCOMPARE(FundDialogs().size(), 2);
}

void tst_FundsChurch::editingAFund()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;
    const int row = RowOf(g, QStringLiteral("Missions"));
    DoubleClick(g, row);
    frmFundInfo* d = FundDialog(m_missions);
    QVERIFY(d);
    QCOMPARE(d->txtName->text(), QStringLiteral("Missions"));
    QCOMPARE(Boxes(d), QStringLiteral("110/111"));
    // Edit, or another double-click, reaches the same dialog.
    QCOMPARE(g->Row(), row);
    w->cmdEdit->click();
    DoubleClick(g, row);
    QCOMPARE(FundDialogs().size(), 1);

    // Cancel writes nothing; OK without a change writes nothing either.
    Retype(d->txtName, QStringLiteral("Something Else"));
    d->chkInactive->setChecked(true);
    d->cmdCancel->click();
    QVERIFY(d->IsClosed());
    w->cmdEdit->click();
    d = FundDialog(m_missions);
    QCOMPARE(d->txtName->text(), QStringLiteral("Missions"));
    d->cmdOK->click();
    QVERIFY(d->IsClosed());
    QVERIFY(m_data->Notices().isEmpty());

    // Another fund's name is refused; the fund's own name in new case is not.
    w->cmdEdit->click();
    d = FundDialog(m_missions);
    m_data->Messages().Expect(QStringLiteral("A fund named building fund has already been created."));
    Retype(d->txtName, QStringLiteral("building fund"));
    d->cmdOK->click();
    m_data->Messages().VerifyAllShown();
    QVERIFY(!d->IsClosed());
    QVERIFY(m_data->Notices().isEmpty());
    Retype(d->txtName, QStringLiteral("MISSIONS"));
    d->chkInactive->setChecked(true);
    d->chkTaxDeductible->setChecked(false);
    d->cmdOK->click();
    QVERIFY(d->IsClosed());
    QCOMPARE(m_data->Notices(), (QList<Notice>{{dbFunds, false, true, false, m_missions, 0}}));
    QCOMPARE(Stored(m_missions), QStringLiteral("MISSIONS|101"));
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Flowers", "[MISSIONS]", "[Old Roof]"}));
}

void tst_FundsChurch::mainFundKeepsItsFlags()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    w->cmdChange->click();
    frmFundInfo* d = FundDialog(1);
    QVERIFY(d);
    QCOMPARE(d->txtName->text(), QStringLiteral("Operating Fund"));
    QVERIFY(d->txtName->isEnabled());
    QCOMPARE(Boxes(d), QStringLiteral("110/000"));

    m_data->Messages().Expect(QStringLiteral("A fund named Missions has already been created."));
    Retype(d->txtName, QStringLiteral("Missions"));
    d->cmdOK->click();
    m_data->Messages().VerifyAllShown();

    Retype(d->txtName, QStringLiteral("General Fund"));
    d->cmdOK->click();
    QVERIFY(d->IsClosed());
    QCOMPARE(w->lblMainFund->text(), QStringLiteral("General Fund"));
    QCOMPARE(Stored(1), QStringLiteral("General Fund|110"));
    QCOMPARE(w->fgFunds->FindRow(0, QStringLiteral("1"), 1), -1);
}

void tst_FundsChurch::churchDialogStoresEveryField()
{
    auto* w = OpenSingle<frmChurch>("frmChurch");
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Church Name and Address"));
    QLineEdit* boxes[7] = {w->txtName, w->txtAddress1, w->txtAddress2, w->txtCity, w->txtState, w->txtZip, w->txtPhone};
    const int sizes[7] = {40, 40, 40, 30, 2, 10, 40};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(boxes[i]->text(), QString());
        QCOMPARE(boxes[i]->maxLength(), sizes[i]);
    }
    QCOMPARE(OpenSingle<frmChurch>("frmChurch"), w);

    // Settings and the password changed after the dialog opened stay as they are.
    clsChurch other;
    other.Get_One_Record(QString());
    other.Password(QStringLiteral("hymnal"));
    other.AssignEnv(false);
    other.Update_Record_to_DB();
    m_data->ClearNotices();

    const QString typed[7] = {"Grace Chapel  ", "12 Elm St", "PO Box 7", "Springfield", "IL", "62704-1234", "(217) 555-0100"};
    for (int i = 0; i < 7; ++i)
        Retype(boxes[i], typed[i]);
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QCOMPARE(m_data->Notices(), (QList<Notice>{{dbChurch, false, true, false, 1, 0}}));
    QCOMPARE(Church(QStringLiteral("ChurchName,Address1,Address2,City,State,ZipCode,Phone,Password,AssignEnv")),
             QStringLiteral("Grace Chapel|12 Elm St|PO Box 7|Springfield|IL|62704-1234|(217) 555-0100|hymnal|0"));

    // Opened again it shows what was stored; Cancel writes nothing.
    w = OpenSingle<frmChurch>("frmChurch");
    QCOMPARE(w->txtName->text(), QStringLiteral("Grace Chapel"));
    QCOMPARE(w->txtZip->text(), QStringLiteral("62704-1234"));
    m_data->ClearNotices();
    Retype(w->txtCity, QStringLiteral("Shelbyville"));
    w->cmdCancel->click();
    QVERIFY(w->IsClosed());
    QVERIFY(m_data->Notices().isEmpty());
}

void tst_FundsChurch::preferencesOfANewDataFile()
{
    auto* w = OpenSingle<frmPreferences>("frmPreferences");
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Preferences"));
    QVERIFY(w->optPrevDay->isChecked() && !w->optCurrentDate->isChecked());
    QVERIFY(w->cboWeekday->isEnabled());
    QCOMPARE(w->cboWeekday->count(), 7);
    QCOMPARE(w->cboWeekday->currentText().trimmed(), QStringLiteral("Sunday"));
    QCOMPARE(w->cboWeekday->itemText(6).trimmed(), QStringLiteral("Saturday"));
    QCOMPARE(w->lblFirstFundName->text(), QStringLiteral("Operating Fund"));
    QStringList names;
    for (int i = 0; i < w->cboSecondFund->count(); ++i)
        names << w->cboSecondFund->itemText(i);
    // Inactive and non-pledgeable funds too; the main fund never.
    QCOMPARE(names, (QStringList{"", "Building Fund", "Flowers", "Missions", "Old Roof"}));
    QCOMPARE(w->cboSecondFund->currentIndex(), 0);
    QCOMPARE(w->cboThirdFund->currentIndex(), 0);
    QCOMPARE(w->cboThirdFund->count(), 5);
    QCOMPARE(w->txtIRS->toPlainText(), clsChurch::DefaultIRSStatement());
    QVERIFY(w->chkAssign->isChecked());

    w->optCurrentDate->click();
    QVERIFY(!w->cboWeekday->isEnabled());
    w->optPrevDay->click();
    QVERIFY(w->cboWeekday->isEnabled());

    // Nothing changed: OK writes nothing.
    w->cmdOK->click();
    QVERIFY(w->IsClosed());
    QVERIFY(m_data->Notices().isEmpty());
}

void tst_FundsChurch::preferencesAreStored()
{
    clsChurch church;
    church.Get_One_Record(QString());
    church.DefaultFund3(m_building);
    church.Update_Record_to_DB();
    m_data->ClearNotices();

    auto* w = OpenSingle<frmPreferences>("frmPreferences");
    QCOMPARE(w->cboThirdFund->currentText(), QStringLiteral("Building Fund"));
    w->cboWeekday->setCurrentIndex(5);
    w->optCurrentDate->click(); // the weekday is greyed out, but still kept
    w->cboSecondFund->setCurrentIndex(w->cboSecondFund->findText(QStringLiteral("Missions")));
    w->cboThirdFund->setCurrentIndex(0);
    w->txtIRS->setPlainText(QStringLiteral("Thank you for your gifts.\nNo goods were given in return."));
    w->chkAssign->click();
    w->cmdOK->click();
    QVERIFY(w->IsClosed());

    QCOMPARE(m_data->Notices(), (QList<Notice>{{dbChurch, false, true, false, 1, 0}}));
    QCOMPARE(Church(QStringLiteral("UseCurrentDate,DayOfWeek,DefaultFund2,DefaultFund3,AssignEnv,IRSStatement")),
             QStringLiteral("1|5|%1|0|0|Thank you for your gifts.\nNo goods were given in return.").arg(m_missions));
    QVERIFY(!AssignEnvelopes); // a new contributor starts without an envelope

    w = OpenSingle<frmPreferences>("frmPreferences");
    QVERIFY(w->optCurrentDate->isChecked());
    QVERIFY(!w->cboWeekday->isEnabled());
    QCOMPARE(w->cboWeekday->currentText().trimmed(), QStringLiteral("Friday"));
    QCOMPARE(w->cboSecondFund->currentText(), QStringLiteral("Missions"));
    QCOMPARE(w->cboThirdFund->currentIndex(), 0);
    QVERIFY(!w->chkAssign->isChecked());

    // Cancel keeps what is stored.
    w->chkAssign->click();
    w->optPrevDay->click();
    w->cmdCancel->click();
    QCOMPARE(Church(QStringLiteral("UseCurrentDate,AssignEnv")), QStringLiteral("1|0"));
}

void tst_FundsChurch::deletedDefaultFundAndLongStatement()
{
    clsChurch church;
    church.Get_One_Record(QString());
    church.DefaultFund2(m_flowers);
    church.DefaultFund3(m_missions);
    church.Update_Record_to_DB();
    clsFunds gone;
    gone.ID(m_flowers);
    gone.Delete_Record_from_DB();

    auto* w = OpenSingle<frmPreferences>("frmPreferences");
    QCOMPARE(w->cboSecondFund->currentIndex(), -1);
    QCOMPARE(w->cboSecondFund->findText(QStringLiteral("Flowers")), -1);
    QCOMPARE(w->cboThirdFund->currentText(), QStringLiteral("Missions"));

    // The box takes 200 characters and no more.
    w->txtIRS->setFocus();
    w->txtIRS->selectAll();
    QTest::keyClicks(w->txtIRS, QString(190, QLatin1Char('a')) + QString(20, QLatin1Char('b')));
    QCOMPARE(w->txtIRS->toPlainText(), QString(190, QLatin1Char('a')) + QString(10, QLatin1Char('b')));
    w->cmdOK->click();
    QCOMPARE(Church(QStringLiteral("DefaultFund2,DefaultFund3,Length(IRSStatement)")),
             QStringLiteral("0|%1|200").arg(m_missions));
}

QV_WIDGET_TEST_MAIN(tst_FundsChurch)
#include "tst_funds_church.moc"
