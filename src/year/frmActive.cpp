#include "frmActive.h"

#include "SafetyCopy.h"
#include "YearWindows.h"
#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/DbError.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace WindowServices;
using namespace Layouts;

namespace {
const QString kTitle = QStringLiteral("Make Pledges Active or Inactive");
}

frmActive::frmActive(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmActive", kTitle);
    cboFund = Combo(this, "cboFund");
    lblFund = Label(this, "lblFund", QStringLiteral("Select Fund"), cboFund);
    fraActive = Group(this, "fraActive", QStringLiteral("Make all pledges to this fund"));
    optActive = Radio(fraActive, "optActive", QStringLiteral("&Active"));
    optInactive = Radio(fraActive, "optInactive", QStringLiteral("&Inactive"));
    fraActive->setLayout(Column({optActive, optInactive}));
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* page = Page(this);
    page->addLayout(Pair(lblFund, cboFund));
    auto* choice = new QHBoxLayout;
    choice->addWidget(fraActive, 1);
    auto* buttons = Column({cmdOK, cmdCancel});
    buttons->addStretch(1);
    choice->addLayout(buttons);
    page->addLayout(choice);
    page->addStretch(1);
    Open_At(this, 5415, 2325);

    connect(cmdOK, &QPushButton::clicked, this, &frmActive::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    CloseOnEscape(this);
}

void frmActive::Form_Load()
{
    Build_Fund_List();
}

void frmActive::Build_Fund_List()
{
    YearWindows::Fill_Fund_List(cboFund);
}

void frmActive::Handle_DBChange(int table, bool, bool, bool, int, int)
{
    if (table == dbFunds)
        Build_Fund_List();
}

void frmActive::cmdOK_Click()
{
    if (!optActive->isChecked() && !optInactive->isChecked()) {
        Messages::Show(QStringLiteral("Please choose Active or Inactive"), QStringLiteral("Make Pledges Active"),
                       Messages::Icon::Information);
        return;
    }
    const int fundID = cboFund->currentData().toInt();
    const bool active = optActive->isChecked();
    QString copy;
    try {
        if (modGlobal::Pledges_To_Mark(fundID, active) > 0 && !SafetyCopy::Copy_Before_Change(&copy))
            return;
        YearWindows::ProgressWindow progress(kTitle);
        modGlobal::Set_Pledges_Active(fundID, active, progress.Sink());
    } catch (const DbError& e) {
        YearWindows::Show_Failure(e.Message());
        return;
    }
    SafetyCopy::Tell_Copy(copy, kTitle);
    close();
}
