#include "editor/win/NoteTextDrawer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditMiscProcs.h"

namespace {
void DrawerAssert(bool condition, const char* what = nullptr) {
    if (condition) return;
    throw EAssertionFailed(what ? std::string("Assertion failed (NoteTextDrawer): ") + what
                                : std::string("Assertion failed (NoteTextDrawer)"));
}

std::uint8_t StyleBits(const TFont& font) {
    std::uint8_t s = 0;
    if (font.Style().Contains(fsBold)) s |= 1;
    if (font.Style().Contains(fsItalic)) s |= 2;
    if (font.Style().Contains(fsUnderline)) s |= 4;
    if (font.Style().Contains(fsStrikeOut)) s |= 8;
    return s;
}
}  // namespace

LOGFONTW NoteFontKey(TFont& font) {
    LOGFONTW lf{};
    if (!GetObjectW(font.Handle(), sizeof lf, &lf)) lf = font.LogFont();
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 0;
    const size_t len = wcsnlen(lf.lfFaceName, LF_FACESIZE);
    for (size_t i = len; i < LF_FACESIZE; ++i) lf.lfFaceName[i] = 0;
    return lf;
}

//--- Cache

// Never destroyed: editors owned by the application object may still release their fonts
// after the statics of this file are gone.
// The cache outlives every drawer (it is never destroyed); at program end it checks that no
// record is still shared, which would mean editors were never freed.
TFontsInfoManager& GetFontsInfoManager() {
    static TFontsInfoManager* const manager = [] {
        std::atexit([] {
            try {
                GetFontsInfoManager().CheckAtProgramEnd();
            } catch (...) {
                OutputDebugStringW(L"Assertion failed (NoteTextDrawer): font records still shared at program end\n");
            }
        });
        return new TFontsInfoManager;
    }();
    return *manager;
}

void TFontsInfoManager::CheckAtProgramEnd() const {
    for (const auto& info : FList) DrawerAssert(info->RefCount <= 1);
}

TFontsInfoManager::~TFontsInfoManager() {
    for (auto& info : FList)
        for (auto& entry : info->Styles)
            if (entry.Handle) DeleteObject(entry.Handle);
}

TFontInfo* TFontsInfoManager::AcquireFontInfo(TFont* font) {
    DrawerAssert(font != nullptr);
    const LOGFONTW key = NoteFontKey(*font);
    for (auto& info : FList)
        if (std::memcmp(&info->BaseFont, &key, sizeof key) == 0) {
            ++info->RefCount;
            return info.get();
        }
    auto info = std::make_unique<TFontInfo>();
    info->Font.Assign(*font);
    info->BaseFont = key;
    for (int i = 0; i < 16; ++i) info->Styles[i].Style = static_cast<std::uint8_t>(i);
    info->IsTrueType = (key.lfPitchAndFamily & 4) != 0;
    HDC dc = GetDC(nullptr);
    HFONT f = CreateFontIndirectW(&key);
    HGDIOBJ old = SelectObject(dc, f);
    info->IsDBCSFont = (GetFontLanguageInfo(dc) & GCP_DBCS) != 0;
    SelectObject(dc, old);
    DeleteObject(f);
    ReleaseDC(nullptr, dc);
    info->RefCount = 1;
    FList.push_back(std::move(info));
    return FList.back().get();
}

void TFontsInfoManager::ReleaseFontInfo(TFontInfo* info) {
    if (!info) return;
    if (info->RefCount < 2) {
        for (auto& entry : info->Styles)
            if (entry.Handle) DeleteObject(entry.Handle);
        FList.erase(std::remove_if(FList.begin(), FList.end(), [&](auto& p) { return p.get() == info; }), FList.end());
    } else {
        --info->RefCount;
    }
}

void TFontsInfoManager::LockHandles(TFontInfo* info) { ++info->LockCount; }

void TFontsInfoManager::UnlockHandles(TFontInfo* info) {
    if (--info->LockCount > 0) return;
    for (auto& entry : info->Styles)
        if (entry.Handle) {
            DeleteObject(entry.Handle);
            entry.Handle = nullptr;
        }
}

//--- Font stock

TFontStock::TFontStock(TFont* font) { SetBaseFont(font); }

