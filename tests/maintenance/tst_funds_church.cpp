// The fund list and fund dialog, the church dialog and the preferences,
// driven by their controls as the treasurer would.
#include "maintenance/frmChurch.h"
#include "maintenance/frmFundInfo.h"
#include "maintenance/frmFundList.h"
#include "maintenance/frmPreferences.h"
#include "support/WindowTest.h"
#include "storage/clsFunds.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>

using Messages::Answer;
using namespace modGlobal;

namespace {
frmFundInfo* FundDialog(int id)
{
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* d = qobject_cast<frmFundInfo*>(w); d && d->Tag() == QString::number(id))
            return d;
    return nullptr;
}

// The names of the fund rows in grid order; hidden ones in brackets.
QStringList Rows(const QvGrid* g) { return GridText(g, {1}, {}, HiddenRows::Bracket); }

// The dialog's boxes pledgeable, tax-deductible, inactive: checked / enabled.
QString Boxes(const frmFundInfo* d)
{
    QString checked, enabled;
    for (const QCheckBox* b : {d->chkPledgeable, d->chkTaxDeductible, d->chkInactive}) {
        checked += QLatin1Char(b->isChecked() ? '1' : '0');
        enabled += QLatin1Char(b->isEnabled() ? '1' : '0');
    }
    return checked + QLatin1Char('/') + enabled;
}

// The columns of the first row of 'from' joined by '|', or "<none>".
QString Stored(const QString& from, QString columns)
{
    columns.replace(QLatin1Char(','), QStringLiteral(" || '|' || "));
    Recordset rs(QStringLiteral("SELECT %1 FROM %2").arg(columns, from), DB());
    return rs.Eof() ? QStringLiteral("<none>") : FieldText(rs.Field(0));
}

// A stored fund as name|pledgeable tax-deductible inactive, e.g. "Missions|110".
QString Stored(int id)
{
    return Stored(QStringLiteral("Funds WHERE ID = %1").arg(id),
                  "FundName,IsPledgeable || IsTaxDeductible || IsInactive");
}

void Retype(QLineEdit* box, const QString& text)
{
    box->clear();
    QTest::keyClicks(box, text);
}
} // namespace

class tst_FundsChurch : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fundListInNameOrderFollowsChangesMadeElsewhere();
    void commandsActOnAFundRowAndDeleting();
    void addingAndEditingFunds();
    void churchDialogStoresEveryField();
    void preferences();

private:
    std::unique_ptr<TestDataSet> m_data;
    int m_building = 0, m_missions = 0, m_flowers = 0;
};

void tst_FundsChurch::init()
{
    m_data = WindowBooks();
    // Without a main window the record classes find the open fund dialogs themselves.
    SetFindOpenWindow(&Windows::Find_Open_Window);
    m_building = m_data->AddFund(QStringLiteral("Building Fund"), true, true);
    m_missions = m_data->AddFund(QStringLiteral("Missions"), true, true);
    m_flowers = m_data->AddFund(QStringLiteral("Flowers"), false, false);
    m_data->AddFund(QStringLiteral("Old Roof"), true, true, true);
    m_data->ClearNotices();
}

void tst_FundsChurch::cleanup()
{
    CloseAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Windows::Unregister(QStringLiteral("frmRptFunds"));
    m_data.reset();
}

