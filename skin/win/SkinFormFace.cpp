// TskSkinForm: the skin objects that paint themselves and their events, the animation
// timer, the rolled-up face of a form without the non-client area, and the controls
// placed in the skin's named areas.

#include <algorithm>

#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkFormLayout.h"
#include "skin/core/SkObjectPainter.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinForm.h"

namespace {

// Paints objects onto the frame bitmap; texts wait until the bitmap is a GDI one.
class TFramePainter : public TSkObjectPainter {
public:
    TFramePainter(TSkBitmap& target, const TskSkinData& skin, const TSkBitmap& frame)
        : FTarget(target), FSkin(skin), FFrame(frame) {}

    const TSkBitmap* Picture(int picture) const override
    {
        const TSkBitmap* p = picture == kSkFramePicture    ? &FFrame
                             : picture == kSkRollUpPicture ? &FSkin.FRollUpPicture()
                                                           : FSkin.ActivePicture(picture);
        return p && !p->Empty() ? p : nullptr;
    }
    void Copy(const TRect& dest, int picture, const TRect& source) override
    {
        if (const TSkBitmap* p = Picture(picture); p && !IsNullRect(dest) && !IsNullRect(source))
            TSkCanvas(FTarget).CopyRect(dest, *p, source);
    }
    void DrawImage(int x, int y, const TSkBitmap& image) override { TSkCanvas(FTarget).Draw(x, y, image); }
    void Text(const TRect& box, const std::string& text, const TskSkinFont& font, int color,
              TSkAlignment alignment) override
    {
        FTexts.push_back({box, text, font, color, alignment});
    }

    void DrawTexts(TCanvas& canvas, int charset) const
    {
        for (const TText& t : FTexts) {
            TFont& f = canvas.Font();
            f.SetName(t.Font.Name);
            f.SetHeight(t.Font.Height);
            f.SetStyle(ToFontStyles(t.Font.Style));
            f.SetCharset(static_cast<BYTE>(charset));
            f.SetColor(static_cast<TColor>(t.Color));
            const SIZE size = canvas.TextExtent(t.Text);
            int x = t.Box.Left;
            if (t.Alignment == TSkAlignment::taRightJustify)
                x = t.Box.Right - size.cx;
            else if (t.Alignment == TSkAlignment::taCenter)
                x = t.Box.Left + (t.Box.Width() - size.cx) / 2;
            canvas.Brush().SetStyle(bsClear);
            canvas.TextRect(t.Box, x, t.Box.Top + (t.Box.Height() - size.cy) / 2, t.Text);
        }
    }

private:
    struct TText {
        TRect Box;
        std::string Text;
        TskSkinFont Font;
        int Color;
        TSkAlignment Alignment;
    };
    TSkBitmap& FTarget;
    const TskSkinData& FSkin;
    const TSkBitmap& FFrame;
    std::vector<TText> FTexts;
};

}  // namespace

// Objects that paint themselves

void TskSkinForm::PaintSelfPaintingObjects(TSkBitmap& whole, const TSkBitmap& frame,
                                           const std::vector<TskActiveSkinObject*>& objects, TBitmap& bitmap)
{
    TFramePainter painter(whole, *FSkinData, frame);
    FUserPaints.clear();
    for (TskActiveSkinObject* o : objects)
        o->Draw(painter, true);
    AssignSkBitmap(bitmap, whole);
    const int charset = FSkinData->ResourceStrData() ? FSkinData->ResourceStrData()->CharSet
                                                     : FDefCaptionFont.Charset();
    painter.DrawTexts(bitmap.Canvas(), charset);
    if (OnPaintEvent)
        for (const auto& [name, rect] : FUserPaints)
            OnPaintEvent(name, bitmap.Canvas(), rect);
    FUserPaints.clear();
}

void TskSkinForm::UserPaint(const std::string& name, TSkObjectPainter&, const TRect& rect)
{
    FUserPaints.emplace_back(name, rect);
}

void TskSkinForm::DrawCaptionFrame(TCanvas& canvas, const TskSkinCaptionObject& caption, int x, int textWidth,
                                   const TRect& box, bool active)
{
    if (!caption.Record)
        return;
    const TskDataSkinCaption& rec = *caption.Record;
    const TRect place = CaptionFrameRect(rec, x, textWidth, box);
    const TSkBitmap* source = FSkinData->ActivePicture(caption.ActivePictureIndex);
    if (IsNullRect(place) || !source)
        return;
    const TRect& look = active && !IsNullRect(rec.ActiveFrameRect) ? rec.ActiveFrameRect : rec.FrameRect;
    const int a = std::clamp(rec.FrameLeftOffset, 0, look.Width());
    const int r = std::clamp(rec.FrameRightOffset, 0, look.Width() - a);
    TSkBitmap frame;
    ComposeHSkinPicture(a, r, frame, *source, look, place.Width());
    if (frame.Empty())
        return;
    TBitmap image;
    AssignSkBitmap(image, frame);
    canvas.Draw(place.Left, place.Top, image);
}

// Object events

void TskSkinForm::ObjectMouseEvent(const TSkObjectMouseArgs& args)
{
    ObjectEvent(args.Kind, args.Name);
    const TskObjectMouseEvent* event = args.Kind == "down"    ? &OnMouseDownEvent
                                       : args.Kind == "up"    ? &OnMouseUpEvent
                                       : args.Kind == "move"  ? &OnMouseMoveEvent
                                       : args.Kind == "enter" ? &OnMouseEnterEvent
                                                              : &OnMouseLeaveEvent;
    if (*event)
        (*event)(args, KeyboardShiftState());
}

