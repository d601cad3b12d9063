#include "skin/core/SkValueObjects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "skin/core/SkObjectPainter.h"

namespace {

// (value - min) / (max - min), 0 for an empty range.
double Fraction(int value, int min, int max)
{
    return max == min ? 0.0 : (static_cast<double>(value) - min) / (static_cast<double>(max) - min);
}

int ClampValue(int value, int a, int b) { return std::clamp(value, std::min(a, b), std::max(a, b)); }

int RoundToInt(double v) { return static_cast<int>(std::lround(std::clamp(v, -2e9, 2e9))); }

}  // namespace

std::unique_ptr<TskActiveSkinObject> CreateValueObject(TSkObjectHost& host, const TskDataSkinKeyedObject& record,
                                                       int activePictureCount)
{
    const std::string type = record.ClassName();
    if (type == "TskDataSkinSwitch")
        return std::make_unique<TskSkinSwitchObject>(host, &record, activePictureCount);
    if (type == "TskDataSkinTrackBar")
        return std::make_unique<TskSkinTrackBarObject>(host, &record, activePictureCount);
    if (type == "TskDataSkinGauge")
        return std::make_unique<TskSkinGaugeObject>(host, &record, activePictureCount);
    return nullptr;
}

// TskSkinSwitchObject

void TskSkinSwitchObject::MouseDown(int, int, TSkMouseButton button)
{
    if (button != TSkMouseButton::Left)
        return;
    State = !State;
    Active = !State;
    Redraw();
    Parent.ObjectValueChanged("switch", IDName, State ? 1 : 0);
}

void TskSkinSwitchObject::MouseEnter()
{
    MouseIn = true;
    FireMouse("enter");
}

void TskSkinSwitchObject::MouseLeave()
{
    MouseIn = false;
    FireMouse("leave");
}

// TskSkinTrackBarObject

TskSkinTrackBarObject::TskSkinTrackBarObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                             int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (record) {
        ButtonRect = KeyedValue(*record, "buttonrect", TRect{});
        ActiveButtonRect = KeyedValue(*record, "activebuttonrect", TRect{});
        BeginPoint = KeyedValue(*record, "beginpoint", TPoint{});
        EndPoint = KeyedValue(*record, "endpoint", TPoint{});
        MinValue = KeyedValue(*record, "minvalue", 0);
        MaxValue = KeyedValue(*record, "maxvalue", 0);
        MouseDownChangeValue = KeyedValue(*record, "mousedownchangevalue", false);
    }
    FValue = MinValue;
    FPosition = PositionOf(FValue);
}

bool TskSkinTrackBarObject::Vertical() const
{
    return std::abs(BeginPoint.Y - EndPoint.Y) >= std::abs(EndPoint.X - BeginPoint.X);
}

int TskSkinTrackBarObject::ValueAt(TPoint p) const
{
    double f = 0;
    if (Vertical()) {
        if (BeginPoint.Y != EndPoint.Y)
            f = 1 - static_cast<double>(p.Y - EndPoint.Y) / (BeginPoint.Y - EndPoint.Y);
    } else if (EndPoint.X != BeginPoint.X) {
        f = static_cast<double>(p.X - BeginPoint.X) / (EndPoint.X - BeginPoint.X);
    }
    return ClampValue(RoundToInt(MinValue + (static_cast<double>(MaxValue) - MinValue) * f), MinValue, MaxValue);
}

TPoint TskSkinTrackBarObject::PositionOf(int value) const
{
    const double f = Fraction(value, MinValue, MaxValue);
    if (Vertical())
        return {BeginPoint.X, EndPoint.Y + RoundToInt((1 - f) * (BeginPoint.Y - EndPoint.Y))};
    return {BeginPoint.X + RoundToInt(f * (EndPoint.X - BeginPoint.X)), BeginPoint.Y};
}

bool TskSkinTrackBarObject::WithinTrack(TPoint p) const
{
    if (Vertical())
        return p.Y >= std::min(BeginPoint.Y, EndPoint.Y) && p.Y <= std::max(BeginPoint.Y, EndPoint.Y);
    return p.X >= std::min(BeginPoint.X, EndPoint.X) && p.X <= std::max(BeginPoint.X, EndPoint.X);
}

TPoint TskSkinTrackBarObject::ClampToTrack(TPoint p) const
{
    if (Vertical())
        return {BeginPoint.X, std::clamp(p.Y, std::min(BeginPoint.Y, EndPoint.Y), std::max(BeginPoint.Y, EndPoint.Y))};
    return {std::clamp(p.X, std::min(BeginPoint.X, EndPoint.X), std::max(BeginPoint.X, EndPoint.X)), BeginPoint.Y};
}

