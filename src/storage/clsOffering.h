#pragma once

#include "clsRecord.h"

// One amount given by one contributor (1 = loose offering) to one fund in
// one collection set.
class clsOffering : public clsRecord {
public:
    clsOffering();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    int ContributorID() const { return m_ContributorID; }
    void ContributorID(int v) { Assign(m_ContributorID, v); }
    int CollectionID() const { return m_CollectionID; }
    void CollectionID(int v) { Assign(m_CollectionID, v); }
    int FundID() const { return m_FundID; }
    void FundID(int v) { Assign(m_FundID, v); }
    double Amount() const { return m_Amount; }
    void Amount(double v) { Assign(m_Amount, v); }

    void Delete_Record_from_DB();
    void Add_Record_to_DB();
    void Update_Record_to_DB();
    void Get_One_Record(const QString& where = {});
    // Whether any offering names the fund, the contributor, or the
    // contributor and fund of a pledge. They do not change the object.
    bool Fund_Used(int fundID);
    bool Contributor_Used(int contributorID);
    bool Pledge_Used(int contributorID, int fundID);

private:
    int m_ID = 0, m_ContributorID = 0, m_CollectionID = 0, m_FundID = 0;
    double m_Amount = 0;
};
