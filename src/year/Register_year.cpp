#include "Register_year.h"

#include "frmActive.h"
#include "frmAssign.h"
#include "frmRestore.h"
#include "frmRptNumbers.h"
#include "frmYear.h"
#include "widgets/Windows.h"

void RegisterYearWindows()
{
    Windows::Register(QStringLiteral("frmYear"), [] { return new frmYear; });
    Windows::Register(QStringLiteral("frmAssign"), [] { return new frmAssign; });
    Windows::Register(QStringLiteral("frmActive"), [] { return new frmActive; });
    Windows::Register(QStringLiteral("frmRestore"), [] { return new frmRestore; });
    Windows::Register(QStringLiteral("frmRptNumbers"), [] { return new frmRptNumbers; });
}
