#include "frmActive.h"

#include "SafetyCopy.h"
#include "YearWindows.h"
#include "shell/Messages.h"
#include "shell/WindowServices.h"
#include "shell/clsDBEvent.h"
#include "shell/modGlobal.h"
#include "storage/DbError.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace WindowServices;

namespace {
const QString kTitle = QStringLiteral("Make Pledges Active or Inactive");
}

frmActive::frmActive(QWidget* parent) : frmChild(parent)
{
    setObjectName(QStringLiteral("frmActive"));
    setWindowTitle(kTitle);
    resize(TwipsSize(5415, 2325));

    lblFund = new QLabel(QStringLiteral("Select Fund"), this);
    lblFund->setObjectName(QStringLiteral("lblFund"));
    Place(lblFund, 120, 180, 1100, 300);
    cboFund = new QComboBox(this);
    cboFund->setObjectName(QStringLiteral("cboFund"));
    Place(cboFund, 1260, 150, 4035, 315);
    lblFund->setBuddy(cboFund);
    fraActive = new QGroupBox(QStringLiteral("Make all pledges to this fund"), this);
    fraActive->setObjectName(QStringLiteral("fraActive"));
    Place(fraActive, 120, 660, 3495, 1215);
    optActive = new QRadioButton(QStringLiteral("&Active"), fraActive);
    optActive->setObjectName(QStringLiteral("optActive"));
    Place(optActive, 240, 360, 3000, 300);
    optInactive = new QRadioButton(QStringLiteral("&Inactive"), fraActive);
    optInactive->setObjectName(QStringLiteral("optInactive"));
    Place(optInactive, 240, 780, 3000, 300);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Place(cmdOK, 3840, 780, 1455, 390);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Place(cmdCancel, 3840, 1380, 1455, 390);

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