TFontStock::~TFontStock() {
    if (FDCRefCount > 0) {
        // An AcquireDC without its ReleaseDCRef: the DC goes back, the fault is reported.
        ReleaseDC(nullptr, FDC);
        try {
            DrawerAssert(false, "a DC is still held when the font stock is freed");
        } catch (...) {
            NoteHandleException();
        }
    }
    if (FInfo) {
        if (FUsingHandles) GetFontsInfoManager().UnlockHandles(FInfo);
        GetFontsInfoManager().ReleaseFontInfo(FInfo);
    }
}

HDC TFontStock::AcquireDC() {
    if (FDCRefCount++ == 0) FDC = GetDC(nullptr);
    return FDC;
}

void TFontStock::ReleaseDCRef(HDC dc) {
    DrawerAssert(dc == FDC && FDCRefCount > 0);
    if (--FDCRefCount == 0) {
        ReleaseDC(nullptr, FDC);
        FDC = nullptr;
    }
}

HFONT TFontStock::MakeStyleFont(std::uint8_t style) {
    LOGFONTW lf = FBaseLF;
    lf.lfWeight = style & 1 ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & 2) != 0;
    lf.lfUnderline = (style & 4) != 0;
    lf.lfStrikeOut = (style & 8) != 0;
    return CreateFontIndirectW(&lf);
}

void TFontStock::MeasureFont(HDC dc, int& advance, int& height, int& wideAdvance) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    ABC abc{};
    const bool haveM = GetCharABCWidthsW(dc, L'M', L'M', &abc);
    advance = haveM ? abc.abcA + static_cast<int>(abc.abcB) + abc.abcC + tm.tmOverhang : tm.tmAveCharWidth;
    height = std::abs(tm.tmHeight);
    wideAdvance = INT_MAX;
    if (haveM && FInfo && FInfo->IsDBCSFont && tm.tmCharSet == SHIFTJIS_CHARSET) {
        ABC a1{}, a2{};
        if (GetCharABCWidthsA(dc, 0x8201, 0x8201, &a1) && GetCharABCWidthsA(dc, 0x82A0, 0x82A0, &a2)) {
            const int w1 = a1.abcA + static_cast<int>(a1.abcB) + a1.abcC;
            const int w2 = a2.abcA + static_cast<int>(a2.abcB) + a2.abcC;
            if (w1 > advance * 3 / 2 && w1 == w2) wideAdvance = w1;
        }
    }
}

void TFontStock::SetBaseFont(TFont* font) {
    if (!font) throw EFontStockException("SetBaseFont: 'Value' must be specified.");
    TFontInfo* info = GetFontsInfoManager().AcquireFontInfo(font);
    if (info == FInfo) {
        GetFontsInfoManager().ReleaseFontInfo(info);
        return;
    }
    if (FInfo) {
        if (FUsingHandles) GetFontsInfoManager().UnlockHandles(FInfo);
        FUsingHandles = false;
        GetFontsInfoManager().ReleaseFontInfo(FInfo);
    }
    FInfo = info;
    FBaseLF = info->BaseFont;
    FEntry = nullptr;
    FHandle = nullptr;
    SelectStyle(StyleBits(*font));
}

void TFontStock::SelectStyle(std::uint8_t style) {
    DrawerAssert(style <= 15 && FInfo);
    if (!FUsingHandles) {
        GetFontsInfoManager().LockHandles(FInfo);
        FUsingHandles = true;
    }
    TFontStyleEntry* entry = &FInfo->Styles[style];
    if (entry == FEntry && entry->Handle) {
        FHandle = entry->Handle;  // kept by another stock while this one held no lock
        return;
    }
    FEntry = entry;
    FStyle = style;
    if (!entry->Handle) {
        entry->Handle = MakeStyleFont(style);
        HDC dc = AcquireDC();
        HGDIOBJ old = SelectObject(dc, entry->Handle);
        MeasureFont(dc, entry->Advance, entry->Height, entry->WideAdvance);
        SelectObject(dc, old);
        ReleaseDCRef(dc);
    }
    FHandle = entry->Handle;
}

void TFontStock::FreeFontHandles() {
    if (!FUsingHandles) return;
    GetFontsInfoManager().UnlockHandles(FInfo);
    FUsingHandles = false;
    FHandle = nullptr;
}

