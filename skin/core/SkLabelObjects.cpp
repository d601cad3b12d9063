#include "skin/core/SkLabelObjects.h"

#include <algorithm>

#include "skin/core/SkGeometry.h"
#include "skin/core/SkObjectPainter.h"
#include "skin/core/SkValueObjects.h"

std::unique_ptr<TskActiveSkinObject> CreateLabelObject(TSkObjectHost& host, const TskDataSkinKeyedObject& record,
                                                       int activePictureCount)
{
    const std::string type = record.ClassName();
    if (type == "TskDataSkinBitLabel")
        return std::make_unique<TskSkinBitLabelObject>(host, &record, activePictureCount);
    if (type == "TskDataSkinLabel")
        return std::make_unique<TskSkinLabelObject>(host, &record, activePictureCount);
    return nullptr;
}

// TskSkinBitLabelObject

TskSkinBitLabelObject::TskSkinBitLabelObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                             int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (!record)
        return;
    TextValue = KeyedValue(*record, "textvalue", std::string());
    SymbolWidth = std::clamp(KeyedValue(*record, "symbolwidth", 0), 0, kMaxSkinCoord);
    SymbolHeight = std::clamp(KeyedValue(*record, "symbolheight", 0), 0, kMaxSkinCoord);
    Symbols = KeyedValue(*record, "symbols", std::vector<std::string>());
}

void TskSkinBitLabelObject::SetText(const std::string& text)
{
    if (text == TextValue)
        return;
    TextValue = text;
    Redraw();
}

TRect TskSkinBitLabelObject::SymbolSource(char c) const
{
    for (size_t row = 0; row < Symbols.size(); ++row) {
        const size_t col = Symbols[row].find(c);
        if (col == std::string::npos)
            continue;
        const long long left = ActiveSkinRect.Left + static_cast<long long>(col) * SymbolWidth;
        const long long top = ActiveSkinRect.Top + static_cast<long long>(row) * SymbolHeight;
        if (left + SymbolWidth > INT32_MAX || top + SymbolHeight > INT32_MAX)
            return NullRect();
        return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left) + SymbolWidth,
                static_cast<int>(top) + SymbolHeight};
    }
    return NullRect();
}

void TskSkinBitLabelObject::Draw(TSkObjectPainter& painter, bool)
{
    const TRect& r = ObjectRect;
    painter.Copy(r, SkinRectInAPicture ? ActivePictureIndex : FramePicture(), SkinRect);
    if (SymbolWidth < 1 || SymbolHeight < 1)
        return;
    int x = r.Left;
    for (char c : TextValue) {
        const int width = std::min(SymbolWidth, r.Right - x);
        if (width < 1)
            break;
        const TRect source = SymbolSource(c);
        if (!IsNullRect(source))
            painter.Copy({x, r.Top, x + width, r.Top + SymbolHeight}, ActivePictureIndex,
                         {source.Left, source.Top, source.Left + width, source.Bottom});
        x += width;
    }
}

// TskSkinLabelObject

TskSkinLabelObject::TskSkinLabelObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                       int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (!record)
        return;
    TextValue = KeyedValue(*record, "textvalue", std::string());
    Font.Name = KeyedValue(*record, "fontName", std::string("Arial"));
    Font.Height = KeyedValue(*record, "fontheight", 14);
    Font.Style = KeyedValue(*record, "fontstyle", TSkFontStyles{});
    Font.Color = KeyedValue(*record, "fontcolor", 0);
    ActiveFontColor = KeyedValue(*record, "activefontcolor", 0);
    Alignment = KeyedValue(*record, "alignment", TSkAlignment::taCenter);
}

void TskSkinLabelObject::SetText(const std::string& text)
{
    if (text == TextValue)
        return;
    TextValue = text;
    Redraw();
}

void TskSkinLabelObject::Draw(TSkObjectPainter& painter, bool)
{
    TskActiveSkinObject::Draw(painter, true);
    if (!TextValue.empty())
        painter.Text(ObjectRect, TextValue, Font, Active ? ActiveFontColor : Font.Color, Alignment);
}

void TskSkinLabelObject::MouseEnter()
{
    MouseIn = true;
    Active = true;
    if (HoverChangesLook())
        Redraw();
    FireMouse("enter");
}

void TskSkinLabelObject::MouseLeave()
{
    MouseIn = false;
    Active = false;
    if (HoverChangesLook())
        Redraw();
    FireMouse("leave");
}
