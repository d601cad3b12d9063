#include "framework/win/Buttons.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) { TControl::SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetFlat(bool value) {
    FFlat = value;
    Invalidate();
}

void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    if (FPressed) canvas.Frame3D(r, clBtnShadow, clBtnHighlight, 1);
    else if (!FFlat || MouseInside()) canvas.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    if (FPressed) r = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    canvas.DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccel(m.WParam, Caption())) {
            Click();
            m.Result = 1;
        }
        m.Handled = true;
        return;
    }
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) Invalidate();
    TGraphicControl::WndProc(m);
}