void tst_FundsChurch::fundListInNameOrderFollowsChangesMadeElsewhere()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;
    // The main fund is never listed; the inactive fund is hidden in its place.
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Flowers", "Missions", "[Old Roof]"}));
    w->chkShowAll->click();
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Flowers", "Missions", "Old Roof"}));

    // Added and renamed funds take their places by name; the selection follows its fund.
    g->SetRow(g->FindRow(1, QStringLiteral("Missions")));
    m_data->AddFund(QStringLiteral("Altar Guild"));
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "Building Fund", "Flowers", "Missions", "Old Roof"}));
    QCOMPARE(g->TextMatrix(g->Row(), 1), QStringLiteral("Missions"));
    clsFunds f;
    f.Get_One_Record(QStringLiteral("ID = %1").arg(m_missions));
    f.FundName(QStringLiteral("Youth Missions"));
    f.IsTaxDeductible(false);
    f.Update_Record_to_DB();
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "Building Fund", "Flowers", "Old Roof", "Youth Missions"}));
    QCOMPARE(g->TextMatrix(6, 4), QStringLiteral("No")); // tax-deductible

    // Made inactive elsewhere: shown while "Show All Funds" is checked, hidden once it is not.
    f.Get_One_Record(QStringLiteral("ID = %1").arg(m_building));
    f.IsInactive(true);
    f.Update_Record_to_DB();
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "Building Fund", "Flowers", "Old Roof", "Youth Missions"}));
    w->chkShowAll->click();
    m_data->AddFund(QStringLiteral("Bells"), true, true, true);
    f.Get_One_Record(QStringLiteral("ID = %1").arg(m_flowers));
    f.Delete_Record_from_DB();
    QCOMPARE(Rows(g), (QStringList{"Altar Guild", "[Bells]", "[Building Fund]", "[Old Roof]", "Youth Missions"}));
}

void tst_FundsChurch::commandsActOnAFundRowAndDeleting()
{
    // The fund report comes later; a bare window stands in for it.
    Windows::Register(QStringLiteral("frmRptFunds"), [] { return new frmChild; });
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;
    // Nothing chosen, then the placeholder row: no window opens and (the
    // responder sees to it) no question is asked.
    for (int row : {0, 1}) {
        g->SetRow(row);
        w->cmdEdit->click();
        w->cmdReport->click();
        w->cmdDelete->click();
        QCOMPARE(frmChild::OpenWindows(), (QList<frmChild*>{w}));
    }
    g->SetRow(g->FindRow(1, QStringLiteral("Flowers")));
    w->cmdReport->click();
    QCOMPARE(frmChild::OpenWindows().last()->property("Fund_ID").toInt(), m_flowers);

    // Deleting a fund with offering given, or with its dialog open, is
    // refused with no question asked.
    m_data->AddOffering(1, m_data->AddCollection(QDate(2025, 6, 15)), m_missions, 20);
    g->SetRow(g->FindRow(1, QStringLiteral("Missions")));
    m_data->Messages().Expect(QStringLiteral("Offering has been collected for this Fund, so it cannot be deleted."));
    w->cmdDelete->click();
    g->SetRow(g->FindRow(1, QStringLiteral("Flowers")));
    w->cmdEdit->click();
    m_data->Messages().Expect(QStringLiteral("This Fund is currently being edited, so it cannot be deleted."));
    w->cmdDelete->click();
    FundDialog(m_flowers)->cmdCancel->click();

    // Free to go: the question lists the fund, No keeps it, Yes deletes it.
    const QString question = QStringLiteral("This Fund will be deleted.\r\n     Flowers\r\n     Allow Pledges: No\r\n"
                                            "     Tax-Deductible: No\r\nAre you sure?");
    m_data->Messages().ExpectEnter(question); // Enter keeps the fund
    w->cmdDelete->click();
    QCOMPARE(m_data->Messages().Seen().last().buttons, Messages::Buttons::YesNo);
    QCOMPARE(Stored(m_flowers), QStringLiteral("Flowers|000"));
    m_data->Messages().Expect(question, Answer::Yes);
    w->cmdDelete->click();
    QCOMPARE(Stored(m_flowers), QStringLiteral("<none>"));
    QCOMPARE(Rows(g), (QStringList{"Building Fund", "Missions", "[Old Roof]"}));
}

