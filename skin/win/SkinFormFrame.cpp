#include "skin/win/SkinForm.h"

#include <algorithm>

#include "skin/core/SkCanvas.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkFormLayout.h"
#include "skin/core/SkGlyphs.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkSystem.h"

namespace {

int Rgb(TColor c) { return static_cast<int>(ColorToRGB(c)); }

// The part of a picture for an object grown in one direction: the ends outside the frame's
// corner points kept, the middle tiled.
TSkBitmap ObjectImage(const TSkBitmap& source, const TRect& sourceRect, const TskActiveSkinObject& o,
                      const TskSkinFormInfo& fi, bool stretches)
{
    const int w = o.ObjectRect.Width(), h = o.ObjectRect.Height();
    TSkBitmap image(std::max(w, 1), std::max(h, 1));
    TSkCanvas c(image);
    if (!stretches || (w == o.SkinRect.Width() && h == o.SkinRect.Height())) {
        c.CopyRect({0, 0, w, h}, source, sourceRect);
        return image;
    }
    if (h == o.SkinRect.Height()) {
        const int a = std::clamp(fi.LTPoint.X - o.SkinRect.Left, 0, sourceRect.Width());
        const int r = std::clamp(o.SkinRect.Right - fi.RTPoint.X, 0, sourceRect.Width() - a);
        ComposeHSkinPicture(a, r, image, source, sourceRect, w);
    } else {
        const int a = std::clamp(fi.LTPoint.Y - o.SkinRect.Top, 0, sourceRect.Height());
        const int r = std::clamp(o.SkinRect.Bottom - fi.LBPoint.Y, 0, sourceRect.Height() - a);
        ComposeVSkinPicture(a, r, image, source, sourceRect, h);
    }
    return image;
}


}  // namespace

// Geometry

void TskSkinForm::ComputeGeometry()
{
    if (!FForm)
        return;
    const TRect b = FormBounds();
    if (FFrameWidth == 0) FFrameWidth = b.Width();
    if (FFrameHeight == 0) FFrameHeight = b.Height();
    if (FSkinActive) {
        const TSkBitmap& pic = FSkinData->FPicture();
        const TskSkinFormInfo& fi = FSkinData->FormInfo;
        FGeometry = ComputeFrameGeometry(fi, pic.Width(), pic.Height(), FFrameWidth, FFrameHeight);
        for (auto& o : FRouter.Objects)
            o->ObjectRect = MapSkinRect(o->SkinRect, fi, pic.Width(), pic.Height(), FGeometry.DX, FGeometry.DY);
        const int icon = GetSystemMetrics(SM_CXSMICON);
        LayoutCaptionButtons(FRouter.Objects, FGeometry, fi, {icon, GetSystemMetrics(SM_CYSMICON)});
        PlaceRollUpObjects();
        return;
    }
    // The default frame: its buttons along the caption.
    const int ch = DefaultCaptionHeight(ToolWindow()), bs = DefaultButtonSize(ToolWindow());
    TSkDefaultButtonsShown shown;
    TskSkinStdButtonObject* byCommand[7] = {};
    for (auto& o : FRouter.Objects)
        if (auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get()))
            byCommand[sb->Command] = sb;
    auto visible = [&](TskCommand c) { return byCommand[c] && byCommand[c]->Visible; };
    shown.Close = visible(cmClose);
    shown.Maximize = visible(cmMaximize);
    shown.Minimize = visible(cmMinimize);
    shown.RollUp = visible(cmRollUp);
    shown.Tray = visible(cmMinimizeToTray);
    shown.SysMenu = visible(cmSysMenu);
    const int iconSize = FShowIcon ? GetSystemMetrics(SM_CXSMICON) : bs;
    const TSkDefaultButtons l = LayoutDefaultButtons(FFrameWidth, ch, bs, iconSize, shown);
    const TRect rects[7] = {l.Close, l.Maximize, l.Minimize, l.SysMenu, {}, l.RollUp, l.Tray};
    for (int c = 0; c < 7; ++c)
        if (byCommand[c])
            byCommand[c]->ObjectRect = rects[c];
    FGeometry = {};
    FGeometry.Width = FFrameWidth;
    FGeometry.Height = FFrameHeight;
    FGeometry.CaptionRect = l.Caption;
    FGeometry.ClientRect = {3, ch + 3, FFrameWidth - 3, FFrameHeight - 3};
}

