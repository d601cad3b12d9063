#pragma once
// Skin objects that show a text: the bitmap label (characters cut from a picture of
// symbols) and the label (text in a font on the object's look).

#include <memory>
#include <string>
#include <vector>

#include "skin/core/SkFormObjects.h"

// The object of a bitlabel or label record, else nullptr.
std::unique_ptr<TskActiveSkinObject> CreateLabelObject(TSkObjectHost& host, const TskDataSkinKeyedObject& record,
                                                       int activePictureCount);

class TskSkinBitLabelObject : public TskActiveSkinObject {
public:
    TskSkinBitLabelObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::BitLabel; }
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
    void SetText(const std::string& text);
    // The cell of a character in the symbols picture, or a null rectangle when it has none.
    TRect SymbolSource(char c) const;

    std::string TextValue;
    int SymbolWidth = 0, SymbolHeight = 0;
    std::vector<std::string> Symbols;   // line = row, position = column
};

class TskSkinLabelObject : public TskActiveSkinObject {
public:
    TskSkinLabelObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::Label; }
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetText(const std::string& text);

    std::string TextValue;
    TskSkinFont Font;
    int ActiveFontColor = 0;
    TSkAlignment Alignment = TSkAlignment::taCenter;

private:
    bool HoverChangesLook() const { return !IsNullRect(ActiveSkinRect) || ActiveFontColor != Font.Color; }
};
