#pragma once
// Drawing of a glyph option (the active-line and word-wrap indicators): the user's Glyph
// bitmap with its MaskColor, or else the built-in bitmap the glyph names, loaded once from
// the module's resources, with its own transparent colour. A glyph taller than the row
// shows its middle rows; a shorter one is centred.

#include <memory>

#include "editor/core/NoteEditMiscClasses.h"
#include "framework/win/Bitmap.h"

class TNoteGlyphPainter {
public:
    // A built-in bitmap that the module lacks leaves the glyph without one.
    TNoteGlyphPainter(TNoteGlyph& settings, HINSTANCE module);

    TBitmap& Glyph() { return FGlyph; }
    void SetGlyph(TBitmap& source);  // copies it and reports the change through the glyph
    bool HasBuiltIn() const { return FBuiltIn != nullptr; }
    int GlyphWidth() const;
    void DrawGlyph(TCanvas& canvas, int x, int y, int lineHeight);

private:
    TNoteGlyph& FSettings;
    TBitmap FGlyph;
    std::unique_ptr<TBitmap> FBuiltIn;
};

// Copies the rows `band` of `source` to (x, band.DestY), leaving out the pixels of
// `maskColor` unless it is clNone.
void NoteDrawBitmapBand(TCanvas& canvas, int x, TBitmap& source, int sourceLeft, int width,
                        const TNoteGlyphBand& band, TNoteColor maskColor);