void TskSkinForm::UpdateFrame(bool full)
{
    (void)full;
    if (!FSkinActive || !FForm || !FForm->HandleAllocated())
        return;
    ComputeGeometry();
    if (!SupportNCArea && FRolledUp)
        SetRollUpRegion();
    else
        SetRegion(true);
    if (OnChangeClientRect)
        OnChangeClientRect(FGeometry.ClientRect);
    if (!SupportNCArea) {
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
        PlaceAreaControls();
    } else if (!FHasRegion) {
        SendNCPaint();
    }
}

bool TskSkinForm::MaskSolid(TPoint p) const { return MaskStripsSolid(FMaskStrips, FGeometry.MaskRect, p); }

// Hit testing

int TskSkinForm::HitTest(TPoint p)
{
    ComputeGeometry();
    if (FSkinActive) {
        TSkHitInput in;
        in.Geometry = &FGeometry;
        in.BorderWidth = FSkinData->FormInfo.BorderWidth;
        in.RolledUp = FRolledUp;
        in.Minimized = FWindowState == 1;
        in.Maximized = FWindowState == 2;
        in.Sizeable = Sizeable;
        in.InSizeMove = FInSizeMove;
        in.ObjectHovered = FRouter.HoverIndex != -1;
        in.HasMask = !FSkinData->MaskName.empty() && !FSkinData->FMask().Empty();
        in.OnCaptionObject = [this](TPoint q) { return FRouter.OnCaptionObject(q); };
        in.MaskSolid = [this](TPoint q) { return MaskSolid(q); };
        return HitTestSkinned(in, p);
    }
    TSkDefaultHitInput in;
    in.Width = FGeometry.Width;
    in.Height = FGeometry.Height;
    in.CaptionHeight = DefaultCaptionHeight(ToolWindow());
    in.CaptionRect = FGeometry.CaptionRect;
    in.Maximized = FWindowState == 2;
    in.Minimized = FWindowState == 1;
    in.RolledUp = FRolledUp;
    in.Sizeable = Sizeable;
    in.ObjectHovered = FRouter.HoverIndex != -1 || FRouter.ObjectAt(p) != -1;
    return HitTestDefault(in, p);
}

// Painting

void TskSkinForm::PaintObject(TskActiveSkinObject&)
{
    // An object is part of the frame picture (or the face): that is drawn again around it.
    if (FrameShown())
        SendNCPaint();
    else if (!SupportNCArea && FForm && FForm->HandleAllocated())
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
}

