#include "frmPickDB.h"

#include "core/Messages.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "storage/modStartup.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

frmPickDB::frmPickDB(QWidget* parent) : QDialog(parent)
{
    Set_Up(this, "frmPickDB", QStringLiteral("Quorvane Data Set"));
    lblDB = Label(this, "lblDB", QStringLiteral("Please select the data set you wish to work on."));
    cboDB = Combo(this, "cboDB");
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    auto* page = Page(this);
    page->addWidget(lblDB);
    page->addWidget(cboDB);
    page->addStretch(1);
    auto* button = Row({nullptr, cmdOK, nullptr});
    page->addLayout(button);
    connect(cmdOK, &QPushButton::clicked, this, &frmPickDB::cmdOK_Click);

    const int count = modStartup::NumberDataSets();
    for (int i = 1; i <= count; ++i)
        cboDB->addItem(modStartup::DataSetValue(i, QStringLiteral("DBLabel")), i);
    cboDB->setCurrentIndex(-1);
    Fix_At(this, 5400, 1815);
    CentreInMainWindow(this);
}

void frmPickDB::cmdOK_Click()
{
    if (cboDB->currentIndex() < 0) {
        Messages::Show(QStringLiteral("Please select a Data Set"));
        return;
    }
    m_dataSet = short(cboDB->currentData().toInt());
    accept();
}
