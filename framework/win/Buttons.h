#pragma once
// TBitBtn, a TButton as the forms lay it out (no glyph is drawn), and TSpeedButton, a
// windowless flat-or-raised button that never takes the focus: it clicks on a left press
// and release inside it, on its '&' accelerator (Alt+letter) and on Click from code.

#include "framework/win/StdCtrls.h"

class TBitBtn : public TButton {
public:
    using TButton::TButton;
};

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);

    bool Flat() const { return FFlat; }
    void SetFlat(bool value);

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void TextChanged() override { Invalidate(); }

private:
    bool FFlat = false;
    bool FPressed = false;
};