void TskSkinForm::PaintSkinnedFrame(HDC dc)
{
    if (!FSkinActive)
        return;
    const TPoint minimum = MinimumSize();
    ComputeGeometry();
    const int W = FGeometry.Width, H = FGeometry.Height;
    if (IsNullRect(FSkinData->FormInfo.ClRect) || W < minimum.X || H < minimum.Y)
        return;
    TBitmap bitmap;
    RenderSkin(bitmap, false);
    const int saved = SaveDC(dc);
    const TRect& cr = FGeometry.ClientRect;
    if (!IsNullRect(cr) && !FRolledUp)
        ExcludeClipRect(dc, cr.Left, cr.Top, cr.Right, cr.Bottom);
    BitBlt(dc, 0, 0, W, H, bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void TskSkinForm::RenderSkin(TBitmap& bitmap, bool face)
{
    const TskSkinFormInfo& fi = FSkinData->FormInfo;
    const int W = std::max(FGeometry.Width, 1), H = std::max(FGeometry.Height, 1);
    const bool active = IsFormActive();
    const TSkBitmap& picture = FSkinData->FPicture();
    const TSkBitmap& frame = !active && !FSkinData->FInActivePicture().Empty() ? FSkinData->FInActivePicture() : picture;
    const TSkinStretch stretch{fi.LeftStretch, fi.RightStretch, fi.TopStretch, fi.BottomStretch};
    TSkBitmap whole(W, H);
    TSkCanvas c(whole);
    if (face && FRolledUp && !FSkinData->FRollUpPicture().Empty()) {
        c.Draw(0, 0, RollUpFacePicture(FSkinData->FRollUpPicture(), fi.RollUpLeftPoint.X, fi.RollUpRightPoint.X, W));
    } else if (face) {
        // The whole window is the face: the picture composed to its size, or as it is.
        if (SkinStretches(fi))
            ComposeSkinPicture(frame, frame.BoundsRect(), PictureFrame(fi), whole, W, H, FGeometry.NewFrame(), stretch,
                               true);
        else
            c.Draw(0, 0, frame);
    } else {
        const TSkinBorders parts = ComposeSkinBordersStretched(frame, frame.BoundsRect(), PictureFrame(fi), W, H,
                                                               FGeometry.NewFrame(), stretch);
        const int top = parts.Top.Height();
        c.Draw(0, 0, parts.Top);
        c.Draw(0, top, parts.Left);
        c.Draw(W - parts.Right.Width(), top, parts.Right);
        c.Draw(0, H - parts.Bottom.Height(), parts.Bottom);
    }
    const bool stretches = SkinStretches(fi);
    std::vector<TskSkinCaptionObject*> captions;
    std::vector<TskActiveSkinObject*> selfPainting;
    for (auto& o : FRouter.Objects) {
        if (!o->ShownInRollUpState() || !o->Visible)
            continue;
        if (o->PaintsItself()) {
            selfPainting.push_back(o.get());
            continue;
        }
        const TSkBitmap* ap = FSkinData->ActivePicture(o->ActivePictureIndex);
        // The normal look of an object of the rolled-up face lies in the roll-up picture.
        const TSkBitmap& own = o->RollUp && !FSkinData->FRollUpPicture().Empty() ? FSkinData->FRollUpPicture() : picture;
        const TRect& r = o->ObjectRect;
        auto copy = [&](const TSkBitmap* source, const TRect& sr) {
            if (source && !IsNullRect(sr))
                c.Draw(r.Left, r.Top, ObjectImage(*source, sr, *o, fi, stretches));
        };
        if (auto* cap = dynamic_cast<TskSkinCaptionObject*>(o.get())) {
            cap->Active = active;
            // A morph shows its factor until it reaches the end it heads for, 0 included.
            const bool between = active ? cap->MorphFactor < 1 : cap->MorphFactor > 0;
            if (cap->Morphing && ap && !IsNullRect(cap->ActiveSkinRect) && between) {
                TskEffectBmp blend(ObjectImage(own, cap->SkinRect, *o, fi, stretches));
                blend.MorphBy(cap->MorphKind, TskEffectBmp(ObjectImage(*ap, cap->ActiveSkinRect, *o, fi, stretches)),
                              cap->MorphFactor);
                c.Draw(r.Left, r.Top, blend.ToBitmap());
            } else if (active && !IsNullRect(cap->ActiveSkinRect)) {
                copy(ap, cap->ActiveSkinRect);
            }
            captions.push_back(cap);
            continue;
        }
        auto* b = dynamic_cast<TskSkinButtonObject*>(o.get());
        auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get());
        if (o->Enabled && !active && !IsNullRect(o->InActiveSkinRect)) {
            copy(ap, o->InActiveSkinRect);
            continue;
        }
        if (sb && sb->InRestoreState() && !IsNullRect(sb->RestoreRect) && sb->Enabled &&
            (active || IsNullRect(sb->InActiveSkinRect))) {
            if (sb->Down() && sb->MouseIn && !IsNullRect(sb->RestoreDownRect))
                copy(ap, sb->RestoreDownRect);
            else if (sb->Active && !IsNullRect(sb->RestoreActiveRect))
                copy(ap, sb->RestoreActiveRect);
            else
                copy(ap, sb->RestoreRect);
            continue;
        }
        if (b && !b->Enabled && !IsNullRect(b->DisableSkinRect)) {
            copy(ap, b->DisableSkinRect);
            continue;
        }
        if (b && b->Down() && !IsNullRect(b->DownRect) && (b->GroupIndex != -1 || b->MouseIn)) {
            copy(ap, b->DownRect);
            continue;
        }
        const bool between = o->Active ? o->MorphFactor < 1 : o->MorphFactor > 0;
        if (o->Morphing && between && ap && !IsNullRect(o->ActiveSkinRect)) {
            const TSkBitmap& normalSource = o->SkinRectInAPicture ? *ap : own;
            TskEffectBmp normal(ObjectImage(normalSource, o->SkinRect, *o, fi, stretches));
            const TskEffectBmp hover(ObjectImage(*ap, o->ActiveSkinRect, *o, fi, stretches));
            normal.MorphBy(o->MorphKind, hover, o->MorphFactor);
            c.Draw(r.Left, r.Top, normal.ToBitmap());
            continue;
        }
        if (o->Active && !IsNullRect(o->ActiveSkinRect))
            copy(ap, o->ActiveSkinRect);
        else if (o->SkinRectInAPicture)
            copy(ap, o->SkinRect);
    }
    PaintSelfPaintingObjects(whole, frame, selfPainting, bitmap);
    TCanvas& canvas = bitmap.Canvas();
    for (TskSkinCaptionObject* cap : captions) {
        if (cap->Text.empty() || !cap->Record)
            continue;
        const TskDataSkinCaption& rec = *cap->Record;
        TFont& font = canvas.Font();
        font.SetName(rec.Font.Name);
        font.SetHeight(rec.Font.Height);
        font.SetStyle(ToFontStyles(rec.Font.Style));
        font.SetCharset(FSkinData->ResourceStrData() ? FSkinData->ResourceStrData()->CharSet
                                                      : FDefCaptionFont.Charset());
        const int color = active ? rec.ActiveFontColor : rec.Font.Color;
        TRect box = cap->TextBox();
        box = {box.Left + cap->ObjectRect.Left, box.Top + cap->ObjectRect.Top, box.Right + cap->ObjectRect.Left,
               box.Bottom + cap->ObjectRect.Top};
        const std::string text = FitTextToWidth(canvas, cap->Text, box.Width());
        const SIZE size = canvas.TextExtent(text);
        int x = box.Left;
        if (rec.Alignment == TSkAlignment::taRightJustify)
            x = box.Right - size.cx;
        else if (rec.Alignment == TSkAlignment::taCenter)
            x = box.Left + (box.Width() - size.cx) / 2;
        const int y = box.Top + (box.Height() - size.cy) / 2;
        DrawCaptionFrame(canvas, *cap, x, size.cx, box, active);
        canvas.Brush().SetStyle(bsClear);
        if (rec.Shadow) {
            font.SetColor(static_cast<TColor>(active ? rec.ActiveShadowColor : rec.ShadowColor));
            canvas.TextRect(box, x + 1, y + 1, text);
        }
        font.SetColor(static_cast<TColor>(color));
        canvas.TextRect(box, x, y, text);
    }
    if (FShowIcon)
        for (auto& o : FRouter.Objects)
            if (auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get()); sb && sb->DrawsIcon && sb->Visible)
                if (HICON icon = WindowIcon())
                    DrawIconEx(canvas.Handle(), sb->ObjectRect.Left, sb->ObjectRect.Top, icon, 0, 0, 0, nullptr,
                               DI_NORMAL);
    if (!active && fi.AutoRenderingInActiveImage) {
        TskEffectBmp effect(SkBitmapFromBitmap(bitmap));
        effect.ApplyInactiveEffect(fi.InActiveEffect);
        AssignSkBitmap(bitmap, effect.ToBitmap());
    }
}

