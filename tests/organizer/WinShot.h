#pragma once
// Saves a shown form as it appears on the screen (a GDI read-back inside Wine) to
// $VORPEN_SHOT_DIR/<name>.bmp; does nothing when that variable is not set.
#include <cstdlib>
#include <string>

#include "framework/win/Bitmap.h"
#include "framework/win/Forms.h"
#include "tests/framework/WinTestUtil.h"

inline void SaveShot(TForm& form, const std::string& name) {
  const char* dir = std::getenv("VORPEN_SHOT_DIR");
  if (!dir || !*dir) return;
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  PumpUntil([] { return false; }, 1500);
  TBitmap shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  shot.SaveToFile(std::string(dir) + "\\" + name + ".bmp");
}
