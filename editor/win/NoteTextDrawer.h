#pragma once
// The editor's text drawer: text on a fixed cell grid (every GBK byte one cell, so a
// double-byte character two), drawn with the W text calls so that the host's ANSI code page
// plays no part. Font handles and metrics are cached per font description in one process-
// wide cache shared by all editors; each drawer reaches it through its own font stock.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/win/Graphics.h"

class EFontStockException : public Exception {
public:
    using Exception::Exception;
};
class ETextDrawerException : public Exception {
public:
    using Exception::Exception;
};

// One style entry of a font record: its handle (made on first use) and metrics.
struct TFontStyleEntry {
    std::uint8_t Style = 0;
    HFONT Handle = nullptr;
    int Advance = 0;
    int WideAdvance = 0;
    int Height = 0;
};

struct TFontInfo {
    int RefCount = 0;
    int LockCount = 0;
    TFont Font;
    LOGFONTW BaseFont{};
    bool IsDBCSFont = false;
    bool IsTrueType = false;
    TFontStyleEntry Styles[16];
};

class TFontsInfoManager {
public:
    ~TFontsInfoManager();
    TFontInfo* AcquireFontInfo(TFont* font);
    void ReleaseFontInfo(TFontInfo* info);
    void LockHandles(TFontInfo* info);
    void UnlockHandles(TFontInfo* info);
    int Count() const { return static_cast<int>(FList.size()); }
    // Raises the assertion failure when a record is still shared (run at program end).
    void CheckAtProgramEnd() const;

private:
    std::vector<std::unique_ptr<TFontInfo>> FList;
};
TFontsInfoManager& GetFontsInfoManager();
// The cache key of a font: its LOGFONT without italic, underline and strike-out, the face
// name's bytes behind its NUL zeroed.
LOGFONTW NoteFontKey(TFont& font);

class TFontStock {
public:
    explicit TFontStock(TFont* font);
    TFontStock(const TFontStock&) = delete;
    TFontStock& operator=(const TFontStock&) = delete;
    virtual ~TFontStock();

    virtual HDC AcquireDC();
    virtual void ReleaseDCRef(HDC dc);
    virtual HFONT MakeStyleFont(std::uint8_t style);
    virtual void MeasureFont(HDC dc, int& advance, int& height, int& wideAdvance);
    int Advance() const { return FEntry ? FEntry->Advance : 0; }
    int Height() const { return FEntry ? FEntry->Height : 0; }
    int WideAdvance() const { return FEntry ? FEntry->WideAdvance : 0; }
    TFontStyleEntry* StyleEntry(std::uint8_t style) { return FInfo ? &FInfo->Styles[style] : nullptr; }
    void SetBaseFont(TFont* font);
    void SelectStyle(std::uint8_t style);
    void FreeFontHandles();
    HFONT FontHandle() const { return FHandle; }
    TFontInfo* Info() const { return FInfo; }
    bool UsingHandles() const { return FUsingHandles; }

private:
    HDC FDC = nullptr;
    int FDCRefCount = 0;
    TFontInfo* FInfo = nullptr;
    bool FUsingHandles = false;
    HFONT FHandle = nullptr;
    std::uint8_t FStyle = 0;
    TFontStyleEntry* FEntry = nullptr;
    LOGFONTW FBaseLF{};
};

class TTextDrawer {
public:
    TTextDrawer(std::uint8_t measuringStyle, TFont* baseFont);
    TTextDrawer(const TTextDrawer&) = delete;
    TTextDrawer& operator=(const TTextDrawer&) = delete;
    virtual ~TTextDrawer();

    int CellWidth() const { return FBaseCharWidth + FCharExtra; }
    int CellHeight() const { return FBaseCharHeight; }
    void BeginDraw(HDC dc);
    void EndDraw();
    bool Drawing() const { return FDrawingCount > 0; }
    // TextOutW of GBK bytes.
    void PlainTextOut(int x, int y, std::string_view text);
    // ExtTextOutW of GBK bytes with one cell per byte (two per double-byte character).
    void CellTextOut(int x, int y, UINT options, const RECT& rect, std::string_view text);
    void SetBaseFont(TFont* font);
    void SetMeasuringStyle(std::uint8_t style);
    void SelectStyle(std::uint8_t style);
    void SetTextColour(TColor value);
    void SetBackColour(TColor value);
    void SetCharExtra(int value);
    void FreeTemporaries() { FStock.FreeFontHandles(); }
    int CellWidthCount() const { return static_cast<int>(FCellWidths.size()); }
    TFontStock& Stock() { return FStock; }

private:
    void FreeCellWidths() { FCellWidths.clear(); }
    void SelectCurrentFont();
    void ApplyCharExtra();

    HDC FDC = nullptr;
    int FSavedDC = 0;
    TFontStock FStock;
    std::uint8_t FMeasuringStyle;
    int FBaseCharWidth = 0, FBaseCharHeight = 0;
    HFONT FCurrentFont = nullptr;
    std::uint8_t FCurrentStyle = 0;
    std::vector<int> FCellWidths;
    TColor FTextColour = clWindowText, FBackColour = clWindow;
    int FCharExtra = 0;
    int FDrawingCount = 0;
    std::u16string FUnits;
    std::vector<int> FAdvances;
};
