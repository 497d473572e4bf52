#include "frmPreferences.h"

#include "Preferences.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/modGlobal.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QFormLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

using namespace WindowServices;
using namespace Layouts;

namespace {
constexpr int kStatementSize = 200;
} // namespace

frmPreferences::frmPreferences(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmPreferences", QStringLiteral("Preferences"));
    fraDateDefault = Group(this, "fraDateDefault", QStringLiteral("Default Date for New Collections"));
    optCurrentDate = Radio(fraDateDefault, "optCurrentDate", QStringLiteral("Current &Date"));
    optPrevDay = Radio(fraDateDefault, "optPrevDay", QStringLiteral("&Previous"));
    cboWeekday = Combo(fraDateDefault, "cboWeekday");
    auto* dateDefault = new QVBoxLayout(fraDateDefault);
    dateDefault->addWidget(optCurrentDate);
    dateDefault->addLayout(Row({optPrevDay, cboWeekday, nullptr}));

    fraFunds = Group(this, "fraFunds", QStringLiteral("Default Funds"));
    lblFirstFund = Label(fraFunds, "lblFirstFund", QStringLiteral("First Fund"));
    lblFirstFundName = Label(fraFunds, "lblFirstFundName", QString());
    lblSecondFund = Label(fraFunds, "lblSecondFund", QStringLiteral("Second Fund"));
    cboSecondFund = Combo(fraFunds, "cboSecondFund");
    lblThirdFund = Label(fraFunds, "lblThirdFund", QStringLiteral("Third Fund"));
    cboThirdFund = Combo(fraFunds, "cboThirdFund");
    lblSecondFund->setBuddy(cboSecondFund);
    lblThirdFund->setBuddy(cboThirdFund);
    auto* funds = Form(fraFunds);
    funds->addRow(lblFirstFund, lblFirstFundName);
    funds->addRow(lblSecondFund, cboSecondFund);
    funds->addRow(lblThirdFund, cboThirdFund);

    fraStatements = Group(this, "fraStatements", QStringLiteral("IRS Statement"));
    txtIRS = new QPlainTextEdit(fraStatements);
    txtIRS->setObjectName(QStringLiteral("txtIRS"));
    txtIRS->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtIRS->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // lines wrap
    txtIRS->setTabChangesFocus(true);
    (new QVBoxLayout(fraStatements))->addWidget(txtIRS);

    fraContributors = Group(this, "fraContributors", QStringLiteral("Defaults for New Contributors"));
    chkAssign = Check(fraContributors, "chkAssign", QStringLiteral("Assign &Envelope Number"));
    (new QVBoxLayout(fraContributors))->addWidget(chkAssign);

    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* page = Page(this);
    page->addWidget(fraDateDefault);
    page->addWidget(fraFunds);
    page->addWidget(fraStatements, 1);
    page->addWidget(fraContributors);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 4575, 6135);

    // The weekday counts only when the date steps back to it.
    connect(optPrevDay, &QRadioButton::toggled, cboWeekday, &QWidget::setEnabled);
    LimitLength(txtIRS, kStatementSize);
    connect(cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChild::Close_Unasked);
    txtIRS->installEventFilter(this);
}

void frmPreferences::Form_Load()
{
    Ask_To_Save();
    cboWeekday->clear();
    for (const QString& day : modGlobal::WeekdayNames)
        cboWeekday->addItem(day);

    lblFirstFundName->setText(modGlobal::MainFundName);
    const Preferences::Settings s = Preferences::Load_Settings();
    optCurrentDate->setChecked(s.useCurrentDate);
    optPrevDay->setChecked(!s.useCurrentDate);
    cboWeekday->setEnabled(optPrevDay->isChecked());
    cboWeekday->setCurrentIndex(s.dayOfWeek);
    txtIRS->setPlainText(Preferences::Statement_for_Box(s.irsStatement));
    chkAssign->setChecked(s.assignEnv);

    m_choices = FundQueries::Default_Fund_Choices();
    Fill_Fund_List(cboSecondFund, s.defaultFund2);
    Fill_Fund_List(cboThirdFund, s.defaultFund3);
}

void frmPreferences::Fill_Fund_List(QComboBox* list, int fundID)
{
    list->clear();
    list->addItem(QString(), 0);
    for (const FundQueries::Choice& c : m_choices)
        list->addItem(c.name, c.id);
    // A fund that is no longer there is shown as no choice at all.
    list->setCurrentIndex(Preferences::List_Position(m_choices, fundID));
}

bool frmPreferences::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtIRS && event->type() == QEvent::FocusIn) {
        // After the event, or the mouse press that brought the focus undoes it.
        QTimer::singleShot(0, txtIRS, [this] { txtIRS->selectAll(); });
        txtIRS->selectAll();
    }
    return frmChild::eventFilter(watched, event);
}

bool frmPreferences::Save_Changes()
{
    Preferences::Settings s;
    s.useCurrentDate = optCurrentDate->isChecked();
    s.dayOfWeek = std::max(0, cboWeekday->currentIndex());
    s.defaultFund2 = Preferences::Fund_At(m_choices, cboSecondFund->currentIndex());
    s.defaultFund3 = Preferences::Fund_At(m_choices, cboThirdFund->currentIndex());
    s.irsStatement = txtIRS->toPlainText();
    s.assignEnv = chkAssign->isChecked();
    Preferences::Save_Settings(s);
    return true;
}

void frmPreferences::cmdOK_Click()
{
    if (Save_Changes())
        Close_Unasked();
}
