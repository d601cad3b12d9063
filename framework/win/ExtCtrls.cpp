#include "framework/win/ExtCtrls.h"

//--- TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) { TControl::SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut value) {
    FBevelOuter = value;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value) {
    FBevelInner = value;
    Invalidate();
}

void TPanel::SetBevelWidth(int value) {
    FBevelWidth = value;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
    FAlignment = value;
    Invalidate();
}

void TPanel::Paint() {
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        const bool raised = cut == bvRaised;
        canvas.Frame3D(r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
    };
    bevel(FBevelOuter);
    bevel(FBevelInner);
    if (Caption().empty()) return;
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    const UINT align = FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    canvas.DrawText(Caption(), r, align | DT_VCENTER | DT_SINGLELINE);
}

//--- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { TControl::SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) {
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    FStyle = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& canvas = Canvas();
    const TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width(), h = Height();
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas.Pen().SetColor(color);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    TRect r = ClientRect();
    switch (FShape) {
    case bsBox: canvas.Frame3D(r, first, second, 1); break;
    case bsFrame:
        canvas.Frame3D(r, first, second, 1);
        canvas.Frame3D(r, second, first, 1);
        break;
    case bsTopLine: line(first, 0, 0, w, 0); line(second, 0, 1, w, 1); break;
    case bsBottomLine: line(first, 0, h - 2, w, h - 2); line(second, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(first, 0, 0, 0, h); line(second, 1, 0, 1, h); break;
    case bsRightLine: line(first, w - 2, 0, w - 2, h); line(second, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
    }
}

//--- TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    TControl::SetBounds(0, 0, 105, 105);
    FPicture.OnChange = [this](TObject*) {
        AdjustSize();
        Invalidate();
    };
}

void TImage::SetStretch(bool value) {
    FStretch = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    FCenter = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight) {
    if (FPicture.Empty()) return false;
    NewWidth = FPicture.Width();
    NewHeight = FPicture.Height();
    return true;
}

void TImage::Paint() {
    TRect r = ClientRect();
    if (!FTransparent) {
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(r);
    }
    if (!FStretch && FCenter)
        r = Bounds((r.Width() - FPicture.Width()) / 2, (r.Height() - FPicture.Height()) / 2, FPicture.Width(), FPicture.Height());
    FPicture.Draw(Canvas().Handle(), r, FStretch);
}
