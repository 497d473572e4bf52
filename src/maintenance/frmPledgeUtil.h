#pragma once

#include "PledgeGrid.h"
#include "widgets/frmChild.h"

#include <QHash>

class QCheckBox;
class QComboBox;
class QPushButton;
class QvGrid;

// The pledged amounts of every contributor for one fund in a single list,
// typed straight into the grid and saved all at once: the treasurer's tool
// after a pledge drive.
class frmPledgeUtil : public frmChild {
    Q_OBJECT
public:
    explicit frmPledgeUtil(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    // The fund reference whose pledges the grid lists.
    int Selected_Fund() const { return m_selectedFund; }
    // True once an amount was typed since the grid was last loaded.
    bool Changed() const { return m_typing.Changed(); }
    // Writes the typed amounts to the listed fund's pledges, with the
    // progress window; nothing when no amount was typed.
    void Save_Grid();

    QComboBox* cboFund;
    QCheckBox* chkAll;
    QvGrid* fgPledges;
    QPushButton *cmdOK, *cmdCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    class Busy;

    void Build_Fund_List();
    void Fund_Changed();
    void Load_Grid();
    bool Grid_Key(int key, const QString& text, Qt::KeyboardModifiers modifiers);
    void Grid_Row_Changed(int row);
    int Row_Of(int contributorID);
    int Key_Of(int row) const;
    bool Save_Changes() override;
    bool Has_Unsaved_Changes() const override;
    void cmdOK_Click();

    PledgeGrid::Typing m_typing;
    int m_selectedFund = 0;
    bool m_busy = false;
    bool m_saving = false; // the grid's own save: its notices bring nothing new
    // Grid row of each contributor, made again after rows move.
    QHash<int, int> m_rowOf;
    bool m_rowOfStale = true;
    // The amount each listed contributor had pledged to the fund when the
    // row was last read from the file.
    QHash<int, double> m_stored;
};
