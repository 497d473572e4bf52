#include "MaintenanceWindows.h"

void RegisterFundWindows()
{
}
