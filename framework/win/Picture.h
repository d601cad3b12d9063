#pragma once
// TPicture: one image of any kind the forms show: an icon (.ico or an icon resource), a
// BMP (as a TBitmap) or a PNG or other GDI+ format (drawn with its alpha channel; GDI+
// must have been started). Draw paints it into a rectangle of a DC, stretched or not.

#include <memory>
#include <string_view>

#include "framework/win/Bitmap.h"
#include "framework/win/GdiPlus.h"
#include "framework/win/Icon.h"

class TPicture : public TObject {
public:
    // Picks the kind by extension; raises EInvalidGraphic when the file cannot be read.
    void LoadFromFile(std::string_view fileName);
    TIcon& Icon();       // makes the picture an (empty) icon when it is something else
    TBitmap& Bitmap();   // likewise a bitmap
    void Clear();

    bool Empty() const;
    int Width() const;
    int Height() const;
    // Draws at dest's top-left at its own size, or fitted to dest when stretch is set.
    void Draw(HDC dc, const TRect& dest, bool stretch);

    // Fires OnChange; LoadFromFile calls it, a caller that loads through Icon() or
    // Bitmap() calls it afterwards.
    void Changed() { if (OnChange) OnChange(this); }
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TIcon> FIcon;
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TGpImage> FImage;
};
