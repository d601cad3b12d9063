#pragma once
// Skin objects drawn as one frame of a strip of frames: the frame gauge (the frame shows
// the value), the frame regulator (dragging changes the value) and the animated object
// (its frames run forward while the mouse is in and back when it leaves, driven by the
// form's animation timer; a release runs its command like a caption button).

#include <memory>

#include "skin/core/SkFormObjects.h"

// The object of a frame gauge, frame regulator or animate record, else nullptr.
std::unique_ptr<TskActiveSkinObject> CreateFrameObject(TSkObjectHost& host, const TskDataSkinKeyedObject& record,
                                                       int activePictureCount);

class TskSkinFrameObject : public TskActiveSkinObject {
public:
    TskSkinFrameObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
    // The part of activeskinrect that frame n (1-based) takes.
    TRect FrameSource(int n) const;
    int FrameWidth() const;
    int FrameHeight() const;

    int Frame = 1;
    int CountFrames = 0;
    bool VerticalPlacement = false;   // frames one below the other
};

// Shared by the frame gauge and the frame regulator: value to frame number.
class TskSkinFrameValueObject : public TskSkinFrameObject {
public:
    TskSkinFrameValueObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    int Value() const { return FValue; }
    // Clamped to minvalue..maxvalue; the frame follows and is redrawn on a change.
    void SetValue(int value);
    // (max - min) div (countframes - 1), 0 when there is no such step.
    int ValueStep() const;

    int MinValue = 0, MaxValue = 0;

protected:
    int FrameOf(int value) const;
    int FValue = 0;
};

class TskSkinFrameGaugeObject : public TskSkinFrameValueObject {
public:
    using TskSkinFrameValueObject::TskSkinFrameValueObject;
    TSkObjectKind Kind() const override { return TSkObjectKind::FrameGauge; }
    void MouseEnter() override;
    void MouseLeave() override;
};

enum class TskRegulatorKind { rkRound, rkHorizontal, rkVertical };

class TskSkinFrameRegulatorObject : public TskSkinFrameValueObject {
public:
    TskSkinFrameRegulatorObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::FrameRegulator; }
    void MouseDown(int x, int y, TSkMouseButton button) override;
    void MouseUp(int x, int y, TSkMouseButton button) override;
    void MouseMove(int x, int y) override;
    // Drag pixels per value step.
    int PixelStep() const;

    TskRegulatorKind RegulatorKind = TskRegulatorKind::rkRound;

private:
    bool FDragging = false;
    TPoint FDownPoint;
    int FDownValue = 0;
};

class TskSkinAnimateObject : public TskActiveSkinObject {
public:
    TskSkinAnimateObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::Animate; }
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
    void DblClick() override;
    void MouseUp(int x, int y, TSkMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // One 25 ms tick of the form's animation timer; true while the animation runs.
    bool TimerTick();
    // Back to frame 1, stopped.
    void Rewind();
    bool Running() const { return FRunning; }
    bool Forward() const { return FForward; }
    // A cmdefault object opens it on a release; freeing the item clears it.
    TMenuItem* MenuItem() const { return FMenuItem.Get(); }
    void SetMenuItem(TMenuItem* item) { FMenuItem.Set(item); }
    TSkMenuItemLink* MenuItemLink() override { return &FMenuItem; }

    static constexpr int kTimerStep = 25;
    int Frame = 1;
    int CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    int TimerInterval = 50;
    TskCommand Command = cmDefault;

private:
    void Run(bool forward);

    TSkMenuItemLink FMenuItem{Parent};
    bool FRunning = false;
    bool FForward = true;
    int FCounter = kTimerStep;
};