void TskSkinForm::DefaultCaptionFont(TFont& font, bool active) const
{
    font.Assign(active ? FDefCaptionFont : FDefInActiveCaptionFont);
    if (FSkinData && FSkinData->ResourceStrData())
        font.SetCharset(FSkinData->ResourceStrData()->CharSet);
}

void TskSkinForm::PaintDefaultFrame(HDC dc)
{
    if (FRouter.Objects.empty())
        MakeObjects();
    ComputeGeometry();
    const int W = FGeometry.Width, H = FGeometry.Height;
    if (W <= 0 || H <= 0)
        return;
    const bool active = IsFormActive();
    const int ch = DefaultCaptionHeight(ToolWindow());
    TBitmap bitmap(W, H);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, W, H});
    // The caption's grooves between the system-menu button and the right-hand buttons.
    const TRect& cap = FGeometry.CaptionRect;
    const int lineLeft = cap.Left + 2, lineRight = cap.Right - 3;
    if (ch - 4 > 1)
        for (int i = 0; i < ch - 5; ++i) {
            canvas.Pen().SetColor(i % 2 == 0 ? clBtnHighlight : clBtnShadow);
            canvas.MoveTo(lineLeft, 3 + 2 + i);
            canvas.LineTo(lineRight, 3 + 2 + i);
        }
    if (FForm && !FForm->Caption().empty()) {
        DefaultCaptionFont(canvas.Font(), active);
        const std::string text = FitTextToWidth(canvas, FForm->Caption(), std::max(0, lineRight - lineLeft - 5));
        const SIZE size = canvas.TextExtent(text);
        const int boxWidth = size.cx + 5;
        const int boxLeft = lineLeft + (lineRight - lineLeft - boxWidth) / 2;
        const TRect box{boxLeft, 3, boxLeft + boxWidth, 3 + ch};
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(box);
        canvas.Brush().SetStyle(bsClear);
        canvas.TextOut(box.Left + 3, box.Top + (ch - size.cy) / 2, text);
    }
    // The default buttons.
    for (auto& o : FRouter.Objects) {
        auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get());
        if (!b || !b->Visible || IsNullRect(b->ObjectRect))
            continue;
        const TRect& r = b->ObjectRect;
        if (b->DrawsIcon) {
            if (HICON icon = WindowIcon())
                DrawIconEx(canvas.Handle(), r.Left, r.Top, icon, 0, 0, 0, nullptr, DI_NORMAL);
            continue;
        }
        TSkBitmap face(r.Width(), r.Height(), SkPixelFromColor(Rgb(clBtnFace)));
        TSkCanvas fc(face);
        const bool pressed = b->Down() && b->MouseIn;
        if (pressed || b->MouseIn) {
            fc.BrushColor = SkPixelFromColor(pressed ? 0xB59385 : 0xD2BDB6);
            fc.FillRect(face.BoundsRect());
            fc.PenColor = SkPixelFromColor(0x800000);
            fc.FrameRect(face.BoundsRect());
        }
        const int color = Rgb(b->Enabled ? clBtnText : clBtnShadow);
        const int gx = r.Width() / 2 - 5 + (pressed ? 1 : 0), gy = r.Height() / 2 - 4 + (pressed ? 1 : 0);
        switch (b->Command) {
        case cmClose: DrawCloseGlyph(fc, gx, gy, color); break;
        case cmMaximize:
            (FWindowState == 2 ? DrawRestoreGlyph : DrawMaximizeGlyph)(fc, gx, gy, color);
            break;
        case cmMinimize:
            (FWindowState == 1 ? DrawRestoreGlyph : DrawMinimizeGlyph)(fc, gx, gy, color);
            break;
        case cmSysMenu: DrawSysMenuGlyph(fc, gx, gy, color); break;
        case cmRollUp: (FRolledUp ? DrawRollUpGlyph : DrawRollDownGlyph)(fc, gx, gy, color); break;
        case cmMinimizeToTray: DrawTrayGlyph(fc, gx, gy, color); break;
        default: break;
        }
        TBitmap piece;
        AssignSkBitmap(piece, face);
        canvas.Draw(r.Left, r.Top, piece);
    }
    TRect ring{0, 0, W, H};
    canvas.Frame3D(ring, cl3DLight, cl3DDkShadow, 1);
    canvas.Frame3D(ring, clBtnHighlight, clBtnShadow, 1);
    canvas.Frame3D(ring, clBtnFace, clBtnFace, 1);
    const int saved = SaveDC(dc);
    const TRect& cr = FGeometry.ClientRect;
    if (!FRolledUp)
        ExcludeClipRect(dc, cr.Left, cr.Top, cr.Right, cr.Bottom);
    BitBlt(dc, 0, 0, W, H, canvas.Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}
