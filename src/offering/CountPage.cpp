#include "CountPage.h"

#include "widgets/AmountBox.h"
#include "core/Helpers.h"
#include "widgets/Layouts.h"
#include "widgets/QvGrid.h"
#include "core/TypedInput.h"

#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Layouts;
using namespace modGlobal;

namespace {
QLabel* Amount_Label(QWidget* parent, const char* name)
{
    auto* l = new QLabel(PlateCount::Format_Cents(0), parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

qint64 Pieces(const QLineEdit* box)
{
    return box->text().trimmed().toLongLong();
}
} // namespace

CountPage::CountPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabCount"));
    // Counts of pieces only: whole numbers, never negative.
    auto* pieces = new QIntValidator(0, 9999999, this);
    auto countBox = [&](QWidget* on, const QString& name) {
        auto* b = Box(on, name.toLatin1().constData(), 7, Qt::AlignRight);
        b->setValidator(pieces);
        FitText(b, QStringLiteral("9999999"));
        connect(b, &QLineEdit::textEdited, this, &CountPage::Edited);
        return b;
    };

    auto* currency = Group(this, "fraCurrency", QStringLiteral("Currency"));
    auto* currencyForm = Form(currency);
    for (size_t i = 0; i < txtBills.size(); ++i) {
        txtBills[i] = countBox(currency, QStringLiteral("txtBills%1").arg(i));
        currencyForm->addRow(Label(currency, "lblBill", PlateCount::Currency()[i].label, txtBills[i]), txtBills[i]);
    }
    lblCurrency = Amount_Label(currency, "lblCurrency");
    currencyForm->addRow(QStringLiteral("Currency"), lblCurrency);

    auto* coin = Group(this, "fraCoin", QStringLiteral("Coin"));
    auto* coinForm = Form(coin);
    for (size_t i = 0; i < txtCoins.size(); ++i) {
        txtCoins[i] = countBox(coin, QStringLiteral("txtCoins%1").arg(i));
        coinForm->addRow(Label(coin, "lblCoin", PlateCount::Coins()[i].label, txtCoins[i]), txtCoins[i]);
    }
    txtRolled = Box(coin, "txtRolled", 20, Qt::AlignRight);
    FitAmount(txtRolled);
    coinForm->addRow(Label(coin, "lblRolled", QStringLiteral("&Rolled coin"), txtRolled), txtRolled);
    lblCoin = Amount_Label(coin, "lblCoin");
    coinForm->addRow(QStringLiteral("Coin"), lblCoin);
    connect(txtRolled, &QLineEdit::textEdited, this, &CountPage::Edited);
    connect(txtRolled, &QLineEdit::editingFinished, this, [this] {
        AmountBox::Leave(txtRolled);
        Update_Totals();
    });

    auto* checks = Group(this, "fraChecks", QStringLiteral("Checks"));
    txtCheckNo = Box(checks, "txtCheckNo", 20);
    txtCheckAmount = Box(checks, "txtCheckAmount", 20, Qt::AlignRight);
    FitAmount(txtCheckAmount);
    txtCheckFrom = Box(checks, "txtCheckFrom", 40);
    cmdAddCheck = Button(checks, "cmdAddCheck", QStringLiteral("Add Chec&k"));
    cmdRemoveCheck = Button(checks, "cmdRemoveCheck", QStringLiteral("Remo&ve Check"));
    fgChecks = Grid(checks, "fgChecks");
    auto* entry = new QHBoxLayout;
    entry->addLayout(Column({Label(checks, "lblCheckNo", QStringLiteral("Check &No."), txtCheckNo), txtCheckNo}));
    entry->addLayout(Column({Label(checks, "lblCheckAmount", QStringLiteral("A&mount"), txtCheckAmount), txtCheckAmount}));
    entry->addLayout(Column({Label(checks, "lblCheckFrom", QStringLiteral("&From (envelope or name)"), txtCheckFrom),
                             txtCheckFrom}),
                     1);
    lblChecks = Amount_Label(checks, "lblChecks");
    auto* checksPage = new QVBoxLayout(checks);
    checksPage->addLayout(entry);
    checksPage->addWidget(fgChecks, 1);
    checksPage->addLayout(Row({cmdAddCheck, cmdRemoveCheck, nullptr, lblChecks}));
    for (QLineEdit* b : {txtCheckNo, txtCheckAmount, txtCheckFrom})
        b->installEventFilter(this);
    connect(txtCheckAmount, &QLineEdit::editingFinished, this, [this] { AmountBox::Leave(txtCheckAmount); });
    connect(cmdAddCheck, &QPushButton::clicked, this, &CountPage::Add_Check);
    connect(cmdRemoveCheck, &QPushButton::clicked, this, &CountPage::Remove_Check);

    auto* people = Group(this, "fraCounters", QStringLiteral("Counted"));
    txtCounter1 = Box(people, "txtCounter1", 40);
    txtCounter2 = Box(people, "txtCounter2", 40);
    dtCounted = new QDateTimeEdit(people);
    dtCounted->setObjectName(QStringLiteral("dtCounted"));
    dtCounted->setCalendarPopup(true);
    dtCounted->setDisplayFormat(QStringLiteral("MM/dd/yyyy h:mm AP"));
    auto* peopleForm = Form(people);
    peopleForm->addRow(Label(people, "lblCounter1", QStringLiteral("Counter &1"), txtCounter1), txtCounter1);
    peopleForm->addRow(Label(people, "lblCounter2", QStringLiteral("Counter &2"), txtCounter2), txtCounter2);
    peopleForm->addRow(Label(people, "lblCounted", QStringLiteral("&When"), dtCounted), dtCounted);
    for (QLineEdit* b : {txtCounter1, txtCounter2})
        connect(b, &QLineEdit::textEdited, this, &CountPage::Edited);
    connect(dtCounted, &QDateTimeEdit::dateTimeChanged, this, &CountPage::Edited);

    auto* result = Group(this, "fraCountTotals", QStringLiteral("Totals"));
    lblCounted = Amount_Label(result, "lblCounted");
    lblEntered = Amount_Label(result, "lblEntered");
    lblDifference = Amount_Label(result, "lblDifference");
    auto* resultForm = Form(result);
    resultForm->addRow(QStringLiteral("Counted total"), lblCounted);
    resultForm->addRow(QStringLiteral("Entered total"), lblEntered);
    resultForm->addRow(QStringLiteral("Difference"), lblDifference);

    auto* left = new QVBoxLayout;
    left->addWidget(currency);
    left->addWidget(coin);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(checks, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(people, 1);
    bottom->addWidget(result);
    right->addLayout(bottom);
    auto* page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addLayout(right, 1);

    // Down the bills, the coin, then a check's boxes and the counters.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* w) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    };
    for (QLineEdit* b : txtBills)
        chain(b);
    for (QLineEdit* b : txtCoins)
        chain(b);
    for (QWidget* w : std::initializer_list<QWidget*>{txtRolled, txtCheckNo, txtCheckAmount, txtCheckFrom, cmdAddCheck,
                                                      fgChecks, cmdRemoveCheck, txtCounter1, txtCounter2, dtCounted})
        chain(w);
}

void CountPage::Show(const PlateCount::Count& c, const QList<ContributorQueries::Row>& who)
{
    m_showing = true;
    m_shown = c;
    Set_Contributors(who);
    for (size_t i = 0; i < txtBills.size(); ++i)
        txtBills[i]->setText(c.bills[i] ? QString::number(c.bills[i]) : QString());
    for (size_t i = 0; i < txtCoins.size(); ++i)
        txtCoins[i]->setText(c.coins[i] ? QString::number(c.coins[i]) : QString());
    txtRolled->setText(PlateCount::Format_Cents(c.rolledCents));
    AmountBox::Clear_Refusal(txtRolled);
    m_checks = c.checks;
    Fill_Checks();
    txtCounter1->setText(c.counter1);
    txtCounter2->setText(c.counter2);
    dtCounted->setDateTime(c.countedAt.isValid() ? c.countedAt : QDateTime::currentDateTime());
    m_showing = false;
    m_changed = false;
    Update_Totals();
}

void CountPage::Set_Contributors(const QList<ContributorQueries::Row>& who)
{
    m_who = who;
    m_names.clear();
    for (const auto& r : who)
        m_names.insert(r.id, r.name);
}

PlateCount::Count CountPage::Current() const
{
    PlateCount::Count c = m_shown;
    for (size_t i = 0; i < txtBills.size(); ++i)
        c.bills[i] = Pieces(txtBills[i]);
    for (size_t i = 0; i < txtCoins.size(); ++i)
        c.coins[i] = Pieces(txtCoins[i]);
    qint64 rolled = 0;
    c.rolledCents = PlateCount::Parse_Cents(txtRolled->text(), &rolled) ? rolled : 0;
    c.checks = m_checks;
    c.counter1 = txtCounter1->text().trimmed();
    c.counter2 = txtCounter2->text().trimmed();
    c.countedAt = dtCounted->dateTime();
    return c;
}

void CountPage::Set_Entered(qint64 cents)
{
    m_entered = cents;
    Update_Totals();
}

int CountPage::Find_Contributor(const QString& text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool number = false;
    const int envelope = t.toInt(&number);
    if (number) {
        for (const auto& r : m_who)
            if (envelope > 0 && r.envelope == envelope)
                return r.id;
        return 0;
    }
    // The first name in alphabetical order that begins so, as Quick Find picks.
    const QString key = SearchKey(t);
    int found = 0;
    QString foundKey;
    for (const auto& r : m_who) {
        const QString k = SearchKey(r.name);
        if (k.startsWith(key) && (found == 0 || k < foundKey)) {
            found = r.id;
            foundKey = k;
        }
    }
    return found;
}

void CountPage::Add_Check()
{
    qint64 cents = 0;
    if (!PlateCount::Parse_Cents(txtCheckAmount->text(), &cents) || cents == 0) {
        // A check without an amount adds nothing; the amount box says why.
        AmountBox::Leave(txtCheckAmount);
        txtCheckAmount->setFocus();
        txtCheckAmount->selectAll();
        return;
    }
    m_checks.append({txtCheckNo->text().trimmed(), cents, Find_Contributor(txtCheckFrom->text())});
    Fill_Checks();
    fgChecks->SetTopRow(std::max(1, fgChecks->Rows() - 1));
    txtCheckNo->clear();
    txtCheckAmount->clear();
    AmountBox::Clear_Refusal(txtCheckAmount);
    txtCheckFrom->clear();
    txtCheckNo->setFocus();
    Edited();
}

void CountPage::Remove_Check()
{
    const int r = fgChecks->RowSel();
    if (r < 1 || r > m_checks.size())
        return;
    m_checks.removeAt(r - 1);
    Fill_Checks();
    Edited();
}

void CountPage::Fill_Checks()
{
    QvGrid* g = fgChecks;
    g->setUpdatesEnabled(false);
    g->Clear();
    g->SetCols(3);
    g->SetColWidthTwips(0, 1400);
    g->SetColWidthTwips(1, 1500);
    g->SetColWidthTwips(2, 3000);
    g->AddItem(QStringLiteral("Check No.\tAmount\tFrom"));
    g->SetColAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    for (const PlateCount::CheckLine& c : m_checks)
        g->AddItem(c.number + QLatin1Char('\t') + PlateCount::Format_Cents(c.cents) + QLatin1Char('\t')
                   + m_names.value(c.contributorID));
    g->setUpdatesEnabled(true);
}

void CountPage::Edited()
{
    if (m_showing)
        return;
    m_changed = true;
    Update_Totals();
    emit CountChanged();
}

void CountPage::Update_Totals()
{
    const PlateCount::Count c = Current();
    lblCurrency->setText(PlateCount::Format_Cents(c.CurrencyCents()));
    lblCoin->setText(PlateCount::Format_Cents(c.CoinCents()));
    lblChecks->setText(QStringLiteral("%1 checks: %2").arg(c.CheckCount()).arg(PlateCount::Format_Cents(c.CheckCents())));
    lblCounted->setText(PlateCount::Format_Cents(c.TotalCents()));
    lblEntered->setText(PlateCount::Format_Cents(m_entered));
    const qint64 d = PlateCount::Difference(c, m_entered);
    lblDifference->setText(PlateCount::Format_Cents(d));
    lblDifference->setStyleSheet(d != 0 ? QStringLiteral("color: red; font-weight: bold") : QString());
}

bool CountPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == txtCheckNo || watched == txtCheckAmount || watched == txtCheckFrom)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Add_Check();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
