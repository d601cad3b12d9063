#include "editor/win/NoteEditInternalImage.h"

#include <map>
#include <memory>

#include "editor/core/NoteEditMiscClasses.h"
#include "editor/win/NoteEditGlyph.h"

namespace {
struct TInternalResource {
    int UsageCount = 0;
    std::unique_ptr<TBitmap> Bitmap;
};

// The shared strips; the map itself lives as long as any strip does.
std::unique_ptr<std::map<std::string, TInternalResource>> Strips;
}  // namespace

TNoteInternalImage::TNoteInternalImage(HINSTANCE module, const std::string& name, int count)
    : FKey(UpperCase(name)), FCount(count) {
    if (!Strips) Strips = std::make_unique<std::map<std::string, TInternalResource>>();
    auto found = Strips->find(FKey);
    if (found == Strips->end()) {
        auto bitmap = std::make_unique<TBitmap>();
        try {
            bitmap->LoadFromResourceName(module, name);
        } catch (...) {
            if (Strips->empty()) Strips.reset();
            throw;
        }
        found = Strips->emplace(FKey, TInternalResource{0, std::move(bitmap)}).first;
    }
    ++found->second.UsageCount;
    FStrip = found->second.Bitmap.get();
    FWidth = count > 0 ? (FStrip->Width() + count / 2) / count : 0;
    FHeight = FStrip->Height();
}

TNoteInternalImage::~TNoteInternalImage() {
    auto found = Strips->find(FKey);
    if (--found->second.UsageCount == 0) Strips->erase(found);
    if (Strips->empty()) Strips.reset();
}

void TNoteInternalImage::DrawImage(TCanvas& canvas, int number, int x, int y, int lineHeight) {
    if (number < 0 || number >= FCount) return;
    NoteDrawBitmapBand(canvas, x, *FStrip, number * FWidth, FWidth, NoteGlyphBand(FHeight, y, lineHeight),
                       NoteColor::None);
}

int TNoteInternalImage::SharedStripCount() { return Strips ? static_cast<int>(Strips->size()) : 0; }
