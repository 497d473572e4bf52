#include "clsChurch.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "core/modDBConnection.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

using namespace modDBConnection;
using namespace modGlobal;

QString clsChurch::DefaultIRSStatement()
{
    return QStringLiteral("No goods or services were provided to donor other than intangible religious benefits.");
}

QString clsChurch::InitialPassword()
{
    return QStringLiteral("Brv9kQ2e");
}

clsChurch::clsChurch()
{
    MakeTableReady();
}

void clsChurch::MakeTableReady()
{
    if (TableReady[tiChurch])
        return;
    Schema::CreateTable(tiChurch);
    Recordset rs(QStringLiteral("SELECT ID FROM Church WHERE ID = 1;"), DB());
    if (rs.Eof()) {
        DB().Execute(QStringLiteral("INSERT INTO Church (ID, ChurchName, Address1, Address2, City, State, ZipCode, Phone, "
                                    "UseCurrentDate, DayOfWeek, DefaultFund2, DefaultFund3, IRSStatement, Password, "
                                    "AssignEnv) VALUES (1, '', '', '', '', '', '', '', FALSE, 0, 0, 0, ")
                     + TextLiteral(DefaultIRSStatement()) + QStringLiteral(", ") + TextLiteral(InitialPassword())
                     + QStringLiteral(", TRUE);"));
        Notify(dbChurch, true, false, false, 1, 0);
    }
    TableReady[tiChurch] = true;
}

QString clsChurch::FullAddress(bool multiLine) const
{
    return AddressJoin(Address1(), Address2(), City(), State(), ZipCode(), multiLine);
}

void clsChurch::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = 1") : where;
    Recordset rs(QStringLiteral("SELECT * FROM Church WHERE ") + w + QLatin1Char(';'), DB(), Recordset::Cursor::ForwardOnly);
    if (!rs.Eof()) {
        ID(FieldLong(rs.Field(QStringLiteral("ID"))));
        ChurchName(FieldText(rs.Field(QStringLiteral("ChurchName"))));
        Address1(FieldText(rs.Field(QStringLiteral("Address1"))));
        Address2(FieldText(rs.Field(QStringLiteral("Address2"))));
        City(FieldText(rs.Field(QStringLiteral("City"))));
        State(FieldText(rs.Field(QStringLiteral("State"))));
        ZipCode(FieldText(rs.Field(QStringLiteral("ZipCode"))));
        Phone(FieldText(rs.Field(QStringLiteral("Phone"))));
        UseCurrentDate(FieldBool(rs.Field(QStringLiteral("UseCurrentDate"))));
        DayOfWeek(FieldInt(rs.Field(QStringLiteral("DayOfWeek"))));
        DefaultFund2(FieldLong(rs.Field(QStringLiteral("DefaultFund2"))));
        DefaultFund3(FieldLong(rs.Field(QStringLiteral("DefaultFund3"))));
        IRSStatement(FieldText(rs.Field(QStringLiteral("IRSStatement"))));
        Password(FieldText(rs.Field(QStringLiteral("Password"))));
        // A data file from before AssignEnv existed holds Null here: False.
        AssignEnv(rs.HasField(QStringLiteral("AssignEnv")) && FieldBool(rs.Field(QStringLiteral("AssignEnv"))));
    } else {
        // Password keeps whatever it held.
        ID(0);
        ChurchName({});
        Address1({});
        Address2({});
        City({});
        State({});
        ZipCode({});
        Phone({});
        UseCurrentDate(false);
        DayOfWeek(0);
        DefaultFund2(0);
        DefaultFund3(0);
        IRSStatement({});
        AssignEnv(true);
    }
    AssignEnvelopes = AssignEnv();
    m_changed = false;
}

void clsChurch::Update_Record_to_DB()
{
    if (!m_changed)
        return;
    DB().Execute(QStringLiteral("UPDATE Church SET ChurchName = ") + TextLiteral(ChurchName())
                 + QStringLiteral(", Address1 = ") + TextLiteral(Address1())
                 + QStringLiteral(", Address2 = ") + TextLiteral(Address2())
                 + QStringLiteral(", City = ") + TextLiteral(City())
                 + QStringLiteral(", State = ") + TextLiteral(State())
                 + QStringLiteral(", ZipCode = ") + TextLiteral(ZipCode())
                 + QStringLiteral(", Phone = ") + TextLiteral(Phone())
                 + QStringLiteral(", UseCurrentDate = ") + BoolLiteral(UseCurrentDate())
                 + QStringLiteral(", DayOfWeek = ") + QString::number(DayOfWeek())
                 + QStringLiteral(", DefaultFund2 = ") + QString::number(DefaultFund2())
                 + QStringLiteral(", DefaultFund3 = ") + QString::number(DefaultFund3())
                 + QStringLiteral(", IRSStatement = ") + TextLiteral(IRSStatement())
                 + QStringLiteral(", Password = ") + TextLiteral(Password())
                 + QStringLiteral(", AssignEnv = ") + BoolLiteral(AssignEnv())
                 + QStringLiteral(" WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbChurch, false, true, false, ID(), 0);
}
