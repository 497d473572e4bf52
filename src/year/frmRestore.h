#pragma once

#include <QSet>

#include "widgets/frmChild.h"

class QLabel;
class QPushButton;
class QvGrid;

// The safety copies of the books, newest first, and putting one back.
class frmRestore : public frmChild {
    Q_OBJECT
public:
    explicit frmRestore(QWidget* parent = nullptr);

    void Form_Load() override;

    QLabel* lblFolder;
    QvGrid* fgCopies;
    QPushButton *cmdOK, *cmdCancel;

private:
    QSet<QString> m_damaged; // copies that cannot be restored
    void Fill_List();
    void cmdOK_Click();
};
