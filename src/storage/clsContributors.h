#pragma once

#include "clsRecord.h"

// A row of Contributors: a person or household who gives.
class clsContributors : public clsRecord {
public:
    clsContributors();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    QString LastName() const { return m_LastName; }
    void LastName(const QString& v) { AssignText(m_LastName, v, 40); }
    QString FirstNames() const { return m_FirstNames; }
    void FirstNames(const QString& v) { AssignText(m_FirstNames, v, 40); }
    QString Address1() const { return m_Address1; }
    void Address1(const QString& v) { AssignText(m_Address1, v, 40); }
    QString Address2() const { return m_Address2; }
    void Address2(const QString& v) { AssignText(m_Address2, v, 40); }
    QString City() const { return m_City; }
    void City(const QString& v) { AssignText(m_City, v, 30); }
    QString State() const { return m_State; }
    void State(const QString& v) { AssignText(m_State, v, 2); }
    QString ZipCode() const { return m_ZipCode; }
    void ZipCode(const QString& v) { AssignText(m_ZipCode, v, 10); }
    QString Phone() const { return m_Phone; }
    void Phone(const QString& v) { AssignText(m_Phone, v, 40); }
    bool IsInactive() const { return m_IsInactive; }
    void IsInactive(bool v) { Assign(m_IsInactive, v); }
    bool UseEnvelopes() const { return m_UseEnvelopes; }
    void UseEnvelopes(bool v) { Assign(m_UseEnvelopes, v); }

    QString FullName(bool lastNameFirst) const;
    QString FullAddress(bool multiLine) const;
    bool OK_to_Delete(bool showMessages);
    void Save_to_DB();
    void Delete_Record_from_DB();
    void Get_One_Record(const QString& where = {});
    int Next_ID();

private:
    int m_ID = 0;
    QString m_LastName, m_FirstNames, m_Address1, m_Address2, m_City, m_State, m_ZipCode, m_Phone;
    bool m_IsInactive = false;
    bool m_UseEnvelopes = false;
};
