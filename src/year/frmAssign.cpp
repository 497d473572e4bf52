#include "frmAssign.h"

#include "SafetyCopy.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/DbError.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

namespace {
const QString kTitle = QStringLiteral("Assign Numbers");
}

frmAssign::frmAssign(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmAssign", kTitle);
    cboFund = Combo(this, "cboFund");
    lblFund = Label(this, "lblFund", QStringLiteral("Fund"), cboFund);
    QLayout* envelopes = Choice[0].Create(this, 0, QStringLiteral("Assign &Envelope Numbers"));
    QLayout* auxiliary = Choice[1].Create(this, 1, QStringLiteral("Assign A&uxiliary Numbers"));
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* page = Page(this);
    page->addLayout(Pair(lblFund, cboFund));
    page->addLayout(envelopes);
    page->addLayout(auxiliary);
    page->addStretch(1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 3975, 3630);

    for (auto& c : Choice)
        connect(c.txtBegin, &QLineEdit::returnPressed, this, &frmAssign::cmdOK_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAssign::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    CloseOnEscape(this);
    SelectAllOnFocus(this);
}

void frmAssign::Form_Load()
{
    Build_Fund_List();
    for (auto& c : Choice)
        c.Count_Again();
}

void frmAssign::Build_Fund_List()
{
    YearWindows::Fill_Fund_List(cboFund);
}

void frmAssign::Handle_DBChange(int table, bool, bool, bool, int, int)
{
    if (table == dbFunds)
        Build_Fund_List();
    else if (table == dbContributors)
        for (auto& c : Choice)
            c.Count_Again();
}

void frmAssign::cmdOK_Click()
{
    const int fundID = cboFund->currentData().toInt();
    if (!YearWindows::Choices_Valid(Choice, kTitle))
        return;
    QString copy;
    m_changes.clear();
    try {
        bool changes = false;
        for (auto& c : Choice)
            if (c.Checked() && !modGlobal::Plan_Numbers(fundID, c.First(), c.Envelope()).isEmpty())
                changes = true;
        if (changes && !SafetyCopy::Copy_Before_Change(&copy))
            return;
        // Both runs or neither.
        Connection::Transaction transaction(modGlobal::DB());
        for (auto& c : Choice) {
            if (!c.Checked())
                continue;
            YearWindows::ProgressWindow progress(kTitle);
            m_changes += modGlobal::Assign_Numbers(fundID, c.First(), c.Envelope(), progress.Sink());
        }
        transaction.Commit();
    } catch (const DbError& e) {
        m_changes.clear();
        YearWindows::Show_Failure(e.Message());
        return;
    }
    SafetyCopy::Tell_Copy(copy, kTitle);
    YearWindows::Show_Changed_Numbers(fundID, m_changes);
    close();
}
