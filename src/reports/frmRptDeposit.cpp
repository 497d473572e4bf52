#include "frmRptDeposit.h"

#include "CRViewer91.h"
#include "rptDeposit.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/clsDBEvent.h"

#include <QComboBox>
#include <QLabel>

using namespace Layouts;

namespace {
const QString kCaption = QStringLiteral("Deposit Slip");
}

frmRptDeposit::frmRptDeposit(QWidget* parent) : frmReportWindow(parent)
{
    setWindowTitle(kCaption);
}

void frmRptDeposit::Build_Controls()
{
    cboCollections = Combo(this, "cboCollections");
    lblCollection = Label(this, "lblCollection", QStringLiteral("&Collection"), cboCollections);
    Add_To_Strip({lblCollection, cboCollections});
    connect(cboCollections, &QComboBox::currentIndexChanged, this, &frmRptDeposit::Collection_Chosen);
    setTabOrder(cboCollections, viewer);
    Set_First_Control(m_number > 0 ? static_cast<QWidget*>(viewer) : cboCollections);
}

void frmRptDeposit::Fill_Lists()
{
    Fill_Collection_List(cboCollections, m_number);
}

void frmRptDeposit::Collection_Chosen(int index)
{
    if (Loading() || index < 0)
        return;
    m_number = cboCollections->itemData(index).toInt();
    Build();
}

std::unique_ptr<Report> frmRptDeposit::Make_Report()
{
    auto tables = m_number > 0 ? Deposit::Build(m_number) : std::nullopt;
    if (!tables) {
        setWindowTitle(kCaption);
        return nullptr;
    }
    setWindowTitle(tables->caption);
    auto report = std::make_unique<rptDeposit>();
    report->Bind(std::move(*tables));
    return report;
}

void frmRptDeposit::Handle_DBChange(int table, bool, bool, bool, int, int)
{
    if (table == dbCollection) {
        Fill_Collection_List(cboCollections, m_number);
        Build();
    }
}