void TskSkinForm::ObjectValueChanged(const std::string& kind, const std::string& name, int value)
{
    if (kind == "switch" && OnSwitchChangeStateEvent)
        OnSwitchChangeStateEvent(name, value != 0);
    else if (kind == "trackbar" && OnTrackBarChangeValueEvent)
        OnTrackBarChangeValueEvent(name, value);
    else if (kind == "frameregulator" && OnFrameRegulatorChangeValueEvent)
        OnFrameRegulatorChangeValueEvent(name, value);
}

void TskSkinForm::PopupSystemMenuUnder(const TRect& r)
{
    if (!FForm)
        return;
    const TRect b = FormBounds();
    PopupSystemMenu(b.Left + r.Left, b.Top + r.Bottom);
}

// Animation

void TskSkinForm::StartAnimateTimer() { FAnimateTimer->SetEnabled(true); }

void TskSkinForm::AnimateTick(TObject*)
{
    if (!FRouter.AnimateTick())
        FAnimateTimer->SetEnabled(false);
}

// Roll-up of the face (no non-client area)

void TskSkinForm::PlaceRollUpObjects()
{
    if (SupportNCArea || !FRolledUp || !FSkinActive)
        return;
    const TskSkinFormInfo& fi = FSkinData->FormInfo;
    const int d = FFrameWidth - FSkinData->FRollUpPicture().Width();
    for (auto& o : FRouter.Objects)
        if (o->RollUp)
            o->ObjectRect = RollUpObjectRect(o->SkinRect, fi.RollUpLeftPoint.X, fi.RollUpRightPoint.X, d);
}

void TskSkinForm::SetRollUpRegion()
{
    if (!FForm || !FForm->HandleAllocated())
        return;
    const TskSkinFormInfo& fi = FSkinData->FormInfo;
    const TSkBitmap& mask = FSkinData->FRollUpMask();
    if (mask.Empty()) {
        RemoveRegion();
        return;
    }
    TRegion region = CreateMaskRegion(RollUpFacePicture(mask, fi.RollUpLeftPoint.X, fi.RollUpRightPoint.X, FFrameWidth));
    if (!region) {
        RemoveRegion();
        return;
    }
    FMaskStrips = {};
    if (SetWindowRgn(FForm->Handle(), region.Get(), TRUE)) {
        region.Release();
        FHasRegion = true;
    }
}

void TskSkinForm::RollUpFace(bool value)
{
    if (!FForm || !FForm->HandleAllocated())
        return;
    const TskSkinFormInfo& fi = FSkinData->FormInfo;
    const TSkBitmap& picture = FSkinData->FRollUpPicture();
    FRouter.UpdateHover({-1, -1}, false);
    FMouseTimer->SetEnabled(false);
    FMorphTimer->SetEnabled(false);
    const TRect b = FormBounds();
    if (value) {
        FRollUpHeight = b.Height();
        const int width = fi.RollUpLeftPoint.X < fi.RollUpRightPoint.X ? b.Width() : picture.Width();
        if (FHiddenControls.empty())
            for (int i = 0; i < FForm->ControlCount(); ++i)
                if (TControl* c = FForm->Controls(i); c->Visible()) {
                    c->SetVisible(false);
                    c->FreeNotification(this);
                    FHiddenControls.push_back(c);
                }
        FFrameWidth = width;
        FFrameHeight = picture.Height();
        SetFormBounds(Bounds(b.Left, b.Top, width, picture.Height()));
        PlaceRollUpObjects();
        SetRollUpRegion();
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
    } else {
        ShowHiddenControls();
        const TSkBitmap& face = FSkinData->FPicture();
        if (SkinStretches(fi)) {
            SetFormBounds(Bounds(b.Left, b.Top, b.Width(), FRollUpHeight));
            if (!(MinWidth > 0 && MinHeight > 0))
                FForm->SetClientSize(std::max(FForm->ClientWidth(), face.Width()),
                                     std::max(FForm->ClientHeight(), face.Height()));
        } else {
            FForm->SetClientSize(face.Width(), face.Height());
        }
        const TRect now = FormBounds();
        FFrameWidth = now.Width();
        FFrameHeight = now.Height();
        UpdateFrame(true);
    }
    FMouseTimer->SetEnabled(true);
    FMorphTimer->SetEnabled(true);
}

// Area controls

void TskSkinForm::FindAreaControls()
{
    FAreaControls.clear();
    if (!FSkinActive || !FForm)
        return;
    for (int i = 0; i < FForm->ControlCount(); ++i) {
        auto* c = dynamic_cast<TskSkinControl*>(FForm->Controls(i));
        if (!c || c->AreaName.empty())
            continue;
        const int index = FSkinData->IndexOfSkinArea(c->AreaName);
        if (index < 0)
            continue;
        c->SetAlign(alNone);
        c->FreeNotification(this);
        FAreaControls.emplace_back(c, FSkinData->Areas[static_cast<size_t>(index)].AreaRect);
    }
}

void TskSkinForm::PlaceAreaControls()
{
    if (!FSkinActive || FRolledUp)
        return;
    const TSkBitmap& pic = FSkinData->FPicture();
    for (const auto& [control, area] : FAreaControls) {
        const TRect r = AreaControlBounds(area, FSkinData->FormInfo, pic.Width(), pic.Height(), FGeometry.DX,
                                          FGeometry.DY);
        control->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
}

void TskSkinForm::ShowHiddenControls()
{
    for (TControl* c : FHiddenControls)
        c->SetVisible(true);
    FHiddenControls.clear();
}

void TskSkinForm::ForgetControl(TComponent* component)
{
    std::erase_if(FAreaControls, [component](const auto& a) { return a.first == component; });
    std::erase(FHiddenControls, component);
}