//--- Drawer

TTextDrawer::TTextDrawer(std::uint8_t measuringStyle, TFont* baseFont) : FStock(baseFont), FMeasuringStyle(measuringStyle) {
    SetBaseFont(baseFont);
}

TTextDrawer::~TTextDrawer() = default;

void TTextDrawer::SetBaseFont(TFont* font) {
    if (!font) throw ETextDrawerException("SetBaseFont: 'Value' must be specified.");
    FreeCellWidths();
    FStock.SetBaseFont(font);
    FStock.SelectStyle(FMeasuringStyle);
    FBaseCharWidth = FStock.Advance();
    FBaseCharHeight = FStock.Height();
    SelectStyle(StyleBits(*font));
}

void TTextDrawer::SetMeasuringStyle(std::uint8_t style) {
    if (style == FMeasuringStyle) return;
    FMeasuringStyle = style;
    FreeCellWidths();
    FStock.SelectStyle(style);
    FBaseCharWidth = FStock.Advance();
    FBaseCharHeight = FStock.Height();
}

void TTextDrawer::SelectStyle(std::uint8_t style) {
    FCurrentStyle = style;
    FStock.SelectStyle(style);
    FCurrentFont = FStock.FontHandle();
    if (FDC) SelectCurrentFont();
}

void TTextDrawer::SelectCurrentFont() {
    if (FCurrentFont) SelectObject(FDC, FCurrentFont);
}

void TTextDrawer::ApplyCharExtra() { SetTextCharacterExtra(FDC, FCharExtra); }

void TTextDrawer::BeginDraw(HDC dc) {
    if (dc != FDC) {
        DrawerAssert(!FDC && dc && FDrawingCount == 0);
        FDC = dc;
        FSavedDC = SaveDC(dc);
        if (!FStock.UsingHandles()) SelectStyle(FCurrentStyle);
        SelectCurrentFont();
        ::SetTextColor(dc, ColorToRGB(FTextColour));
        ::SetBkColor(dc, ColorToRGB(FBackColour));
        ApplyCharExtra();
    } else {
        DrawerAssert(dc != nullptr);
    }
    ++FDrawingCount;
}

void TTextDrawer::EndDraw() {
    DrawerAssert(FDrawingCount > 0);
    if (--FDrawingCount > 0) return;
    if (FDC) RestoreDC(FDC, FSavedDC);
    FDC = nullptr;
    FSavedDC = 0;
}

void TTextDrawer::SetTextColour(TColor value) {
    if (value == FTextColour) return;
    FTextColour = value;
    if (FDC) ::SetTextColor(FDC, ColorToRGB(value));
}

void TTextDrawer::SetBackColour(TColor value) {
    if (value == FBackColour) return;
    FBackColour = value;
    if (FDC) ::SetBkColor(FDC, ColorToRGB(value));
}

void TTextDrawer::SetCharExtra(int value) {
    if (value == FCharExtra) return;
    FCharExtra = value;
    FreeCellWidths();  // the cached widths hold the old spacing
    if (FDC) ApplyCharExtra();
}

void TTextDrawer::PlainTextOut(int x, int y, std::string_view text) {
    std::vector<int> advances;
    NoteGbkToCells(text, CellWidth(), FUnits, advances);
    TextOutW(FDC, x, y, reinterpret_cast<const wchar_t*>(FUnits.c_str()), static_cast<int>(FUnits.size()));
}

void TTextDrawer::CellTextOut(int x, int y, UINT options, const RECT& rect, std::string_view text) {
    const int count = static_cast<int>(text.size());
    if (static_cast<int>(FCellWidths.size()) < count)
        FCellWidths.resize(count / 64 * 64 + 64, CellWidth());
    NoteGbkToCells(text, 1, FUnits, FAdvances);
    // Each unit's advance is the sum of the cells of its bytes.
    int byte = 0;
    for (int& a : FAdvances) {
        const int n = a;
        a = 0;
        for (int k = 0; k < n && byte < count; ++k) a += FCellWidths[byte++];
    }
    ExtTextOutW(FDC, x, y, options, &rect, reinterpret_cast<const wchar_t*>(FUnits.c_str()),
                static_cast<UINT>(FUnits.size()), FAdvances.data());
}
