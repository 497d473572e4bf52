#include "frmPreferences.h"

#include "Preferences.h"
#include "shell/WindowServices.h"
#include "shell/modGlobal.h"

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

namespace {
constexpr int kStatementSize = 200;

template <class T>
T* Make(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(name));
    Place(w, left, top, width, height);
    return w;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, int left, int top, int width)
{
    auto* label = Make<QLabel>(parent, name, left, top, width, 300);
    label->setText(text);
    return label;
}
} // namespace

frmPreferences::frmPreferences(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    resize(TwipsSize(4575, 6135));

    fraDateDefault = Make<QGroupBox>(this, "fraDateDefault", 120, 60, 4335, 1095);
    fraDateDefault->setTitle(QStringLiteral("Default Date for New Collections"));
    optCurrentDate = Make<QRadioButton>(fraDateDefault, "optCurrentDate", 180, 300, 2500, 300);
    optCurrentDate->setText(QStringLiteral("Current &Date"));
    optPrevDay = Make<QRadioButton>(fraDateDefault, "optPrevDay", 180, 675, 1200, 300);
    optPrevDay->setText(QStringLiteral("&Previous"));
    cboWeekday = Make<QComboBox>(fraDateDefault, "cboWeekday", 1440, 630, 1800, 345);

    fraFunds = Make<QGroupBox>(this, "fraFunds", 120, 1260, 4335, 1500);
    fraFunds->setTitle(QStringLiteral("Default Funds"));
    lblFirstFund = Label(fraFunds, "lblFirstFund", QStringLiteral("First Fund"), 180, 345, 1200);
    lblFirstFundName = Label(fraFunds, "lblFirstFundName", QString(), 1440, 345, 2760);
    lblSecondFund = Label(fraFunds, "lblSecondFund", QStringLiteral("Second Fund"), 180, 735, 1200);
    cboSecondFund = Make<QComboBox>(fraFunds, "cboSecondFund", 1440, 690, 2760, 345);
    lblThirdFund = Label(fraFunds, "lblThirdFund", QStringLiteral("Third Fund"), 180, 1125, 1200);
    cboThirdFund = Make<QComboBox>(fraFunds, "cboThirdFund", 1440, 1080, 2760, 345);
    lblSecondFund->setBuddy(cboSecondFund);
    lblThirdFund->setBuddy(cboThirdFund);

    fraStatements = Make<QGroupBox>(this, "fraStatements", 120, 2880, 4335, 1800);
    fraStatements->setTitle(QStringLiteral("IRS Statement"));
    txtIRS = Make<QPlainTextEdit>(fraStatements, "txtIRS", 180, 300, 3975, 1380);
    txtIRS->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtIRS->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // lines wrap
    txtIRS->setTabChangesFocus(true);

    fraContributors = Make<QGroupBox>(this, "fraContributors", 120, 4800, 4335, 720);
    fraContributors->setTitle(QStringLiteral("Defaults for New Contributors"));
    chkAssign = Make<QCheckBox>(fraContributors, "chkAssign", 180, 330, 3000, 300);
    chkAssign->setText(QStringLiteral("Assign &Envelope Number"));

    cmdOK = Make<QPushButton>(this, "cmdOK", 2100, 5640, 1095, 375);
    cmdOK->setText(QStringLiteral("&OK"));
    cmdCancel = Make<QPushButton>(this, "cmdCancel", 3360, 5640, 1095, 375);
    cmdCancel->setText(QStringLiteral("&Cancel"));

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