void TskSkinTrackBarObject::SetValue(int value)
{
    FValue = ClampValue(value, MinValue, MaxValue);
    FPosition = PositionOf(FValue);
}

TRect TskSkinTrackBarObject::ButtonPlace() const
{
    const int w = ButtonRect.Width(), h = ButtonRect.Height();
    const int left = ObjectRect.Left + FPosition.X - w / 2, top = ObjectRect.Top + FPosition.Y - h / 2;
    return {left, top, left + w, top + h};
}

void TskSkinTrackBarObject::MoveTo(TPoint position)
{
    if (position.X == FPosition.X && position.Y == FPosition.Y)
        return;
    FPosition = position;
    const int value = ValueAt(position);
    Redraw();
    if (value != FValue) {
        FValue = value;
        Parent.ObjectValueChanged("trackbar", IDName, FValue);
    }
}

void TskSkinTrackBarObject::MouseDown(int x, int y, TSkMouseButton button)
{
    if (button != TSkMouseButton::Left)
        return;
    if (ButtonPlace().Contains({x, y})) {
        FDragging = true;
        FDragMouse = {x, y};
        FDragPosition = FPosition;
        Redraw();
    } else if (MouseDownChangeValue) {
        MoveTo(ClampToTrack({x - ObjectRect.Left, y - ObjectRect.Top}));
    }
}

void TskSkinTrackBarObject::MouseMove(int x, int y)
{
    if (!FDragging)
        return;
    TPoint p = FDragPosition;
    if (Vertical())
        p.Y += y - FDragMouse.Y;
    else
        p.X += x - FDragMouse.X;
    if (WithinTrack(p))
        MoveTo(p);
}

void TskSkinTrackBarObject::MouseUp(int, int, TSkMouseButton)
{
    if (!FDragging)
        return;
    FDragging = false;
    Redraw();
}

void TskSkinTrackBarObject::Draw(TSkObjectPainter& painter, bool)
{
    const TRect& r = ObjectRect;
    painter.Copy(r, SkinRectInAPicture ? ActivePictureIndex : FramePicture(), SkinRect);
    if (!IsNullRect(ActiveSkinRect)) {
        const TRect& a = ActiveSkinRect;
        if (Vertical())
            painter.Copy({r.Left, r.Top + FPosition.Y, r.Right, r.Bottom}, ActivePictureIndex,
                         {a.Left, a.Top + FPosition.Y, a.Right, a.Bottom});
        else
            painter.Copy({r.Left, r.Top, r.Left + FPosition.X, r.Bottom}, ActivePictureIndex,
                         {a.Left, a.Top, a.Left + FPosition.X, a.Bottom});
    }
    const TRect& look = FDragging && !IsNullRect(ActiveButtonRect) ? ActiveButtonRect : ButtonRect;
    painter.Copy(ButtonPlace(), ActivePictureIndex, look);
}

// TskSkinGaugeObject

TskSkinGaugeObject::TskSkinGaugeObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                       int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (record) {
        MinValue = KeyedValue(*record, "minvalue", 0);
        MaxValue = KeyedValue(*record, "maxvalue", 0);
        Vertical = KeyedValue(*record, "kind", 0) != 0;
    }
    FValue = MinValue;
}

void TskSkinGaugeObject::SetValue(int value)
{
    value = ClampValue(value, MinValue, MaxValue);
    if (value == FValue)
        return;
    FValue = value;
    Redraw();
}

int TskSkinGaugeObject::Progress() const
{
    const double f = Fraction(FValue, MinValue, MaxValue);
    return Vertical ? RoundToInt(ObjectRect.Height() * (1 - f)) : RoundToInt(f * ObjectRect.Width());
}

void TskSkinGaugeObject::Draw(TSkObjectPainter& painter, bool full)
{
    if (FValue == MinValue && !full)
        return;
    const TRect& r = ObjectRect;
    const TRect& a = ActiveSkinRect;
    const int p = Progress();
    painter.Copy(r, SkinRectInAPicture ? ActivePictureIndex : FramePicture(), SkinRect);
    if (IsNullRect(a))
        return;
    if (Vertical)
        painter.Copy({r.Left, r.Top + p, r.Right, r.Bottom}, ActivePictureIndex, {a.Left, a.Top + p, a.Right, a.Bottom});
    else
        painter.Copy({r.Left, r.Top, r.Left + p, r.Bottom}, ActivePictureIndex, {a.Left, a.Top, a.Left + p, a.Bottom});
}

void TskSkinGaugeObject::MouseEnter()
{
    MouseIn = true;
    FireMouse("enter");
}

void TskSkinGaugeObject::MouseLeave()
{
    MouseIn = false;
    FireMouse("leave");
}
