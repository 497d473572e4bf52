#include "MaintenanceWindows.h"

void RegisterContributorWindows()
{
}
