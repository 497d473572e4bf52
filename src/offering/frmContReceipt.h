#pragma once

#include "widgets/frmChild.h"

#include <QDate>

class FundLinesView;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class QvGrid;

// What one contributor gave in one collection set: seven fund lines and a
// comment, with the earlier giving listed for reference.
class frmContReceipt : public frmChild {
    Q_OBJECT
    Q_PROPERTY(int CollectionNumber READ CollectionNumber WRITE SetCollectionNumber)
    Q_PROPERTY(int ContributorID READ ContributorID WRITE SetContributorID)
    Q_PROPERTY(QDate CollectionDate READ CollectionDate WRITE SetCollectionDate)
public:
    explicit frmContReceipt(QWidget* parent = nullptr);

    int CollectionNumber() const { return m_collection; }
    void SetCollectionNumber(int n) { m_collection = n; }
    int ContributorID() const { return m_contributor; }
    void SetContributorID(int id) { m_contributor = id; }
    QDate CollectionDate() const { return m_date; }
    void SetCollectionDate(const QDate& d) { m_date = d; }

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QLabel *lblContributor, *lblPhone, *lblComment;
    QWidget* picCont;
    FundLinesView* lines;
    QLineEdit* txtComment;
    QPushButton *cmdAdd, *cmdEdit, *cmdOK, *cmdCancel;
    QvGrid* fgHist;

protected:
private:
    void Show_Contributor();
    void Load_History();
    bool Save_Changes() override;
    void cmdOK_Click();

    int m_collection = 0, m_contributor = 0;
    QDate m_date;
};
