#pragma once

#include <QDate>
#include <QDialog>

class QvDateBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QvGrid;

// Picks an existing collection set of the processing year or creates a new
// one. Modal; the opener reads the choice from the properties afterwards.
class frmCollectionDate : public QDialog {
    Q_OBJECT
    Q_PROPERTY(bool Cancelled READ Cancelled)
    Q_PROPERTY(QDate CollectionDate READ CollectionDate)
    Q_PROPERTY(int CollectionNumber READ CollectionNumber)
    Q_PROPERTY(QString CollectionNotation READ CollectionNotation)
public:
    explicit frmCollectionDate(QWidget* parent = nullptr);

    bool Cancelled() const { return m_cancelled; }
    QDate CollectionDate() const { return m_date; }
    int CollectionNumber() const { return m_number; }
    QString CollectionNotation() const { return m_notation; }

    QGroupBox* fraNewCollection;
    QLabel* lblDate;
    QvDateBox* dpNewDate;
    QLabel* lblNotation;
    QLineEdit* txtNotation;
    QPushButton* cmdNew;
    QGroupBox* fraPrevColl;
    QvGrid* fgPrevColl;
    QPushButton* cmdPrev;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void LoadGrid();
    void cmdNew_Click();
    void cmdPrev_Click();

    bool m_cancelled = true;
    QDate m_date;
    int m_number = 0;
    QString m_notation;
};
