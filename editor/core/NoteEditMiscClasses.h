#pragma once
// The editor's option objects (selection colours, gutter, bookmark options, glyphs, right
// edge, active line, line divider, word wrap) and the exception-safe event chains. Every
// option setter stores a changed value and fires OnChange; Assign copies from an object of
// the same class. Glyph drawing lives in the window shell; here a glyph is its settings.

#include <cstdint>
#include <string>
#include <utility>

#include "editor/core/NoteEditTypes.h"
#include "editor/core/NoteMethodList.h"
#include "framework/rtl/SysUtils.h"

class TNoteOptionObject {
public:
    TNoteNotifyEvent OnChange;

    TNoteOptionObject() = default;
    TNoteOptionObject(const TNoteOptionObject&) = delete;
    TNoteOptionObject& operator=(const TNoteOptionObject&) = delete;
    virtual ~TNoteOptionObject() = default;

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    template <class T>
    void Update(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
};

class TNoteSelectedColor : public TNoteOptionObject {
public:
    TNoteColor Background() const { return FBackground; }
    TNoteColor Foreground() const { return FForeground; }
    void SetBackground(TNoteColor v) { Update(FBackground, v); }
    void SetForeground(TNoteColor v) { Update(FForeground, v); }
    void Assign(const TNoteSelectedColor& source);

private:
    TNoteColor FBackground = NoteColor::Highlight;
    TNoteColor FForeground = NoteColor::HighlightText;
};

// A font as the option objects describe it; the window shell makes the GDI font from it.
struct TNoteFontSpec {
    std::string Name = "Courier New";  // UTF-8
    int Size = 10;                     // points; used when Height is 0
    int Height = 0;                    // pixels (negative: character height), 0 = from Size
    std::uint8_t Style = 0;            // NoteFontStyle bits
    std::uint8_t Charset = 1;          // DEFAULT_CHARSET
    TNoteColor Color = NoteColor::WindowText;
    friend bool operator==(const TNoteFontSpec&, const TNoteFontSpec&) = default;
};

enum TNoteGutterBorderStyle : std::uint8_t { gbsNone, gbsMiddle, gbsRight };

class TNoteGutter : public TNoteOptionObject {
public:
    TNoteGutter();

    bool AutoSize() const { return FAutoSize; }
    TNoteGutterBorderStyle BorderStyle() const { return FBorderStyle; }
    TNoteColor Color() const { return FColor; }
    int Cursor() const { return FCursor; }
    int DigitCount() const { return FDigitCount; }
    const TNoteFontSpec& Font() const { return FFont; }
    bool LeadingZeros() const { return FLeadingZeros; }
    int LeftOffset() const { return FLeftOffset; }
    int RightOffset() const { return FRightOffset; }
    bool ShowLineNumbers() const { return FShowLineNumbers; }
    bool UseFontStyle() const { return FUseFontStyle; }
    bool Visible() const { return FVisible; }
    int Width() const { return FWidth; }
    bool ZeroStart() const { return FZeroStart; }
    int CurrentDigitCount() const { return FAutoSizeDigitCount; }

    void SetAutoSize(bool v) { Update(FAutoSize, v); }
    void SetBorderStyle(TNoteGutterBorderStyle v);
    void SetColor(TNoteColor v) { Update(FColor, v); }
    void SetCursor(int v) { Update(FCursor, v); }
    void SetDigitCount(int v);
    void SetFont(const TNoteFontSpec& v) { Update(FFont, v); }
    void SetLeadingZeros(bool v) { Update(FLeadingZeros, v); }
    void SetLeftOffset(int v) { Update(FLeftOffset, v < 0 ? 0 : v); }
    void SetRightOffset(int v) { Update(FRightOffset, v < 0 ? 0 : v); }
    void SetShowLineNumbers(bool v) { Update(FShowLineNumbers, v); }
    void SetUseFontStyle(bool v) { Update(FUseFontStyle, v); }
    void SetVisible(bool v) { Update(FVisible, v); }
    void SetWidth(int v) { Update(FWidth, v < 0 ? 0 : v); }
    void SetZeroStart(bool v) { Update(FZeroStart, v); }

