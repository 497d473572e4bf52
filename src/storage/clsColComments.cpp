#include "clsColComments.h"

#include "core/Connection.h"
#include "core/Recordset.h"
#include "Schema.h"
#include "core/modDBConnection.h"
#include "modDBKeys.h"
#include "core/clsDBEvent.h"
#include "core/modGlobal.h"

using namespace modDBConnection;
using namespace modGlobal;

clsColComments::clsColComments()
{
    Schema::MakeReady(tiColComment);
}

void clsColComments::Get_One_Record(const QString& where)
{
    const QString w = where.isEmpty() ? QStringLiteral("ID = ") + QString::number(ID()) : where;
    Recordset rs(QStringLiteral("SELECT * FROM ColComment WHERE ") + w + QLatin1Char(';'), DB(),
                 Recordset::Cursor::ForwardOnly);
    const bool found = !rs.Eof();
    auto field = [&](const char* name) { return found ? rs.Field(QLatin1String(name)) : QVariant(); };
    ID(FieldLong(field("ID")));
    ContributorID(FieldLong(field("ContributorID")));
    CollectionID(FieldLong(field("CollectionID")));
    Comment(FieldText(field("Comment")));
    m_changed = false;
}

void clsColComments::Add_Record_to_DB()
{
    ID(modDBKeys::NextKey(QStringLiteral("ColComment")));
    DB().Execute(QStringLiteral("INSERT INTO ColComment (ID, ContributorID, CollectionID, Comment) VALUES (")
                 + QString::number(ID()) + QStringLiteral(", ") + QString::number(ContributorID()) + QStringLiteral(", ")
                 + QString::number(CollectionID()) + QStringLiteral(", ") + TextLiteral(Comment()) + QStringLiteral(");"));
    Notify(dbColComment, true, false, false, ID(), ContributorID());
}

void clsColComments::Update_Record_to_DB()
{
    if (!m_changed)
        return;
    DB().Execute(QStringLiteral("UPDATE ColComment SET ContributorID = ") + QString::number(ContributorID())
                 + QStringLiteral(", CollectionID = ") + QString::number(CollectionID())
                 + QStringLiteral(", Comment = ") + TextLiteral(Comment())
                 + QStringLiteral(" WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbColComment, false, true, false, ID(), ContributorID());
}

void clsColComments::Delete_Record_from_DB()
{
    DB().Execute(QStringLiteral("DELETE FROM ColComment WHERE ID = ") + QString::number(ID()) + QLatin1Char(';'));
    Notify(dbColComment, false, false, true, ID(), ContributorID());
}
