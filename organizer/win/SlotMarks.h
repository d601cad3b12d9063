#pragma once
// Marking a note or countdown slot shown or free from its manager's list.
#include <string>

#include "framework/db/ADOQuery.h"

// Writes qyzt "1" (shown) or "0" (free) for the list's current row of `table` by its iid.
void MarkCurrentRowShown(TADOQuery& list, const std::string& table, bool shown);
