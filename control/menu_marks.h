#pragma once
// The check marks of the context menu, derived from the settings each time it opens.
#include <vector>

#include "settings/app_settings.h"

// The command ids to check, in menu order.
std::vector<int> checkedMenuItems(const AppSettings& s);
