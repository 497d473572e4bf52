#pragma once

#include "PlateCount.h"
#include "storage/ContributorQueries.h"

#include <QHash>
#include <QWidget>
#include <array>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QvGrid;

// The Count tab of the offering window: the plate as two counters counted
// it. Tab goes through the denominations; Enter in a check's boxes adds
// the check; every total follows the typing.
class CountPage : public QWidget {
    Q_OBJECT
public:
    explicit CountPage(QWidget* parent = nullptr);

    // Shows the set's stored count; who lists the contributors the checks
    // can be matched to.
    void Show(const PlateCount::Count& c, const QList<ContributorQueries::Row>& who);
    // The contributors a check's "From" is looked up among.
    void Set_Contributors(const QList<ContributorQueries::Row>& who);
    PlateCount::Count Current() const;
    // What the books hold for the set, for the difference shown.
    void Set_Entered(qint64 cents);
    // Whether anything was typed since Show or Mark_Saved.
    bool Changed() const { return m_changed; }
    void Mark_Saved() { m_changed = false; }
    // The contributor a check is from: an envelope number of the year or
    // the beginning of a name; 0 when nobody matches.
    int Find_Contributor(const QString& text) const;
    void Add_Check();
    void Remove_Check();

    std::array<QLineEdit*, 7> txtBills;
    std::array<QLineEdit*, 5> txtCoins;
    QLineEdit* txtRolled;
    QLineEdit *txtCheckNo, *txtCheckAmount, *txtCheckFrom;
    QPushButton *cmdAddCheck, *cmdRemoveCheck;
    QvGrid* fgChecks;
    QLineEdit *txtCounter1, *txtCounter2;
    QDateTimeEdit* dtCounted;
    QLabel *lblCurrency, *lblCoin, *lblChecks, *lblCounted, *lblEntered, *lblDifference;

signals:
    void CountChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill_Checks();
    void Update_Totals();
    void Edited();

    QList<PlateCount::CheckLine> m_checks;
    QList<ContributorQueries::Row> m_who;
    QHash<int, QString> m_names;
    qint64 m_entered = 0;
    bool m_changed = false;
    bool m_showing = false;
    PlateCount::Count m_shown; // what is not typed here (the kept difference)
};
