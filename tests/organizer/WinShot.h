#pragma once
// Saves what the screen shows (read back through GDI inside Wine) as a 24-bit picture:
// a 32-bit one would carry the screen's zero alpha and look empty in most viewers.
// SaveShot saves a shown form to $VORPEN_SHOT_DIR/<name>.bmp (a Windows path) and does
// nothing when that is not set.
#include <cstdlib>
#include <string>

#include "framework/win/Bitmap.h"
#include "framework/win/Forms.h"
#include "tests/framework/WinTestUtil.h"

inline void GrabScreen(const RECT& r, TBitmap& shot) {
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  shot.SetPixelFormat(pf24bit);
}

inline void SaveScreenArea(const RECT& r, const std::string& file) {
  TBitmap shot;
  GrabScreen(r, shot);
  shot.SaveToFile(file);
}

// Paints the window and its children now, then lets Wine put the picture on the screen.
inline void SettlePaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpUntil([] { return false; }, 1500);
}

inline void SaveShot(HWND window, const std::string& dir, const std::string& file) {
  SettlePaint(window);
  RECT r{};
  GetWindowRect(window, &r);
  SaveScreenArea(r, dir + "\\" + file + ".bmp");
}

inline void SaveShot(TForm& form, const std::string& name) {
  const char* dir = std::getenv("VORPEN_SHOT_DIR");
  if (!dir || !*dir) return;
  SaveShot(form.Handle(), dir, name);
}
