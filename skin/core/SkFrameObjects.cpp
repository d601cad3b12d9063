#include "skin/core/SkFrameObjects.h"

#include <algorithm>
#include <cstdlib>

#include "skin/core/SkObjectPainter.h"
#include "skin/core/SkValueObjects.h"

namespace {

int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

std::unique_ptr<TskActiveSkinObject> CreateFrameObject(TSkObjectHost& host, const TskDataSkinKeyedObject& record,
                                                       int activePictureCount)
{
    const std::string type = record.ClassName();
    if (type == "TskDataSkinFrameGaugeObject")
        return std::make_unique<TskSkinFrameGaugeObject>(host, &record, activePictureCount);
    if (type == "TskDataSkinFrameRegulatorObject")
        return std::make_unique<TskSkinFrameRegulatorObject>(host, &record, activePictureCount);
    if (type == "TskDataSkinAnimate")
        return std::make_unique<TskSkinAnimateObject>(host, &record, activePictureCount);
    return nullptr;
}

// TskSkinFrameObject

TskSkinFrameObject::TskSkinFrameObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                       int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (record) {
        CountFrames = KeyedValue(*record, "countframes", 0);
        VerticalPlacement = KeyedValue(*record, "framesplacement", 0) != 0;
    }
}

int TskSkinFrameObject::FrameWidth() const
{
    return VerticalPlacement ? ActiveSkinRect.Width() : ActiveSkinRect.Width() / std::max(CountFrames, 1);
}

int TskSkinFrameObject::FrameHeight() const
{
    return VerticalPlacement ? ActiveSkinRect.Height() / std::max(CountFrames, 1) : ActiveSkinRect.Height();
}

TRect TskSkinFrameObject::FrameSource(int n) const
{
    const int w = FrameWidth(), h = FrameHeight();
    const int left = ActiveSkinRect.Left + (VerticalPlacement ? 0 : (n - 1) * w);
    const int top = ActiveSkinRect.Top + (VerticalPlacement ? (n - 1) * h : 0);
    return {left, top, left + w, top + h};
}

void TskSkinFrameObject::Draw(TSkObjectPainter& painter, bool full)
{
    if (IsNullRect(ActiveSkinRect)) {
        TskActiveSkinObject::Draw(painter, full);
        return;
    }
    painter.Copy(ObjectRect, ActivePictureIndex, FrameSource(Frame));
}

// TskSkinFrameValueObject

TskSkinFrameValueObject::TskSkinFrameValueObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                                 int activePictureCount)
    : TskSkinFrameObject(parent, record, activePictureCount)
{
    if (record) {
        MinValue = KeyedValue(*record, "minvalue", 0);
        MaxValue = KeyedValue(*record, "maxvalue", 0);
    }
    FValue = MinValue;
    Frame = FrameOf(FValue);
}

int TskSkinFrameValueObject::ValueStep() const
{
    if (CountFrames < 2)
        return 0;
    return ClampToInt((static_cast<long long>(MaxValue) - MinValue) / (CountFrames - 1));
}

int TskSkinFrameValueObject::FrameOf(int value) const
{
    const int step = ValueStep();
    if (step == 0)
        return 1;
    const long long n = std::llabs(static_cast<long long>(value) - MinValue) / std::llabs(step) + 1;
    return static_cast<int>(std::clamp<long long>(n, 1, CountFrames));
}

void TskSkinFrameValueObject::SetValue(int value)
{
    value = std::clamp(value, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    if (value == FValue)
        return;
    FValue = value;
    Frame = FrameOf(FValue);
    Redraw();
}

// TskSkinFrameGaugeObject

void TskSkinFrameGaugeObject::MouseEnter()
{
    MouseIn = true;
    FireMouse("enter");
}

void TskSkinFrameGaugeObject::MouseLeave()
{
    MouseIn = false;
    FireMouse("leave");
}

// TskSkinFrameRegulatorObject

TskSkinFrameRegulatorObject::TskSkinFrameRegulatorObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                                         int activePictureCount)
    : TskSkinFrameValueObject(parent, record, activePictureCount)
{
    // The stored kind: "rkround" 0, "rkhorizontal" 2, any other text vertical (1).
    if (record)
        switch (KeyedValue(*record, "kind", 0)) {
        case 0: RegulatorKind = TskRegulatorKind::rkRound; break;
        case 2: RegulatorKind = TskRegulatorKind::rkHorizontal; break;
        default: RegulatorKind = TskRegulatorKind::rkVertical; break;
        }
}

