#pragma once

#include "clsRecord.h"

// A contributor's yearly pledge to a fund, with the envelope (main fund) or
// auxiliary number.
class clsPledges : public clsRecord {
public:
    clsPledges();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    int ContributorID() const { return m_ContributorID; }
    void ContributorID(int v) { Assign(m_ContributorID, v); }
    int FundID() const { return m_FundID; }
    void FundID(int v) { Assign(m_FundID, v); }
    int AccountNumber() const { return m_AccountNumber; }
    void AccountNumber(int v) { Assign(m_AccountNumber, v); }
    double Amount() const { return m_Amount; }
    void Amount(double v) { Assign(m_Amount, v); }
    // Notes are stored as given; the entry window keeps them within 250.
    QString Notes() const { return m_Notes; }
    void Notes(const QString& v) { Assign(m_Notes, modGlobal::CleanText(v, true)); }
    bool IsInactive() const { return m_IsInactive; }
    void IsInactive(bool v) { Assign(m_IsInactive, v); }

    bool OK_to_Delete(bool showMessages);
    void Save_to_DB();
    void Delete_Record_from_DB();
    void Get_One_Record(const QString& where = {});
    // The record from the current row of a "SELECT *" of the table (none at
    // its end): many pledges read by one query.
    void Read_Row(const class Recordset& rs);
    int Next_ID();

private:
    int m_ID = 0, m_ContributorID = 0, m_FundID = 0, m_AccountNumber = 0;
    double m_Amount = 0;
    QString m_Notes;
    bool m_IsInactive = false;
};
