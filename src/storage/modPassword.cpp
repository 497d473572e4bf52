#include "modPassword.h"

#include "storage/clsChurch.h"

namespace modPassword {

QString Normalise(const QString& typed)
{
    return typed.trimmed().toUpper();
}

bool PasswordIsSet()
{
    clsChurch church;
    church.Get_One_Record(QString());
    return !church.Password().isEmpty();
}

bool Password_Matches(const QString& typed)
{
    clsChurch church;
    church.Get_One_Record(QString());
    return Normalise(typed) == Normalise(church.Password());
}

void Store_Password(const QString& typed)
{
    clsChurch church;
    church.Get_One_Record(QString());
    church.Password(Normalise(typed));
    church.Update_Record_to_DB();
}

} // namespace modPassword
