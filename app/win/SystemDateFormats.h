#pragma once
// SetSystemDateFormats: gives the current user's locale the short date "yyyy-MM-dd" and
// the time format "H:mm:ss" that the program's date texts follow, and tells the running
// windows that the settings changed. Raises EOSError when the locale cannot be written.

void SetSystemDateFormats();
