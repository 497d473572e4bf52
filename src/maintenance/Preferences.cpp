#include "Preferences.h"

#include "storage/clsChurch.h"

namespace Preferences {

namespace {
clsChurch Read()
{
    clsChurch church;
    church.Get_One_Record(QStringLiteral("ID = 1"));
    return church;
}
} // namespace

Identity Load_Identity()
{
    const clsChurch c = Read();
    return {c.ChurchName(), c.Address1(), c.Address2(), c.City(), c.State(), c.ZipCode(), c.Phone()};
}

void Save_Identity(const Identity& identity)
{
    clsChurch c = Read();
    c.ChurchName(identity.name);
    c.Address1(identity.address1);
    c.Address2(identity.address2);
    c.City(identity.city);
    c.State(identity.state);
    c.ZipCode(identity.zipCode);
    c.Phone(identity.phone);
    c.Update_Record_to_DB();
}

Settings Load_Settings()
{
    const clsChurch c = Read();
    Settings s;
    s.useCurrentDate = c.UseCurrentDate();
    s.dayOfWeek = c.DayOfWeek();
    s.defaultFund2 = c.DefaultFund2();
    s.defaultFund3 = c.DefaultFund3();
    s.irsStatement = c.IRSStatement();
    s.assignEnv = c.AssignEnv();
    return s;
}

void Save_Settings(const Settings& s)
{
    clsChurch c = Read();
    c.UseCurrentDate(s.useCurrentDate);
    c.DayOfWeek(s.dayOfWeek);
    c.DefaultFund2(s.defaultFund2);
    c.DefaultFund3(s.defaultFund3);
    c.IRSStatement(s.irsStatement);
    c.AssignEnv(s.assignEnv);
    c.Update_Record_to_DB();
    // Whoever reads the church record next sees the new default; read it
    // now so that a contributor window opened straight after does too.
    Read();
}

int List_Position(const QList<FundQueries::Choice>& choices, int fundID)
{
    if (fundID == 0)
        return 0;
    for (int i = 0; i < choices.size(); ++i)
        if (choices.at(i).id == fundID)
            return i + 1;
    return -1;
}

int Fund_At(const QList<FundQueries::Choice>& choices, int position)
{
    if (position < 1 || position > choices.size())
        return 0;
    return choices.at(position - 1).id;
}

QString Statement_for_Box(const QString& stored)
{
    QString s = stored;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

} // namespace Preferences