void tst_FundsChurch::addingAndEditingFunds()
{
    auto* w = OpenSingle<frmFundList>("frmFundList");
    QvGrid* g = w->fgFunds;
    w->cmdAdd->click();
    frmFundInfo* d = FundDialog(0);
    QCOMPARE(Boxes(d), QStringLiteral("010/111")); // a new fund starts tax-deductible
    m_data->Messages().Expect(QStringLiteral("Please enter a Fund Name"));
    Retype(d->txtName, QStringLiteral("   "));
    d->cmdOK->click();
    QVERIFY(!d->IsClosed());

    // An existing name in other case, with blanks around it, is a duplicate.
    m_data->Messages().Expect(QStringLiteral("A fund named missions has already been created."));
    Retype(d->txtName, QStringLiteral(" missions  "));
    QTest::keyClick(d->txtName, Qt::Key_Return); // Enter is OK
    m_data->Messages().VerifyAllShown();
    QVERIFY(!d->IsClosed());
    Retype(d->txtName, QStringLiteral("Youth Choir"));
    d->chkPledgeable->setChecked(true);
    d->cmdOK->click();
    QCOMPARE(Stored(m_data->Notices().first().recordID), QStringLiteral("Youth Choir|110"));

    // A double click (press, double click, release, as the user gives it)
    // edits; Cancel writes nothing.
    const QPoint pos = g->visualRect(g->model()->index(g->FindRow(1, QStringLiteral("Missions")) - 1, 1)).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, pos);
    d = FundDialog(m_missions);
    QCOMPARE(d->txtName->text(), QStringLiteral("Missions"));
    QCOMPARE(Boxes(d), QStringLiteral("110/111"));
    Retype(d->txtName, QStringLiteral("Something Else"));
    d->cmdCancel->click();
    QCOMPARE(Stored(m_missions), QStringLiteral("Missions|110"));

    // Another fund's name is refused; the fund's own name in new case is not.
    w->cmdEdit->click();
    d = FundDialog(m_missions);
    m_data->Messages().Expect(QStringLiteral("A fund named building fund has already been created."));
    Retype(d->txtName, QStringLiteral("building fund"));
    d->cmdOK->click();
    m_data->Messages().VerifyAllShown();
    QVERIFY(!d->IsClosed());
    Retype(d->txtName, QStringLiteral("MISSIONS"));
    d->chkInactive->setChecked(true);
    d->chkTaxDeductible->setChecked(false);
    d->cmdOK->click();
    QCOMPARE(Stored(m_missions), QStringLiteral("MISSIONS|101"));

    // The main fund keeps its flags, and its name is checked as well.
    w->cmdChange->click();
    d = FundDialog(1);
    QCOMPARE(Boxes(d), QStringLiteral("110/000"));
    m_data->Messages().Expect(QStringLiteral("A fund named Flowers has already been created."));
    Retype(d->txtName, QStringLiteral("Flowers"));
    d->cmdOK->click();
    m_data->Messages().VerifyAllShown();
    Retype(d->txtName, QStringLiteral("General Fund"));
    d->cmdOK->click();
    QCOMPARE(w->lblMainFund->text(), QStringLiteral("General Fund"));
    QCOMPARE(Stored(1), QStringLiteral("General Fund|110"));
    QCOMPARE(g->FindRow(0, QStringLiteral("1"), 1), -1);
}

void tst_FundsChurch::churchDialogStoresEveryField()
{
    const auto boxes = [](frmChurch* c) {
        return QList<QLineEdit*>{c->txtName, c->txtAddress1, c->txtAddress2, c->txtCity,
                                 c->txtState, c->txtZip, c->txtPhone};
    };
    auto* w = OpenSingle<frmChurch>("frmChurch");
    // A password and settings stored after the dialog opened stay as they are.
    clsChurch other;
    other.Get_One_Record(QString());
    other.Password(QStringLiteral("hymnal"));
    other.AssignEnv(false);
    other.Update_Record_to_DB();

    const QStringList typed{"Grace Chapel", "12 Elm St", "PO Box 7", "Springfield", "IL", "62704-1234", "(217) 555-0100"};
    for (int i = 0; i < 7; ++i)
        Retype(boxes(w)[i], typed[i]);
    w->cmdOK->click();
    QCOMPARE(Stored("Church", "ChurchName,Address1,Address2,City,State,ZipCode,Phone,Password,AssignEnv"),
             typed.join(QLatin1Char('|')) + QStringLiteral("|hymnal|0"));

    // Opened again it shows what was stored.
    w = OpenSingle<frmChurch>("frmChurch");
    for (int i = 0; i < 7; ++i)
        QCOMPARE(boxes(w)[i]->text(), typed[i]);
}

