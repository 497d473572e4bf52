#include "frmPickDB.h"

#include "Messages.h"
#include "WindowServices.h"
#include "modStartup.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace WindowServices;

frmPickDB::frmPickDB(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPickDB"));
    setWindowTitle(QStringLiteral("Quorvane Data Set"));
    setFixedSize(TwipsSize(5400, 1815));
    lblDB = new QLabel(QStringLiteral("Please select the data set you wish to work on."), this);
    lblDB->setObjectName(QStringLiteral("lblDB"));
    lblDB->setWordWrap(true);
    Place(lblDB, 240, 150, 4920, 420);
    cboDB = new QComboBox(this);
    cboDB->setObjectName(QStringLiteral("cboDB"));
    Place(cboDB, 240, 630, 4920, 330);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Place(cmdOK, 2100, 1140, 1200, 390);
    connect(cmdOK, &QPushButton::clicked, this, &frmPickDB::cmdOK_Click);

    const int count = modStartup::NumberDataSets();
    for (int i = 1; i <= count; ++i)
        cboDB->addItem(modStartup::DataSetValue(i, QStringLiteral("DBLabel")), i);
    cboDB->setCurrentIndex(-1);
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
