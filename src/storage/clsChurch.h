#pragma once

#include "clsRecord.h"

// The single Church row: the church's identity and the program settings.
class clsChurch : public clsRecord {
public:
    clsChurch();

    int ID() const { return m_ID; }
    void ID(int v) { Assign(m_ID, v); }
    QString ChurchName() const { return m_ChurchName; }
    void ChurchName(const QString& v) { AssignText(m_ChurchName, v, 40); }
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
    bool UseCurrentDate() const { return m_UseCurrentDate; }
    void UseCurrentDate(bool v) { Assign(m_UseCurrentDate, v); }
    short DayOfWeek() const { return m_DayOfWeek; }
    void DayOfWeek(int v) { Assign(m_DayOfWeek, short(v < 0 ? 0 : (v > 6 ? 6 : v))); }
    int DefaultFund2() const { return m_DefaultFund2; }
    void DefaultFund2(int v) { Assign(m_DefaultFund2, v); }
    int DefaultFund3() const { return m_DefaultFund3; }
    void DefaultFund3(int v) { Assign(m_DefaultFund3, v); }
    bool AssignEnv() const { return m_AssignEnv; }
    void AssignEnv(bool v) { Assign(m_AssignEnv, v); }
    QString IRSStatement() const { return m_IRSStatement; }
    void IRSStatement(const QString& v) { AssignText(m_IRSStatement, v, 200, true); }
    QString Password() const { return m_Password; }
    void Password(const QString& v) { AssignText(m_Password, v, 40); }

    QString FullAddress(bool multiLine) const;
    void Update_Record_to_DB();
    void Get_One_Record(const QString& where = {});

    static QString DefaultIRSStatement();
    static QString InitialPassword();

private:
    static void MakeTableReady();

    int m_ID = 0;
    QString m_ChurchName, m_Address1, m_Address2, m_City, m_State, m_ZipCode, m_Phone;
    bool m_UseCurrentDate = false;
    short m_DayOfWeek = 0;
    int m_DefaultFund2 = 0, m_DefaultFund3 = 0;
    bool m_AssignEnv = true;
    QString m_IRSStatement, m_Password;
};
