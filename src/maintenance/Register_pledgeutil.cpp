#include "MaintenanceWindows.h"

void RegisterPledgeUtilWindow()
{
}
