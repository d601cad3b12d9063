#include "editor/core/NoteEditMiscClasses.h"

#include <algorithm>

void TNoteSelectedColor::Assign(const TNoteSelectedColor& source) {
    FBackground = source.FBackground;
    FForeground = source.FForeground;
    Changed();
}

TNoteGutter::TNoteGutter() {
    FFont.Size = 8;
}

void TNoteGutter::SetBorderStyle(TNoteGutterBorderStyle v) {
    FBorderStyle = v;
    Changed();
}

void TNoteGutter::SetDigitCount(int v) {
    v = std::clamp(v, 2, 12);
    if (v == FDigitCount) return;
    FDigitCount = v;
    FAutoSizeDigitCount = v;
    Changed();
}

void TNoteGutter::FitDigitCount(int lineCount) {
    if (!(FVisible && FAutoSize && FShowLineNumbers)) {
        FAutoSizeDigitCount = FDigitCount;
        return;
    }
    const int number = FZeroStart ? lineCount - 1 : lineCount;
    const int digits = std::max(FDigitCount, static_cast<int>(std::to_string(std::max(number, 0)).size()));
    if (digits == FAutoSizeDigitCount) return;
    FAutoSizeDigitCount = digits;
    Changed();
}

std::string TNoteGutter::LineNumberText(int line) const {
    std::string text = std::to_string(FZeroStart ? line - 1 : line);
    if (static_cast<int>(text.size()) < FAutoSizeDigitCount)
        text.insert(0, FAutoSizeDigitCount - text.size(), FLeadingZeros ? '0' : ' ');
    return text;
}

int TNoteGutter::GutterPixelWidth(int charWidth) const {
    if (!FVisible) return 0;
    if (FShowLineNumbers) return FLeftOffset + FRightOffset + charWidth * FAutoSizeDigitCount + 2;
    return FWidth;
}

void TNoteGutter::Assign(const TNoteGutter& source) {
    FFont = source.FFont;
    FUseFontStyle = source.FUseFontStyle;
    FColor = source.FColor;
    FVisible = source.FVisible;
    FWidth = source.FWidth;
    FShowLineNumbers = source.FShowLineNumbers;
    FLeadingZeros = source.FLeadingZeros;
    FZeroStart = source.FZeroStart;
    FLeftOffset = source.FLeftOffset;
    FDigitCount = source.FDigitCount;
    FRightOffset = source.FRightOffset;
    FAutoSize = source.FAutoSize;
    FAutoSizeDigitCount = source.FAutoSizeDigitCount;
    Changed();
}

void TNoteBookMarkOpt::Assign(const TNoteBookMarkOpt& source) {
    FBookmarkImages = source.FBookmarkImages;
    FDrawBookmarksFirst = source.FDrawBookmarksFirst;
    FEnableKeys = source.FEnableKeys;
    FGlyphsVisible = source.FGlyphsVisible;
    FLeftMargin = source.FLeftMargin;
    FXoffset = source.FXoffset;
    Changed();
}

void TNoteGlyph::Assign(const TNoteGlyph& source) {
    FVisible = source.FVisible;
    FMaskColor = source.FMaskColor;
    Changed();
}

TNoteGlyphBand NoteGlyphBand(int bitmapHeight, int y, int lineHeight) {
    if (lineHeight < bitmapHeight) return {(bitmapHeight - lineHeight) / 2, lineHeight, y};
    return {0, bitmapHeight, y + (lineHeight - bitmapHeight) / 2};
}

void TNoteRightEdge::Assign(const TNoteRightEdge& source) {
    FVisible = source.FVisible;
    FPosition = source.FPosition;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

TNoteActiveLine::TNoteActiveLine() {
    FIndicator.OnChange = [this](void*) { Changed(); };
}

void TNoteActiveLine::Assign(const TNoteActiveLine& source) {
    FVisible = source.FVisible;
    FBackground = source.FBackground;
    FForeground = source.FForeground;
    FIndicator.Assign(source.FIndicator);
}

void TNoteLineDivider::Assign(const TNoteLineDivider& source) {
    FVisible = source.FVisible;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

TNoteWordWrap::TNoteWordWrap() : FIndicator("NoteEditWrapped", NoteColor::Lime) {
    FIndicator.OnChange = [this](void*) { Changed(); };
}

void TNoteWordWrap::Assign(const TNoteWordWrap& source) {
    FEnabled = source.FEnabled;
    FPosition = source.FPosition;
    FStyle = source.FStyle;
    FIndicator.Assign(source.FIndicator);
}

void TNoteMethodChain::FireAll() {
    for (int i = 0; i < EntryCount(); ++i) {
        try {
            CallEntry(i);
        } catch (const Exception& e) {
            if (!HandleCallError(e)) return;
        }
    }
}

bool TNoteMethodChain::HandleCallError(const Exception& e) {
    if (!OnException) throw;
    bool doContinue = true;
    try {
        OnException(this, e, doContinue);
    } catch (...) {
        throw ENoteMethodChain(std::string(ClassName()) +
                               ".DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
    }
    return doContinue;
}
