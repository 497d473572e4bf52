#pragma once

#include "frmChild.h"

class QLabel;
class QProgressBar;

// Shows how far a long operation has come, and keeps the program painting
// while it runs. The caller closes it when done.
class frmProgess : public frmChild {
    Q_OBJECT
public:
    explicit frmProgess(QWidget* parent = nullptr);
    ~frmProgess() override;

    void Show_Progress(int maximum, const QString& description);
    void Increment_Progess(int step);

    QLabel* lblDescription;
    QProgressBar* pbProgress;
};
