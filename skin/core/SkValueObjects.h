#pragma once
// Skin objects that hold a value: the switch (on or off, toggled by a press), the track bar
// (a button dragged between two points) and the gauge (a bar filled to its value). Their
// skin data comes from the keyed records of their type.

#include <memory>
#include <string>

#include "skin/core/SkFormObjects.h"

// A value of a keyed record, or def when the record lacks it.
template <class T>
T KeyedValue(const TskDataSkinKeyedObject& record, const char* key, T def)
{
    if (const TSkinValue* v = record.Value(key))
        if (const T* p = std::get_if<T>(v))
            return *p;
    return def;
}

// The object of a switch, track bar or gauge record, else nullptr.
std::unique_ptr<TskActiveSkinObject> CreateValueObject(TSkObjectHost& host, const TskDataSkinKeyedObject& record,
                                                       int activePictureCount);

class TskSkinSwitchObject : public TskActiveSkinObject {
public:
    TskSkinSwitchObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount)
        : TskActiveSkinObject(parent, record, activePictureCount) {}
    TSkObjectKind Kind() const override { return TSkObjectKind::Switch; }
    bool PaintsItself() const override { return true; }
    void MouseDown(int x, int y, TSkMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool State = true;
};

class TskSkinTrackBarObject : public TskActiveSkinObject {
public:
    TskSkinTrackBarObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::TrackBar; }
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
    void MouseDown(int x, int y, TSkMouseButton button) override;
    void MouseUp(int x, int y, TSkMouseButton button) override;
    void MouseMove(int x, int y) override;

    bool Vertical() const;
    int Value() const { return FValue; }
    // Clamped to minvalue..maxvalue; the button follows. No event.
    void SetValue(int value);
    // The button's place (window coordinates) for the present value.
    TRect ButtonPlace() const;
    bool Dragging() const { return FDragging; }

    TRect ButtonRect, ActiveButtonRect;
    TPoint BeginPoint, EndPoint;   // relative to the object
    int MinValue = 0, MaxValue = 0;
    bool MouseDownChangeValue = false;

private:
    // The value at a position along the track (object coordinates) and back.
    int ValueAt(TPoint position) const;
    TPoint PositionOf(int value) const;
    bool WithinTrack(TPoint position) const;
    TPoint ClampToTrack(TPoint position) const;
    void MoveTo(TPoint position);

    int FValue = 0;
    TPoint FPosition;   // the button's centre, object coordinates
    bool FDragging = false;
    TPoint FDragMouse, FDragPosition;
};

class TskSkinGaugeObject : public TskActiveSkinObject {
public:
    TskSkinGaugeObject(TSkObjectHost& parent, const TskDataSkinKeyedObject* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::Gauge; }
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
    void MouseEnter() override;
    void MouseLeave() override;

    int Value() const { return FValue; }
    // Clamped to minvalue..maxvalue; redrawn on a change.
    void SetValue(int value);
    // The filled length: columns from the left, or the first filled row from the top.
    int Progress() const;

    int MinValue = 0, MaxValue = 0;
    bool Vertical = false;

private:
    int FValue = 0;
};
