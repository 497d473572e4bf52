#pragma once

#include "widgets/frmChild.h"

class QLabel;
class QPushButton;

class frmAbout : public frmChild {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
};