    void FitDigitCount(int lineCount);
    std::string LineNumberText(int line) const;
    int GutterPixelWidth(int charWidth) const;
    void Assign(const TNoteGutter& source);

private:
    bool FAutoSize = false;
    TNoteGutterBorderStyle FBorderStyle = gbsMiddle;
    TNoteColor FColor = NoteColor::BtnFace;
    int FCursor = 0;  // crDefault
    int FDigitCount = 4;
    TNoteFontSpec FFont;
    bool FLeadingZeros = false;
    int FLeftOffset = 16;
    int FRightOffset = 2;
    bool FShowLineNumbers = false;
    bool FUseFontStyle = true;
    bool FVisible = true;
    int FWidth = 30;
    bool FZeroStart = false;
    int FAutoSizeDigitCount = 4;
};

// The framework's image list: the window shell draws from it; here it is only held.
class TImageList;

class TNoteBookMarkOpt : public TNoteOptionObject {
public:
    explicit TNoteBookMarkOpt(void* owner = nullptr) : FOwner(owner) {}

    void* Owner() const { return FOwner; }
    // The images of marks that do not use the built-in bookmark strip; not owned. The
    // editor drops it when the list is freed.
    TImageList* BookmarkImages() const { return FBookmarkImages; }
    bool DrawBookmarksFirst() const { return FDrawBookmarksFirst; }
    bool EnableKeys() const { return FEnableKeys; }
    bool GlyphsVisible() const { return FGlyphsVisible; }
    int LeftMargin() const { return FLeftMargin; }
    int Xoffset() const { return FXoffset; }

    void SetBookmarkImages(TImageList* v) { Update(FBookmarkImages, v); }
    void SetDrawBookmarksFirst(bool v) { Update(FDrawBookmarksFirst, v); }
    void SetEnableKeys(bool v) { Update(FEnableKeys, v); }
    void SetGlyphsVisible(bool v) { Update(FGlyphsVisible, v); }
    void SetLeftMargin(int v) { Update(FLeftMargin, v); }
    void SetXoffset(int v) { Update(FXoffset, v); }
    void Assign(const TNoteBookMarkOpt& source);

private:
    void* FOwner;
    TImageList* FBookmarkImages = nullptr;
    bool FDrawBookmarksFirst = true;
    bool FEnableKeys = true;
    bool FGlyphsVisible = true;
    int FLeftMargin = 2;
    int FXoffset = 12;
};

// A glyph's settings: visibility, the mask colour of a user bitmap, and the name and
// transparent colour of its built-in bitmap resource (empty name: none). The user bitmap
// itself is held by the window shell, which calls GlyphChanged when it changes.
class TNoteGlyph : public TNoteOptionObject {
public:
    explicit TNoteGlyph(std::string builtInName = {}, TNoteColor builtInMaskColor = NoteColor::None)
        : FBuiltInName(std::move(builtInName)), FBuiltInMaskColor(builtInMaskColor) {}

