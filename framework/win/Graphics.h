#pragma once
// Colours and the drawing tools: TColor ($00BBGGRR, system colours as $80000000 + index),
// TPoint/TRect, and TFont, TPen, TBrush, which own their GDI handle, make it on first
// use and drop it when a property changes (OnChange tells the canvas using them). The
// default font is 宋体 at 9 points (height -12) with the GB2312 character set.

#include <cstdint>
#include <string>

#include "framework/base/Component.h"
#include "framework/base/Set.h"
#include "framework/rtl/Types.h"
#include "framework/win/Handles.h"

using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clCream = 0xF0FBFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | unsigned(index)); }
constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
                 clActiveCaption = SystemColor(COLOR_ACTIVECAPTION), clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION),
                 clMenu = SystemColor(COLOR_MENU), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowFrame = SystemColor(COLOR_WINDOWFRAME), clMenuText = SystemColor(COLOR_MENUTEXT),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT), clCaptionText = SystemColor(COLOR_CAPTIONTEXT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT), clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clBtnFace = SystemColor(COLOR_BTNFACE), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clGrayText = SystemColor(COLOR_GRAYTEXT), clBtnText = SystemColor(COLOR_BTNTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
                 cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT),
                 clInfoBk = SystemColor(COLOR_INFOBK);

COLORREF ColorToRGB(TColor color);   // resolves system colours; clNone gives black

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Common base of TFont, TPen and TBrush: a lazily made handle and a change event.
template <class H>
class TGraphicsObject : public TObject {
public:
    H Handle() {
        if (!FHandle) FHandle.Reset(CreateHandle());
        return FHandle.Get();
    }
    TNotifyEvent OnChange;

protected:
    virtual H CreateHandle() = 0;
    // OnChange first, so that a canvas deselects the old handle before it goes.
    void Changed() {
        if (OnChange) OnChange(this);
        FHandle.Reset();
    }

private:
    GdiObject<H> FHandle;
};

class TFont : public TGraphicsObject<HFONT> {
public:
    static constexpr int PixelsPerInch = 96;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { if (value != FName) { FName = value; Changed(); } }
    int Height() const { return FHeight; }
    void SetHeight(int value) { if (value != FHeight) { FHeight = value; Changed(); } }
    int Size() const;   // points, from Height
    void SetSize(int points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value) { if (value != FStyle) { FStyle = value; Changed(); } }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { if (value != FColor) { FColor = value; if (OnChange) OnChange(this); } }
    int Charset() const { return FCharset; }
    void SetCharset(int value) { if (value != FCharset) { FCharset = value; Changed(); } }
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value) { if (value != FPitch) { FPitch = value; Changed(); } }
    void Assign(const TFont& source);
    LOGFONTW LogFont() const;

protected:
    HFONT CreateHandle() override;

private:
    std::string FName = "宋体";
    int FHeight = -12;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    int FCharset = GB2312_CHARSET;
    TFontPitch FPitch = fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject<HPEN> {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { if (value != FColor) { FColor = value; Changed(); } }
    int Width() const { return FWidth; }
    void SetWidth(int value) { if (value != FWidth) { FWidth = value; Changed(); } }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value) { if (value != FStyle) { FStyle = value; Changed(); } }
    void Assign(const TPen& source);

protected:
    HPEN CreateHandle() override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject<HBRUSH> {
public:
    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid, even when the colour stays the same.
    void SetColor(TColor value) { if (value != FColor || FStyle == bsClear) { FColor = value; if (FStyle == bsClear) FStyle = bsSolid; Changed(); } }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value) { if (value != FStyle) { FStyle = value; Changed(); } }
    void Assign(const TBrush& source);

protected:
    HBRUSH CreateHandle() override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};
