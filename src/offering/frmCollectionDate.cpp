#include "frmCollectionDate.h"

#include "CollectionSets.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/QvDateBox.h"
#include "widgets/QvGrid.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/modGlobal.h"
#include "core/DbError.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

frmCollectionDate::frmCollectionDate(QWidget* parent) : QDialog(parent)
{
    Set_Up(this, "frmCollectionDate", QStringLiteral("Set Collection Date"));
    m_date = modGlobal::ZeroDate();

    fraNewCollection = Group(this, "fraNewCollection", QStringLiteral("Create New Collection Set"));
    lblDate = Label(fraNewCollection, "lblDate", QStringLiteral("&Date"));
    dpNewDate = new QvDateBox(fraNewCollection);
    dpNewDate->setObjectName(QStringLiteral("dpNewDate"));
    lblDate->setBuddy(dpNewDate);
    txtNotation = Box(fraNewCollection, "txtNotation", 40);
    lblNotation = Label(fraNewCollection, "lblNotation", QStringLiteral("N&otation"), txtNotation);
    cmdNew = Button(fraNewCollection, "cmdNew", QStringLiteral("Create &New"));
    // Enter on the proposed date creates the set: the usual Sunday.
    cmdNew->setDefault(true);
    auto* form = Form(fraNewCollection);
    form->addRow(lblDate, Row({dpNewDate, nullptr}));
    auto* notationRow = new QHBoxLayout;
    notationRow->addWidget(txtNotation, 1);
    notationRow->addWidget(cmdNew);
    form->addRow(lblNotation, notationRow);

    fraPrevColl = Group(this, "fraPrevColl", QStringLiteral("Existing Collection Sets"));
    fgPrevColl = Grid(fraPrevColl, "fgPrevColl");
    cmdPrev = Button(fraPrevColl, "cmdPrev", QStringLiteral("&Edit Existing"));
    auto* previous = new QVBoxLayout(fraPrevColl);
    previous->addWidget(fgPrevColl, 1);
    previous->addLayout(ButtonRow({cmdPrev}));

    setTabOrder(dpNewDate, txtNotation);
    setTabOrder(txtNotation, cmdNew);
    setTabOrder(cmdNew, fgPrevColl);
    setTabOrder(fgPrevColl, cmdPrev);

    auto* page = Page(this);
    page->addWidget(fraNewCollection);
    page->addWidget(fraPrevColl, 1);
    Open_At(this, 5175, 4470);

    connect(cmdNew, &QPushButton::clicked, this, &frmCollectionDate::cmdNew_Click);
    connect(cmdPrev, &QPushButton::clicked, this, &frmCollectionDate::cmdPrev_Click);
    // Enter on a listed set opens it too: the grid gives Enter a double-click's meaning.
    connect(fgPrevColl, &QvGrid::RowDoubleClicked, this, &frmCollectionDate::cmdPrev_Click);
    SelectAllOnFocus(this);

    // Defaults of a new set, restricted to the processing year.
    const int y = modGlobal::ProcessingYear;
    dpNewDate->setDateRange(QDate(y, 1, 1), QDate(y, 12, 31));
    dpNewDate->setDate(CollectionSets::Default_New_Date());
    LoadGrid();
    CentreInMainWindow(this);
    dpNewDate->setFocus();
}

void frmCollectionDate::LoadGrid()
{
    QvGrid* g = fgPrevColl;
    g->Clear();
    g->SetCols(3);
    g->SetColWidthTwips(0, 700);
    g->SetColWidthTwips(1, 1100);
    g->SetColWidthTwips(2, 2410);
    g->AddItem(QStringLiteral("No.\tDate\tNotation"));
    g->SetColAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    g->SetColAlignment(1, Qt::AlignCenter);
    g->SetColAlignment(2, Qt::AlignLeft | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("0\t0\t"));
    g->SetRowHidden(1, true);
    for (const auto& set : CollectionSets::Sets_Of_Year(modGlobal::ProcessingYear))
        g->AddRow({set.id, {QString::number(set.id), modGlobal::ShortDate(set.date), set.notation}, {{}, set.date}});
    if (g->Rows() > 2)
        g->Select(2, 2);
}

void frmCollectionDate::cmdNew_Click()
{
    const QDate date = dpNewDate->date();
    if (CollectionSets::Date_Has_Set(date)
        && Messages::Ask_Default_No(QStringLiteral("A Collection Set has already been created for the date ") + modGlobal::ShortDate(date)
                              + QStringLiteral(". Are you sure you want to create another one?"),
                          QStringLiteral("Duplicate Date"))
            != Messages::Answer::Yes)
        return;
    hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    CollectionSets::SetRow set;
    try {
        set = CollectionSets::Create_Set(date, txtNotation->text());
    } catch (const DbError& e) {
        // Nothing was created; the dialog comes back with what was chosen.
        show();
        Messages::Show_Error(e.Message());
        return;
    }
    m_cancelled = false;
    m_date = set.date;
    m_number = set.id;
    m_notation = set.notation;
    accept();
}

void frmCollectionDate::cmdPrev_Click()
{
    const int r = fgPrevColl->RowSel();
    if (fgPrevColl->Key(r) <= 0)
        return;
    hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_cancelled = false;
    m_date = fgPrevColl->Value(r, 1).toDate();
    m_number = int(fgPrevColl->Key(r));
    m_notation = fgPrevColl->TextMatrix(r, 2);
    accept();
}

void frmCollectionDate::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // The proposed date takes the typing (or Enter) at once; the focus set
    // while loading is lost when the opener makes the dialog its own.
    if (!focusWidget())
        dpNewDate->setFocus(Qt::OtherFocusReason);
}
