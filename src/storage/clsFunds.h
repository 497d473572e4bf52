#pragma once

#include "clsRecord.h"

// A row of Funds. Row 1 is the main fund; money to it for year Y carries
// the fund reference -Y.
class clsFunds : public clsRecord {
public:
    clsFunds();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    QString FundName() const { return m_FundName; }
    void FundName(const QString& v) { AssignText(m_FundName, v, 30); }
    bool IsPledgeable() const { return m_IsPledgeable; }
    void IsPledgeable(bool v) { Assign(m_IsPledgeable, v); }
    bool IsTaxDeductible() const { return m_IsTaxDeductible; }
    void IsTaxDeductible(bool v) { Assign(m_IsTaxDeductible, v); }
    bool IsInactive() const { return m_IsInactive; }
    void IsInactive(bool v) { Assign(m_IsInactive, v); }

    bool OK_to_Delete(bool showMessages);
    bool OK_to_Add(bool showMessages);
    void Add_Record_to_DB();
    void Delete_Record_from_DB();
    void Update_Record_to_DB();
    void Get_One_Record(const QString& where = {});

private:
    static void MakeTableReady();

    int m_ID = 0;
    QString m_FundName;
    bool m_IsPledgeable = false;
    bool m_IsTaxDeductible = true;
    bool m_IsInactive = false;
};

namespace modGlobal {
// The name a fund reference is shown by: a Funds row's name, or for -Y the
// year, a blank and the main fund's name. A reference without a row gives "".
QString Fund_Display_Name(int fundID);
} // namespace modGlobal
