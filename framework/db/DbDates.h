#pragma once
// How the data file stores a date-time: ISO text that sorts chronologically,
// "yyyy-mm-dd" for a whole day, "yyyy-mm-dd hh:nn:ss" with a time and
// "yyyy-mm-dd hh:nn:ss.zzz" when milliseconds are set. The same text lands in a text
// column, so a whole date written there reads "yyyy-mm-dd".

#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

std::string DateToStorage(TDateTime value);
// Reads the stored form back; false when the text is not in it.
bool TryStorageToDate(std::string_view text, TDateTime& value);