int TskSkinFrameRegulatorObject::PixelStep() const
{
    int size = FrameWidth();
    if (RegulatorKind == TskRegulatorKind::rkVertical)
        size = FrameHeight();
    else if (RegulatorKind == TskRegulatorKind::rkRound)
        size = std::min(FrameWidth(), FrameHeight());
    return std::max(size / (std::max(CountFrames, 2) - 1), 1);
}

void TskSkinFrameRegulatorObject::MouseDown(int x, int y, TSkMouseButton button)
{
    if (button != TSkMouseButton::Left)
        return;
    FDragging = true;
    FDownPoint = {x, y};
    FDownValue = FValue;
}

void TskSkinFrameRegulatorObject::MouseMove(int x, int y)
{
    if (!FDragging)
        return;
    const long long dx = static_cast<long long>(x) - FDownPoint.X, dy = static_cast<long long>(y) - FDownPoint.Y;
    const long long distance =
        RegulatorKind == TskRegulatorKind::rkRound ? dx - dy : RegulatorKind == TskRegulatorKind::rkHorizontal ? dx : -dy;
    const long long steps = distance / PixelStep();
    const int old = FValue;
    SetValue(ClampToInt(FDownValue + steps * std::max(ValueStep(), 1)));
    if (FValue != old)
        Parent.ObjectValueChanged("frameregulator", IDName, FValue);
}

void TskSkinFrameRegulatorObject::MouseUp(int, int, TSkMouseButton) { FDragging = false; }

// TskSkinAnimateObject

TskSkinAnimateObject::TskSkinAnimateObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record,
                                           int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (record) {
        CountFrames = std::max(KeyedValue(*record, "countframes", 1), 1);
        Cycle = KeyedValue(*record, "cycle", false);
        ButtonStyle = KeyedValue(*record, "buttonstyle", false);
        TimerInterval = std::max(KeyedValue(*record, "timerinterval", 50), kTimerStep);
        Command = KeyedValue(*record, "command", cmDefault);
    }
}

void TskSkinAnimateObject::Draw(TSkObjectPainter& painter, bool full)
{
    if (IsNullRect(ActiveSkinRect)) {
        TskActiveSkinObject::Draw(painter, full);
        return;
    }
    const int w = SkinRect.Width(), h = SkinRect.Height();
    const int left = ActiveSkinRect.Left + (Frame - 1) * w;
    painter.Copy(ObjectRect, ActivePictureIndex, {left, ActiveSkinRect.Top, left + w, ActiveSkinRect.Top + h});
}

void TskSkinAnimateObject::Run(bool forward)
{
    FForward = forward;
    FRunning = true;
    Parent.StartAnimateTimer();
}

void TskSkinAnimateObject::Rewind()
{
    Frame = 1;
    FRunning = false;
    FForward = true;
    FCounter = kTimerStep;
}

bool TskSkinAnimateObject::TimerTick()
{
    if (!FRunning)
        return false;
    FCounter += kTimerStep;
    if (FCounter < TimerInterval)
        return true;
    FCounter = 0;
    const int old = Frame;
    if (FForward) {
        if (Frame < CountFrames)
            ++Frame;
        else if (Cycle)
            Frame = 1;
        if (!Cycle && Frame >= CountFrames)
            FRunning = false;
    } else {
        if (Frame > 1)
            --Frame;
        else if (Cycle)
            Frame = CountFrames;
        if (!Cycle && Frame <= 1)
            FRunning = false;
    }
    if (Frame != old)
        Parent.PaintObject(*this);
    return FRunning;
}

void TskSkinAnimateObject::MouseEnter()
{
    MouseIn = true;
    Active = true;
    if (ButtonStyle)
        Run(true);
    FireMouse("enter");
}

void TskSkinAnimateObject::MouseLeave()
{
    MouseIn = false;
    Active = false;
    if (ButtonStyle)
        Run(false);
    FireMouse("leave");
}

void TskSkinAnimateObject::MouseUp(int x, int y, TSkMouseButton button)
{
    const bool run = Enabled && button == TSkMouseButton::Left && MouseIn;
    if (run && Command == cmClose) {
        TskActiveSkinObject::MouseUp(x, y, button);
        Parent.RunCommand(cmClose);
        return;
    }
    if (run && Command == cmSysMenu)
        Parent.PopupSystemMenuUnder(ObjectRect);
    else if (run && Command == cmDefault && MenuItem())
        Parent.OpenObjectMenu(MenuItem(), ObjectRect, false);
    else if (run && Command != cmDefault)
        Parent.RunCommand(Command);
    TskActiveSkinObject::MouseUp(x, y, button);
}

void TskSkinAnimateObject::DblClick()
{
    if (Command == cmSysMenu)
        Parent.CloseForm();
}
