#pragma once

#include "ListingTables.h"
#include "frmReportWindow.h"

class QComboBox;
class QvDateBox;
class QGroupBox;
class QLabel;
class QRadioButton;

// What the fund report and the memorial donor labels share: a fund, and
// either one collection set or a range of dates. The option buttons only
// switch which controls are enabled; a click in a list or a change of a date
// builds.
class frmRptFundSelection : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptFundSelection(QWidget* parent = nullptr);

    // The offerings the report reads, as the controls stand.
    Listings::Selection Selection() const;

    QLabel* lblFund;
    QComboBox* cboFund;
    QGroupBox* fraOption;
    QRadioButton* optColNum;
    QRadioButton* optDateRange;
    QComboBox* cboCollections;
    QvDateBox* dpBegin;
    QLabel* lblThrough;
    QvDateBox* dpEnd;

protected:
    // Makes the shared controls and adds them to the strip; the window's
    // own follow them.
    void Build_Selection_Controls();
    void Fill_Lists() override;
    // Fills the fund list; the fund numbered selectID becomes the selection.
    void Fill_Fund_List(int selectID);
    int Chosen_Fund() const;

private:
    void Option_Clicked();
    void List_Clicked();
};
