#include "clsFunds.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "clsOffering.h"
#include "core/modDBConnection.h"
#include "modDBKeys.h"
#include "core/Messages.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

using namespace modDBConnection;
using namespace modGlobal;

clsFunds::clsFunds()
{
    MakeTableReady();
}

void clsFunds::MakeTableReady()
{
    if (TableReady[tiFunds])
        return;
    Schema::CreateTable(tiFunds);
    Recordset rs(QStringLiteral("SELECT * FROM Funds WHERE ID = 1;"), DB());
    if (rs.Eof()) {
        DB().Execute(QStringLiteral("INSERT INTO Funds (ID, FundName, IsPledgeable, IsTaxDeductible, IsInactive) "
                                    "VALUES (1, 'Operating Fund', TRUE, TRUE, FALSE);"));
        Notify(dbFunds, true, false, false, 1, 0);
    }
    TableReady[tiFunds] = true;
}

void clsFunds::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = ") + QString::number(ID()) : where;
    Recordset rs(QStringLiteral("SELECT * FROM Funds WHERE ") + w + QLatin1Char(';'), DB(), Recordset::Cursor::ForwardOnly);
    if (!rs.Eof()) {
        ID(FieldLong(rs.Field(QStringLiteral("ID"))));
        FundName(FieldText(rs.Field(QStringLiteral("FundName"))));
        IsPledgeable(FieldBool(rs.Field(QStringLiteral("IsPledgeable"))));
        IsTaxDeductible(FieldBool(rs.Field(QStringLiteral("IsTaxDeductible"))));
        IsInactive(FieldBool(rs.Field(QStringLiteral("IsInactive"))));
    } else {
        // A new fund starts tax-deductible.
        ID(0);
        FundName({});
        IsPledgeable(false);
        IsTaxDeductible(true);
        IsInactive(false);
    }
    m_changed = false;
}

bool clsFunds::OK_to_Add(bool showMessages)
{
    const QString name = RTrimBlanks(FundName());
    Recordset rs(QStringLiteral("SELECT * FROM Funds WHERE FundName = ") + TextLiteral(name) + QLatin1Char(';'), DB());
    if (rs.RecordCount() > 0) {
        if (showMessages)
            Messages::Show(QStringLiteral("A fund named ") + name + QStringLiteral(" has already been created."),
                           QStringLiteral("Duplicate Fund"), Messages::Icon::Information);
        return false;
    }
    return true;
}

bool clsFunds::OK_to_Delete(bool showMessages)
{
    if (clsOffering().Fund_Used(ID())) {
        if (showMessages)
            Messages::Show(QStringLiteral("Offering has been collected for this Fund, so it cannot be deleted."),
                           QStringLiteral("Delete"), Messages::Icon::Information);
        return false;
    }
    if (Find_Open_Window(1, ID(), false)) {
        if (showMessages)
            Messages::Show(QStringLiteral("This Fund is currently being edited, so it cannot be deleted."),
                           QStringLiteral("Delete"), Messages::Icon::Information);
        return false;
    }
    return true;
}

void clsFunds::Add_Record_to_DB()
{
    ID(modDBKeys::NextKey(QStringLiteral("Funds")));
    DB().Execute(QStringLiteral("INSERT INTO FUNDS (ID, FundName, IsPledgeable, IsTaxDeductible, IsInactive) VALUES (")
                 + QString::number(ID()) + QStringLiteral(", ") + TextLiteral(FundName()) + QStringLiteral(", ")
                 + BoolLiteral(IsPledgeable()) + QStringLiteral(", ") + BoolLiteral(IsTaxDeductible())
                 + QStringLiteral(", ") + BoolLiteral(IsInactive()) + QStringLiteral(");"));
    Notify(dbFunds, true, false, false, ID(), 0);
}

void clsFunds::Update_Record_to_DB()
{
    if (!m_changed)
        return;
    DB().Execute(QStringLiteral("UPDATE FUNDS SET FundName = ") + TextLiteral(FundName())
                 + QStringLiteral(", IsPledgeable = ") + BoolLiteral(IsPledgeable())
                 + QStringLiteral(", IsTaxDeductible = ") + BoolLiteral(IsTaxDeductible())
                 + QStringLiteral(", IsInactive = ") + BoolLiteral(IsInactive())
                 + QStringLiteral(" WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbFunds, false, true, false, ID(), 0);
}

void clsFunds::Delete_Record_from_DB()
{
    DB().Execute(QStringLiteral("DELETE FROM Funds WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbFunds, false, false, true, ID(), 0);
}

namespace modGlobal {
QString Fund_Display_Name(int fundID)
{
    clsFunds fund;
    if (fundID >= 0) {
        fund.Get_One_Record(QStringLiteral("ID = ") + QString::number(fundID));
        return fund.FundName();
    }
    fund.Get_One_Record(QStringLiteral("ID = 1"));
    return QString::number(-fundID) + QLatin1Char(' ') + fund.FundName();
}
} // namespace modGlobal
