#pragma once
// Saves a shown form as the screen shows it (read back through GDI inside Wine) to
// $VORPEN_SHOT_DIR/<name>.bmp (a Windows path); does nothing when that is not set.
#include <cstdlib>
#include <string>

#include "framework/win/Bitmap.h"
#include "framework/win/Forms.h"
#include "tests/framework/WinTestUtil.h"

inline void SaveShot(TForm& form, const std::string& name) {
  const char* dir = std::getenv("VORPEN_SHOT_DIR");
  if (!dir || !*dir) return;
  PumpUntil([] { return false; }, 1500);   // the first paint under Wine
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(std::string(dir) + "\\" + name + ".bmp");
}