    bool Visible() const { return FVisible; }
    TNoteColor MaskColor() const { return FMaskColor; }
    const std::string& BuiltInName() const { return FBuiltInName; }
    TNoteColor BuiltInMaskColor() const { return FBuiltInMaskColor; }
    void SetVisible(bool v) { Update(FVisible, v); }
    void SetMaskColor(TNoteColor v) { Update(FMaskColor, v); }
    void GlyphChanged() { Changed(); }
    void Assign(const TNoteGlyph& source);

private:
    bool FVisible = true;
    TNoteColor FMaskColor = NoteColor::None;
    std::string FBuiltInName;
    TNoteColor FBuiltInMaskColor;
};

// The part of a bitmap of BitmapHeight pixels drawn into a row at Y of LineHeight pixels:
// its middle LineHeight rows when it is taller, else all of it centred vertically.
struct TNoteGlyphBand {
    int SourceTop;
    int Height;
    int DestY;
};
TNoteGlyphBand NoteGlyphBand(int bitmapHeight, int y, int lineHeight);

class TNoteRightEdge : public TNoteOptionObject {
public:
    bool Visible() const { return FVisible; }
    int Position() const { return FPosition; }
    TNoteColor Color() const { return FColor; }
    TNotePenStyle Style() const { return FStyle; }
    void SetVisible(bool v) { Update(FVisible, v); }
    void SetPosition(int v) { Update(FPosition, v); }
    void SetColor(TNoteColor v) { Update(FColor, v); }
    void SetStyle(TNotePenStyle v) { Update(FStyle, v); }
    void Assign(const TNoteRightEdge& source);

private:
    bool FVisible = true;
    int FPosition = 80;
    TNoteColor FColor = NoteColor::Silver;
    TNotePenStyle FStyle = TNotePenStyle::Solid;
};

class TNoteActiveLine : public TNoteOptionObject {
public:
    TNoteActiveLine();
    bool Visible() const { return FVisible; }
    TNoteColor Background() const { return FBackground; }
    TNoteColor Foreground() const { return FForeground; }
    TNoteGlyph& Indicator() { return FIndicator; }
    const TNoteGlyph& Indicator() const { return FIndicator; }
    void SetVisible(bool v) { Update(FVisible, v); }
    void SetBackground(TNoteColor v) { Update(FBackground, v); }
    void SetForeground(TNoteColor v) { Update(FForeground, v); }
    void Assign(const TNoteActiveLine& source);

private:
    bool FVisible = true;
    TNoteColor FBackground = NoteColor::Yellow;
    TNoteColor FForeground = NoteColor::Navy;
    TNoteGlyph FIndicator;
};

class TNoteLineDivider : public TNoteOptionObject {
public:
    bool Visible() const { return FVisible; }
    TNoteColor Color() const { return FColor; }
    TNotePenStyle Style() const { return FStyle; }
    void SetVisible(bool v) { Update(FVisible, v); }
    void SetColor(TNoteColor v) { Update(FColor, v); }
    void SetStyle(TNotePenStyle v) { Update(FStyle, v); }
    void Assign(const TNoteLineDivider& source);

private:
    bool FVisible = false;
    TNoteColor FColor = NoteColor::Red;
    TNotePenStyle FStyle = TNotePenStyle::Solid;
};

enum TNoteWordWrapStyle : std::uint8_t { wwsClientWidth, wwsRightEdge, wwsSpecified };

class TNoteWordWrap : public TNoteOptionObject {
public:
    TNoteWordWrap();
    bool Enabled() const { return FEnabled; }
    int Position() const { return FPosition; }
    TNoteWordWrapStyle Style() const { return FStyle; }
    TNoteGlyph& Indicator() { return FIndicator; }
    const TNoteGlyph& Indicator() const { return FIndicator; }
    void SetEnabled(bool v) { Update(FEnabled, v); }
    void SetPosition(int v) { Update(FPosition, v); }
    void SetStyle(TNoteWordWrapStyle v) { Update(FStyle, v); }
    void Assign(const TNoteWordWrap& source);

private:
    bool FEnabled = false;
    int FPosition = 80;
    TNoteWordWrapStyle FStyle = wwsClientWidth;
    TNoteGlyph FIndicator;
};

class ENoteMethodChain : public Exception {
public:
    using Exception::Exception;
};

// Calls a list of handlers in the order added. When one raises an Exception, the
// OnException handler (if any) decides whether the walk goes on; without one the exception
// passes on. OnException itself must not raise.
class TNoteMethodChain {
public:
    using TExceptionEvent = std::function<void(void* Sender, const Exception& e, bool& doContinue)>;
    TExceptionEvent OnException;

    virtual ~TNoteMethodChain() = default;
    void FireAll();

protected:
    virtual int EntryCount() const = 0;
    virtual void CallEntry(int index) = 0;
    virtual const char* ClassName() const { return "TNoteMethodChain"; }
    bool HandleCallError(const Exception& e);
};

class TNoteNotifyEventChain : public TNoteMethodChain {
public:
    explicit TNoteNotifyEventChain(void* sender) : FSender(sender) {}
    void AddHandler(TNoteMethodId id, TNoteNotifyEvent handler) { FHandlers.Add(id, std::move(handler)); }
    void RemoveHandler(TNoteMethodId id) { FHandlers.Remove(id); }
    int HandlerCount() const { return FHandlers.Count(); }
    void* Sender() const { return FSender; }

protected:
    int EntryCount() const override { return FHandlers.Count(); }
    void CallEntry(int index) override { FHandlers.Item(index)(FSender); }
    const char* ClassName() const override { return "TNoteNotifyEventChain"; }

private:
    void* FSender;
    TNoteMethodList<void(void*)> FHandlers;
};
