#pragma once

#include "modOffering.h"
#include "widgets/frmChild.h"
#include "storage/ContributorQueries.h"

#include <QDate>
#include <QHash>

class CountPage;
class FundLinesView;
class QLabel;
class QCheckBox;
class QvDateBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class QvGrid;

// One collection set's offerings: loose offering fund by fund, the
// contributors with quick find by envelope number or name, and the totals.
class frmCollections : public frmChild {
    Q_OBJECT
    Q_PROPERTY(int CollectionNumber READ CollectionNumber WRITE SetCollectionNumber)
    Q_PROPERTY(QDate CollectionDate READ CollectionDate WRITE SetCollectionDate)
    Q_PROPERTY(QString CollectionNotation READ CollectionNotation WRITE SetCollectionNotation)
public:
    explicit frmCollections(QWidget* parent = nullptr);

    int CollectionNumber() const { return m_number; }
    void SetCollectionNumber(int n) { m_number = n; }
    QDate CollectionDate() const { return m_date; }
    void SetCollectionDate(const QDate& d) { m_date = d; }
    QString CollectionNotation() const { return m_notation; }
    void SetCollectionNotation(const QString& s) { m_notation = s; }

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    // Validates and saves the loose offering; false (with the message shown
    // and tab 0 up) when a line has an amount but no fund or the data file
    // refused the write.
    bool Save_Loose_Offering();
    // The loose offering and the set's date and notation, all or nothing;
    // false when nothing was saved (the message was shown).
    bool Save_All();
    void Quick_Find(const QString& text);
    void Select_Contributor();

    QTabWidget* sstCollections;
    FundLinesView* lines;
    QPushButton* cmdAddFund;
    QvGrid* fgContrib;
    QWidget* picCont;
    QPushButton *cmdSort, *cmdAdd, *cmdSelect;
    QCheckBox* chkShowAllContrib;
    QGroupBox* fraQuick;
    QLineEdit* txtQuick;
    QGroupBox *fraDate, *fraNotation;
    QvDateBox* dpColDate;
    QLineEdit* txtNotation;
    QvGrid* fgTotals;
    QGroupBox* fraCount;
    QLabel *lblCountedCash, *lblCountedChecks, *lblCountedTotal, *lblEnteredTotal, *lblDifference;
    QLabel* lblRunning;
    CountPage* count;
    QPushButton *cmdPrint, *cmdDone;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build_Contributor_Grid();
    void Apply_Sort();
    void Build_Totals();
    // What each contributor gave in this set, in cents (the loose offering not).
    QHash<int, qint64> Entered_By_Contributor() const;
    // The running total of the set and, with inGrid, each contributor's
    // amount beside the name.
    void Mark_Entered(const QHash<int, qint64>& given, bool inGrid);
    // The count shown on the Count tab, read again from the data file.
    void Load_Count();
    // The contributors with this year's envelope numbers, read once.
    const QList<ContributorQueries::Row>& Who();
    void Set_Caption(const QDate& d);
    void Select_Row(int row);
    void Tab_Changed(int index);
    bool Lines_Are_Valid(const OfferingLines& current);
    void cmdDone_Click();
    void cmdPrint_Click();

    int m_number = 0;
    bool m_gridBuilt = false;
    bool m_whoRead = false;
    QDate m_date;
    QString m_notation;
    bool m_sortByName = false;
    int m_previousTab = 0;
    bool m_closing = false;
    QList<ContributorQueries::Row> m_who; // the contributors the grid lists
};