void tst_FundsChurch::preferences()
{
    // A new data file: the previous weekday, no default funds. OK with
    // nothing changed writes nothing, so every setting was read back as stored.
    auto* w = OpenSingle<frmPreferences>("frmPreferences");
    QVERIFY(w->optPrevDay->isChecked() && w->cboWeekday->isEnabled());
    QStringList names;
    for (int i = 0; i < w->cboSecondFund->count(); ++i)
        names << w->cboSecondFund->itemText(i);
    // Inactive and non-pledgeable funds too; the main fund never.
    QCOMPARE(names, (QStringList{"", "Building Fund", "Flowers", "Missions", "Old Roof"}));
    QCOMPARE(w->cboSecondFund->currentIndex(), 0);
    w->cmdOK->click();
    QVERIFY(m_data->Notices().isEmpty());

    // Every setting is stored; the weekday is greyed out with the current
    // date, but still kept.
    w = OpenSingle<frmPreferences>("frmPreferences");
    w->cboWeekday->setCurrentIndex(5);
    w->optCurrentDate->click();
    QVERIFY(!w->cboWeekday->isEnabled());
    w->cboSecondFund->setCurrentIndex(w->cboSecondFund->findText(QStringLiteral("Building Fund")));
    w->cboThirdFund->setCurrentIndex(w->cboThirdFund->findText(QStringLiteral("Flowers")));
    w->txtIRS->setPlainText(QStringLiteral("Thank you.\nNo goods were given in return."));
    w->chkAssign->click();
    w->cmdOK->click();
    QCOMPARE(Stored("Church", "UseCurrentDate,DayOfWeek,DefaultFund2,DefaultFund3,AssignEnv,IRSStatement"),
             QStringLiteral("1|5|%1|%2|0|Thank you.\nNo goods were given in return.").arg(m_building).arg(m_flowers));
    QVERIFY(!AssignEnvelopes); // a new contributor starts without an envelope

    // Shown as stored, but a default fund deleted since is no choice; the
    // empty item and the deleted fund are both stored as 0. The statement
    // takes 200 characters.
    clsFunds gone;
    gone.ID(m_flowers);
    gone.Delete_Record_from_DB();
    w = OpenSingle<frmPreferences>("frmPreferences");
    QVERIFY(!w->cboWeekday->isEnabled());
    QCOMPARE(w->cboSecondFund->currentText(), QStringLiteral("Building Fund"));
    QCOMPARE(w->cboThirdFund->currentIndex(), -1);
    QCOMPARE(w->cboThirdFund->findText(QStringLiteral("Flowers")), -1);
    w->cboSecondFund->setCurrentIndex(0);
    w->txtIRS->setFocus();
    w->txtIRS->selectAll();
    QTest::keyClicks(w->txtIRS, QString(190, QLatin1Char('a')) + QString(20, QLatin1Char('b')));
    QCOMPARE(w->txtIRS->toPlainText(), QString(190, QLatin1Char('a')) + QString(10, QLatin1Char('b')));
    w->cmdOK->click();
    QCOMPARE(Stored("Church", "UseCurrentDate,DayOfWeek,DefaultFund2,DefaultFund3,AssignEnv,Length(IRSStatement)"),
             QStringLiteral("1|5|0|0|0|200"));

    // Cancel keeps what is stored.
    w = OpenSingle<frmPreferences>("frmPreferences");
    w->chkAssign->click();
    w->optPrevDay->click();
    QVERIFY(w->cboWeekday->isEnabled());
    w->cmdCancel->click();
    QCOMPARE(Stored("Church", "UseCurrentDate,AssignEnv"), QStringLiteral("1|0"));
}

QV_TEST_MAIN(tst_FundsChurch, QApplication)
#include "tst_funds_church.moc"
