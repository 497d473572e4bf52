#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// Chooses the data set to open when the settings file lists several.
class frmPickDB : public QDialog {
    Q_OBJECT
public:
    explicit frmPickDB(QWidget* parent = nullptr);
    // 1 until a data set is chosen with OK.
    short DataSet_Number() const { return m_dataSet; }

    QLabel* lblDB;
    QComboBox* cboDB;
    QPushButton* cmdOK;

private:
    void cmdOK_Click();
    short m_dataSet = 1;
};
