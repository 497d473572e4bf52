#pragma once

#include "storage/clsChurch.h"
#include "storage/clsFunds.h"

#include <QString>

// The church's second and third report funds as the Church window stores
// them (0 leaves the column to the funds given to); a null name keeps the
// church's name as it is.
inline void SetReportFunds(int fund2, int fund3, const QString& churchName = {})
{
    clsChurch c;
    c.Get_One_Record();
    if (!churchName.isNull())
        c.ChurchName(churchName);
    c.DefaultFund2(fund2);
    c.DefaultFund3(fund3);
    c.Update_Record_to_DB();
}

// The church's name; with a tax statement, also the address the statements
// print above it.
inline void SetChurch(const QString& name, const QString& irs = {})
{
    clsChurch c;
    c.Get_One_Record();
    c.ChurchName(name);
    if (!irs.isNull()) {
        c.Address1("1 Church St");
        c.City("Salem");
        c.State("OR");
        c.ZipCode("97301");
        c.IRSStatement(irs);
    }
    c.Update_Record_to_DB();
}

// The main fund renamed through its record, as the fund list does it.
inline void RenameMainFund(const QString& name)
{
    clsFunds main;
    main.Get_One_Record(QStringLiteral("ID = 1"));
    main.FundName(name);
    main.Update_Record_to_DB();
}
