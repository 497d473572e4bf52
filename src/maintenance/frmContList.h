#pragma once

#include "widgets/frmChild.h"

class QCheckBox;
class QPushButton;
class QvGrid;

// Every contributor with the processing year's envelope number; the entry
// to adding, editing and deleting contributors. Kept current row by row
// from the change broadcast.
class frmContList : public frmChild {
    Q_OBJECT
public:
    explicit frmContList(QWidget* parent = nullptr);

    void Form_Load() override;
    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QvGrid* fgContributors;
    QCheckBox* chkShowAll;
    QPushButton *cmdSort, *cmdAdd, *cmdEdit, *cmdDelete, *cmdClose;

private:
    void Sort_Command();
    void Edit_Current();
    void Delete_Current();
    // Writes a contributor into its row, or a new row when row < 0; returns the row.
    int Put_Row(int row, int id, const QString& name, int envelope, bool inactive);
    void Refresh_Envelope(int row, int contributorID);

    bool m_sortedByName = false;
};
