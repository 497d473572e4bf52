#include "clsContributors.h"

#include "core/Connection.h"
#include "ContributorEmail.h"
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

clsContributors::clsContributors()
{
    Schema::MakeReady(tiContributors);
}

void clsContributors::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = ") + QString::number(ID()) : where;
    Recordset rs(QStringLiteral("SELECT * FROM Contributors WHERE ") + w + QLatin1Char(';'), DB(),
                 Recordset::Cursor::ForwardOnly);
    if (!rs.Eof()) {
        ID(FieldLong(rs.Field(QStringLiteral("ID"))));
        LastName(FieldText(rs.Field(QStringLiteral("LastName"))));
        FirstNames(FieldText(rs.Field(QStringLiteral("FirstNames"))));
        Address1(FieldText(rs.Field(QStringLiteral("Address1"))));
        Address2(FieldText(rs.Field(QStringLiteral("Address2"))));
        City(FieldText(rs.Field(QStringLiteral("City"))));
        State(FieldText(rs.Field(QStringLiteral("State"))));
        ZipCode(FieldText(rs.Field(QStringLiteral("ZipCode"))));
        Phone(FieldText(rs.Field(QStringLiteral("Phone"))));
        IsInactive(FieldBool(rs.Field(QStringLiteral("IsInactive"))));
        UseEnvelopes(FieldBool(rs.Field(QStringLiteral("UseEnvelopes"))));
    } else {
        // A new contributor starts with the church's envelope default.
        ID(0);
        LastName({});
        FirstNames({});
        Address1({});
        Address2({});
        City({});
        State({});
        ZipCode({});
        Phone({});
        IsInactive(false);
        UseEnvelopes(AssignEnvelopes);
    }
    m_changed = false;
}

int clsContributors::Next_ID()
{
    return modDBKeys::NextKey(QStringLiteral("Contributors"));
}

void clsContributors::Save_to_DB()
{
    if (!m_changed)
        return;
    if (ID() == 0)
        ID(Next_ID());
    Recordset rs(QStringLiteral("SELECT ID FROM Contributors WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'), DB());
    const bool added = rs.Eof();
    const QString values[] = {TextLiteral(LastName()), TextLiteral(FirstNames()), TextLiteral(Address1()),
                              TextLiteral(Address2()), TextLiteral(City()),      TextLiteral(State()),
                              TextLiteral(ZipCode()),  TextLiteral(Phone()),     BoolLiteral(IsInactive()),
                              BoolLiteral(UseEnvelopes())};
    static const char* columns[] = {"LastName", "FirstNames", "Address1", "Address2", "City",
                                    "State",    "ZipCode",    "Phone",    "IsInactive", "UseEnvelopes"};
    QString sql;
    if (added) {
        sql = QStringLiteral("INSERT INTO Contributors (ID");
        for (const char* c : columns)
            sql += QStringLiteral(", ") + QLatin1String(c);
        sql += QStringLiteral(") VALUES (") + QString::number(ID());
        for (const QString& v : values)
            sql += QStringLiteral(", ") + v;
        sql += QStringLiteral(");");
    } else {
        QStringList sets;
        for (int i = 0; i < 10; ++i)
            sets << QLatin1String(columns[i]) + QStringLiteral(" = ") + values[i];
        sql = QStringLiteral("UPDATE Contributors SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ID = ")
            + QString::number(ID()) + QLatin1Char(';');
    }
    DB().Execute(sql);
    Notify(dbContributors, added, !added, false, ID(), 0);
}

void clsContributors::Delete_Record_from_DB()
{
    // The contributor, its pledges and its e-mail address go together or
    // not at all.
    ContributorEmail::Make_Ready();
    Connection::Transaction tx(DB());
    DB().Execute(QStringLiteral("DELETE FROM Contributors WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    DB().Execute(QStringLiteral("DELETE FROM Pledges WHERE ContributorID = ") + QString::number(ID()) + QLatin1Char(';'));
    ContributorEmail::Remove(ID());
    tx.Commit();
    Notify(dbContributors, false, false, true, ID(), 0);
}

bool clsContributors::OK_to_Delete(bool showMessages)
{
    if (clsOffering().Contributor_Used(ID())) {
        if (showMessages)
            Messages::Show(QStringLiteral("Offering has been collected for this Contributor, so it cannot be deleted."),
                           QStringLiteral("Delete"), Messages::Icon::Information);
        return false;
    }
    if (Find_Open_Window(2, ID(), false)) {
        if (showMessages)
            Messages::Show(QStringLiteral("This Contributor is currently being edited, so it cannot be deleted."),
                           QStringLiteral("Delete"), Messages::Icon::Information);
        return false;
    }
    return true;
}

QString clsContributors::FullName(bool lastNameFirst) const
{
    return NameJoin(LastName(), FirstNames(), lastNameFirst);
}

QString clsContributors::FullAddress(bool multiLine) const
{
    return AddressJoin(Address1(), Address2(), City(), State(), ZipCode(), multiLine);
}
