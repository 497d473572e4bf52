#pragma once

#include "widgets/frmChild.h"
#include "storage/clsFunds.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// One fund's name and attributes; for ID 0 a new fund. The opener may lock
// the attributes (the main fund's are fixed).
class frmFundInfo : public frmChild {
    Q_OBJECT
    Q_PROPERTY(int ID READ ID WRITE SetID)
    Q_PROPERTY(bool AllowPledgeable READ AllowPledgeable WRITE SetAllowPledgeable)
    Q_PROPERTY(bool AllowTaxDeductible READ AllowTaxDeductible WRITE SetAllowTaxDeductible)
    Q_PROPERTY(bool AllowInactive READ AllowInactive WRITE SetAllowInactive)
public:
    explicit frmFundInfo(QWidget* parent = nullptr);

    int ID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    bool AllowPledgeable() const { return m_allowPledgeable; }
    void SetAllowPledgeable(bool b) { m_allowPledgeable = b; }
    bool AllowTaxDeductible() const { return m_allowTaxDeductible; }
    void SetAllowTaxDeductible(bool b) { m_allowTaxDeductible = b; }
    bool AllowInactive() const { return m_allowInactive; }
    void SetAllowInactive(bool b) { m_allowInactive = b; }

    void Form_Load() override;

    QLabel* lblName;
    QLineEdit* txtName;
    QCheckBox *chkPledgeable, *chkTaxDeductible, *chkInactive;
    QPushButton *cmdOK, *cmdCancel;

private:
    bool Save_Changes() override;
    void cmdOK_Click();

    int m_id = 0;
    bool m_allowPledgeable = true;
    bool m_allowTaxDeductible = true;
    bool m_allowInactive = true;
    clsFunds m_fund;
};
