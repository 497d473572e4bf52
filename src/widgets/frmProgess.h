#pragma once

#include "frmChild.h"

class QLabel;
class QProgressBar;
class QVBoxLayout;
class QPushButton;

// Shows how far a long operation has come, and keeps the program painting
// while it runs. The caller closes it when done.
class frmProgess : public frmChild {
    Q_OBJECT
public:
    explicit frmProgess(QWidget* parent = nullptr);
    ~frmProgess() override;

    void Show_Progress(int maximum, const QString& description);
    void Increment_Progess(int step);
    // A Cancel button under the bar for an operation that can stop between
    // steps; the operation asks Cancelled() after each step.
    void Allow_Cancel();
    bool Cancelled() const { return m_cancelled; }

    QLabel* lblDescription;
    QProgressBar* pbProgress;
    QPushButton* cmdCancel = nullptr;

private:
    void Fit();

    bool m_cancelled = false;
    int m_unshown = 0; // steps counted but not yet on the bar (it moves a percent at a time)
    QVBoxLayout* m_page = nullptr;
};
