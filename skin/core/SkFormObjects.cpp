#include "skin/core/SkFormObjects.h"

#include <algorithm>
#include <cstdint>

#include "skin/core/SkCanvas.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFrameObjects.h"
#include "skin/core/SkLabelObjects.h"
#include "skin/core/SkObjectPainter.h"
#include "skin/core/SkValueObjects.h"

// TskActiveSkinObject

TskActiveSkinObject::TskActiveSkinObject(TSkObjectHost& parent, const TskDataSkinObject* r, int activePictureCount)
    : Parent(parent)
{
    if (!r)
        return;
    IDName = r->IDName;
    Hint = r->Hint;
    SkinRect = r->SkinRect;
    ActiveSkinRect = r->ActiveSkinRect;
    InActiveSkinRect = r->InActiveSkinRect;
    ActivePictureIndex = r->ActivePictureIndex;
    Morphing = r->Morphing;
    MorphKind = r->MorphKind;
    CursorIndex = r->CursorIndex;
    RollUp = r->RollUp;
    SkinRectInAPicture = r->SkinRectInAPicture;
    if (ActivePictureIndex < 0 || ActivePictureIndex >= activePictureCount) {
        ActivePictureIndex = -1;
        ActiveSkinRect = NullRect();
    }
    ObjectRect = SkinRect;
}

void TskActiveSkinObject::FireMouse(const char* kind) const
{
    TSkObjectMouseArgs a;
    a.Kind = kind;
    a.Name = IDName;
    a.Rect = ObjectRect;
    Parent.ObjectMouseEvent(a);
}

void TskActiveSkinObject::FireMouse(const char* kind, int x, int y, const TSkMouseButton* button) const
{
    TSkObjectMouseArgs a;
    a.Kind = kind;
    a.Name = IDName;
    a.Rect = ObjectRect;
    a.HasPoint = true;
    a.Point = {x, y};
    if (button) {
        a.HasButton = true;
        a.Button = *button;
    }
    Parent.ObjectMouseEvent(a);
}

void TskActiveSkinObject::MouseDown(int x, int y, TSkMouseButton button) { FireMouse("down", x, y, &button); }

void TskActiveSkinObject::MouseUp(int x, int y, TSkMouseButton button)
{
    if (MouseIn)
        FireMouse("up", x, y, &button);
}

void TskActiveSkinObject::MouseMove(int x, int y) { FireMouse("move", x, y, nullptr); }

void TskActiveSkinObject::MouseEnter()
{
    MouseIn = true;
    Active = true;
    if (!IsNullRect(ActiveSkinRect))
        Redraw();
    FireMouse("enter");
}

void TskActiveSkinObject::MouseLeave()
{
    MouseIn = false;
    Active = false;
    if (!IsNullRect(ActiveSkinRect))
        Redraw();
    FireMouse("leave");
}

bool TskActiveSkinObject::CanMorph() const { return (Active && MorphFactor < 1) || (!Active && MorphFactor > 0); }

void TskActiveSkinObject::Redraw()
{
    if (Morphing)
        Parent.StartMorphTimer();
    else
        Parent.PaintObject(*this);
}

bool TskActiveSkinObject::MorphStep()
{
    MorphFactor = std::clamp(MorphFactor + (Active ? 0.2 : -0.2), 0.0, 1.0);
    Parent.PaintObject(*this);
    return CanMorph();
}

namespace {

// A blend larger than any screen is not built: the object shows its end look instead.
constexpr int64_t kMaxMorphPixels = int64_t{8} * 1024 * 1024;

}  // namespace

int TskActiveSkinObject::FramePicture() const { return RollUp ? kSkRollUpPicture : kSkFramePicture; }

void TskActiveSkinObject::Draw(TSkObjectPainter& painter, bool full)
{
    const TRect& r = ObjectRect;
    if (Enabled && !Parent.IsFormActive() && !IsNullRect(InActiveSkinRect)) {
        painter.Copy(r, ActivePictureIndex, InActiveSkinRect);
        return;
    }
    const int normalPicture = SkinRectInAPicture ? ActivePictureIndex : FramePicture();
    const bool between = Active ? MorphFactor < 1 : MorphFactor > 0;
    const TSkBitmap* hoverSource = painter.Picture(ActivePictureIndex);
    const TSkBitmap* normalSource = painter.Picture(normalPicture);
    if (Morphing && between && hoverSource && normalSource && !IsNullRect(ActiveSkinRect) && !IsNullRect(r) &&
        int64_t{r.Width()} * r.Height() <= kMaxMorphPixels) {
        auto sized = [&](const TSkBitmap& source, const TRect& sr) {
            TSkBitmap image(r.Width(), r.Height());
            TSkCanvas(image).CopyRect(image.BoundsRect(), source, sr);
            return image;
        };
        TskEffectBmp normal(sized(*normalSource, SkinRect));
        normal.MorphBy(MorphKind, TskEffectBmp(sized(*hoverSource, ActiveSkinRect)), MorphFactor);
        painter.DrawImage(r.Left, r.Top, normal.ToBitmap());
        return;
    }
    if (Active && !IsNullRect(ActiveSkinRect))
        painter.Copy(r, ActivePictureIndex, ActiveSkinRect);
    else if (SkinRectInAPicture || full)
        painter.Copy(r, normalPicture, SkinRect);
}

void TskUserObject::Draw(TSkObjectPainter& painter, bool) { Parent.UserPaint(IDName, painter, ObjectRect); }

bool TskActiveSkinObject::ShownInRollUpState() const
{
    return Parent.UsesNCArea() ? !RollUp : RollUp == Parent.FormRolledUp();
}

// TskSkinCaptionObject

TskSkinCaptionObject::TskSkinCaptionObject(TSkObjectHost& parent, const TskDataSkinCaption* record,
                                           int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount), Record(record),
      DefaultCaption(record && record->DefaultCaption)
{
}

void TskSkinCaptionObject::MouseDown(int x, int y, TSkMouseButton button)
{
    if (!Parent.UsesNCArea() && Parent.FormWindowState() != 2)
        Parent.StartFaceDrag();
    FireMouse("down", x, y, &button);
}

void TskSkinCaptionObject::MouseUp(int x, int y, TSkMouseButton button)
{
    if (!Parent.UsesNCArea())
        Parent.StopFaceDrag();
    FireMouse("up", x, y, &button);
}

void TskSkinCaptionObject::MouseEnter()
{
    MouseIn = true;
    FireMouse("enter");
}

void TskSkinCaptionObject::MouseLeave()
{
    MouseIn = false;
    FireMouse("leave");
}

TRect TskSkinCaptionObject::TextBox() const
{
    if (!Record)
        return {0, 0, ObjectRect.Width(), ObjectRect.Height()};
    TRect box = Record->TextRct;
    box.Right += ObjectRect.Width() - SkinRect.Width();
    if (!IsNullRect(Record->FrameRect)) {
        box.Left += Record->FrameTextRect.Left;
        box.Top += Record->FrameTextRect.Top;
        box.Right += Record->FrameTextRect.Right - Record->FrameRect.Width();
    }
    return box;
}

// TSkMenuItemLink

void TSkMenuItemLink::Set(TMenuItem* item)
{
    if (item == FItem)
        return;
    if (FItem)
        FHost.WatchMenuItem(FItem, false);
    FItem = item;
    if (item)
        FHost.WatchMenuItem(item, true);
}

// TskSkinButtonObject

TskSkinButtonObject::TskSkinButtonObject(TSkObjectHost& parent, const TskDataSkinButton* record,
                                         int activePictureCount)
    : TskActiveSkinObject(parent, record, activePictureCount)
{
    if (record) {
        DownRect = record->DownRect;
        DisableSkinRect = record->DisableSkinRect;
        GroupIndex = record->GroupIndex;
    }
}

void TskSkinButtonObject::SetDown(bool value)
{
    FDown = value;
    const bool hasDownRect = !IsNullRect(DownRect);
    if (!value) {
        if (!hasDownRect)
            return;
        if (GroupIndex != -1 || HasMenu())
            Active = false;
        if (Morphing)
            Parent.PaintObject(*this);
        Redraw();
        return;
    }
    // The pressed look shows at once.
    if (hasDownRect) {
        if (Morphing)
            MorphFactor = 1;
        Parent.PaintObject(*this);
    }
    if (GroupIndex == -1 || !Siblings)
        return;
    for (const auto& o : *Siblings) {
        auto* b = dynamic_cast<TskSkinButtonObject*>(o.get());
        if (b && b != this && b->GroupIndex == GroupIndex && b->Down())
            b->SetDown(false);
    }
}

void TskSkinButtonObject::MouseDown(int x, int y, TSkMouseButton button)
{
    if (!Enabled)
        return;
    if (button == TSkMouseButton::Left && !FDown) {
        SetDown(true);
        if (HasMenu())
            Parent.OpenButtonMenu(*this);
    }
    TskActiveSkinObject::MouseDown(x, y, button);
}

void TskSkinButtonObject::MouseUp(int x, int y, TSkMouseButton button)
{
    if (!Enabled)
        return;
    if (button == TSkMouseButton::Left && FDown && !HasMenu() && GroupIndex == -1)
        SetDown(false);
    TskActiveSkinObject::MouseUp(x, y, button);
}

void TskSkinButtonObject::MouseEnter()
{
    MouseIn = true;
    Active = true;
    if (FDown && !IsNullRect(DownRect)) {
        if (GroupIndex == -1)
            Parent.PaintObject(*this);
    } else if (!IsNullRect(ActiveSkinRect)) {
        Redraw();
    }
    FireMouse("enter");
}

void TskSkinButtonObject::MouseLeave()
{
    MouseIn = false;
    const bool staysDown = FDown && !IsNullRect(DownRect) && (HasMenu() || GroupIndex != -1);
    if (!staysDown) {
        Active = false;
        if (FDown && Morphing)
            MorphFactor = 1;
        if (!IsNullRect(ActiveSkinRect) || (!IsNullRect(DownRect) && GroupIndex == -1))
            Redraw();
    }
    FireMouse("leave");
}

// TskSkinStdButtonObject

TskSkinStdButtonObject::TskSkinStdButtonObject(TSkObjectHost& parent, const TskDataSkinStdButton* record,
                                               int activePictureCount)
    : TskSkinButtonObject(parent, record, activePictureCount)
{
    if (record) {
        Command = record->Command;
        RestoreRect = record->RestoreRect;
        RestoreActiveRect = record->RestoreActiveRect;
        RestoreDownRect = record->RestoreDownRect;
    }
}

TskSkinStdButtonObject::TskSkinStdButtonObject(TSkObjectHost& parent, const std::string& name, TskCommand command)
    : TskSkinButtonObject(parent, nullptr, 0), Command(command), HasSkinRecord(false)
{
    IDName = name;
    SkinRectInAPicture = true;
    SkinRect = {0, 0, 1, 1};
    ObjectRect = SkinRect;
}

bool TskSkinStdButtonObject::InRestoreState() const
{
    switch (Command) {
    case cmMaximize: return Parent.FormWindowState() == 2;
    case cmMinimize: return Parent.FormWindowState() == 1;
    case cmRollUp: return Parent.FormRolledUp();
    default: return false;
    }
}

void TskSkinStdButtonObject::MouseDown(int, int, TSkMouseButton button)
{
    if (!Enabled || button != TSkMouseButton::Left || FDown)
        return;
    SetDown(true);
    // The form gives a system-menu button its system menu as the menu item.
    if (Command == cmSysMenu)
        Parent.OpenButtonMenu(*this);
}

void TskSkinStdButtonObject::MouseUp(int x, int y, TSkMouseButton button)
{
    // The command runs for a left release over the button that was pressed on it.
    const bool run = Enabled && button == TSkMouseButton::Left && FDown && MouseIn;
    if (Command == cmClose) {
        TskSkinButtonObject::MouseUp(x, y, button);
        if (run && Active)
            Parent.RunCommand(cmClose);
        return;
    }
    if (run && Command != cmSysMenu && Command != cmDefault)
        Parent.RunCommand(Command);
    TskSkinButtonObject::MouseUp(x, y, button);
}

void TskSkinStdButtonObject::DblClick()
{
    if (Command == cmSysMenu)
        Parent.CloseForm();
}

bool TskSkinStdButtonObject::CanMorph() const { return !DrawsIcon && TskActiveSkinObject::CanMorph(); }

// Creation and border icons

std::vector<std::unique_ptr<TskActiveSkinObject>> CreateSkinObjects(TSkObjectHost& host, const TskSkinData& skin)
{
    std::vector<std::unique_ptr<TskActiveSkinObject>> objects;
    const int pictures = skin.ActivePictureCount();
    for (const auto& r : skin.ObjectList) {
        if (auto* sb = dynamic_cast<const TskDataSkinStdButton*>(r.get())) {
            if (dynamic_cast<const TskDataSkinMainMenuBarButton*>(r.get()))
                continue;
            objects.push_back(std::make_unique<TskSkinStdButtonObject>(host, sb, pictures));
        } else if (auto* b = dynamic_cast<const TskDataSkinButton*>(r.get())) {
            objects.push_back(std::make_unique<TskSkinButtonObject>(host, b, pictures));
        } else if (auto* c = dynamic_cast<const TskDataSkinCaption*>(r.get())) {
            objects.push_back(std::make_unique<TskSkinCaptionObject>(host, c, pictures));
        } else if (auto* u = dynamic_cast<const TskDataUserObject*>(r.get())) {
            objects.push_back(std::make_unique<TskUserObject>(host, u, pictures));
        } else if (auto* k = dynamic_cast<const TskDataSkinKeyedObject*>(r.get())) {
            if (auto o = CreateValueObject(host, *k, pictures))
                objects.push_back(std::move(o));
            else if (auto f = CreateFrameObject(host, *k, pictures))
                objects.push_back(std::move(f));
            else if (auto l = CreateLabelObject(host, *k, pictures))
                objects.push_back(std::move(l));
        }
    }
    for (auto& o : objects)
        if (auto* b = dynamic_cast<TskSkinButtonObject*>(o.get()))
            b->Siblings = &objects;
    return objects;
}

std::vector<std::unique_ptr<TskActiveSkinObject>> CreateDefaultButtons(TSkObjectHost& host)
{
    std::vector<std::unique_ptr<TskActiveSkinObject>> objects;
    const std::pair<const char*, TskCommand> buttons[] = {
        {"closebutton", cmClose},   {"maxbutton", cmMaximize},     {"minbutton", cmMinimize},
        {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
    for (const auto& [name, command] : buttons)
        objects.push_back(std::make_unique<TskSkinStdButtonObject>(host, name, command));
    return objects;
}

TskCommand* CommandOf(TskActiveSkinObject& o)
{
    if (auto* b = dynamic_cast<TskSkinStdButtonObject*>(&o))
        return &b->Command;
    if (auto* a = dynamic_cast<TskSkinAnimateObject*>(&o); a && a->ButtonStyle)
        return &a->Command;
    return nullptr;
}

void ApplyBorderIcons(std::vector<std::unique_ptr<TskActiveSkinObject>>& objects, const TSkBorderIconsState& s,
                      const std::function<std::string(const char* key, const char* builtin)>& hintText)
{
    auto has = [&](TskBorderIcon i) { return (s.Icons & SkIcon(i)) != 0; };
    for (auto& o : objects) {
        TskCommand* command = CommandOf(*o);
        if (!command && o->Kind() != TSkObjectKind::Animate)
            continue;
        TskActiveSkinObject* b = o.get();
        bool hidden = s.HideCaptionButtons;
        switch (command ? *command : cmDefault) {
        case cmMinimizeToTray: hidden = hidden || !has(TskBorderIcon::biMinimizeToTray); break;
        case cmRollUp: hidden = hidden || !has(TskBorderIcon::biRollUp); break;
        case cmMaximize: hidden = hidden || !has(TskBorderIcon::biMaximize); break;
        case cmMinimize: hidden = hidden || !has(TskBorderIcon::biMinimize); break;
        case cmSysMenu: hidden = hidden || !has(TskBorderIcon::biSystemMenu); break;
        default: break;
        }
        b->Enabled = !hidden;
        b->Visible = !hidden || !b->SkinRectInAPicture;
    }
    TskSkinCaptionObject* first = nullptr;
    bool anyDefault = false;
    for (auto& o : objects)
        if (auto* c = dynamic_cast<TskSkinCaptionObject*>(o.get())) {
            if (!first)
                first = c;
            if (c->DefaultCaption) {
                c->Text = s.FormCaption;
                anyDefault = true;
            }
        }
    if (first && !anyDefault)
        first->Text = s.FormCaption;
    if (!hintText)
        return;
    for (auto& o : objects) {
        // Every animated object carries its command's hint, button style or not.
        TskCommand* command = CommandOf(*o);
        if (auto* a = dynamic_cast<TskSkinAnimateObject*>(o.get()))
            command = &a->Command;
        if (!command)
            continue;
        TskActiveSkinObject* b = o.get();
        switch (*command) {
        case cmClose: b->Hint = hintText("CLOSEBUTTON_HINT", "Close"); break;
        case cmMaximize: b->Hint = hintText("MAXBUTTON_HINT", "Maximize"); break;
        case cmMinimize: b->Hint = hintText("MINBUTTON_HINT", "Minimize"); break;
        case cmSysMenu: b->Hint = hintText("MENUBUTTON_HINT", "System menu"); break;
        case cmRollUp: b->Hint = hintText("ROLLUPBUTTON_HINT", "Roll Up"); break;
        case cmMinimizeToTray: b->Hint = hintText("TRAYBUTTON_HINT", "Minimize to Tray"); break;
        default: break;
        }
    }
}

// TSkObjectRouter

TskActiveSkinObject* TSkObjectRouter::At(int index) const
{
    return index >= 0 && index < static_cast<int>(Objects.size()) ? Objects[static_cast<size_t>(index)].get()
                                                                 : nullptr;
}

int TSkObjectRouter::ObjectAt(TPoint p) const
{
    for (size_t i = 0; i < Objects.size(); ++i) {
        const TskActiveSkinObject& o = *Objects[i];
        if (o.ShownInRollUpState() && o.Enabled && o.Visible && o.ObjectRect.Contains(p))
            return static_cast<int>(i);
    }
    return -1;
}

bool TSkObjectRouter::OnCaptionObject(TPoint p) const
{
    for (const auto& o : Objects)
        if (o->Kind() == TSkObjectKind::Caption && o->ShownInRollUpState() && o->ObjectRect.Contains(p))
            return true;
    return false;
}

void TSkObjectRouter::UpdateHover(TPoint p, bool track)
{
    int index = track ? ObjectAt(p) : -1;
    if (CaptureIndex != -1 && index != CaptureIndex)
        index = -1;
    if (index == HoverIndex)
        return;
    PrevHoverIndex = HoverIndex;
    HoverIndex = index;
    if (TskActiveSkinObject* old = At(PrevHoverIndex))
        old->MouseLeave();
    TskActiveSkinObject* now = At(HoverIndex);
    if (now)
        now->MouseEnter();
    if (OnHoverChanged)
        OnHoverChanged(now);
}

TskActiveSkinObject* TSkObjectRouter::Press(TPoint p, TSkMouseButton button, bool ncArea)
{
    if (!ncArea) {
        FHost.StopFaceDrag();
        UpdateHover(p, true);
    }
    TskActiveSkinObject* o = Hovered();
    if (!o)
        return nullptr;
    CaptureIndex = HoverIndex;
    if (o->Kind() != TSkObjectKind::Caption && OnCapture)
        OnCapture(o, true);
    o->MouseDown(p.X, p.Y, button);
    return o;
}

void TSkObjectRouter::Release(TPoint p, TSkMouseButton button, bool ncArea)
{
    if (!ncArea)
        FHost.StopFaceDrag();
    TskActiveSkinObject* o = Captured();
    CaptureIndex = -1;
    if (!o)
        return;
    if (o->Kind() != TSkObjectKind::Caption && OnCapture)
        OnCapture(o, false);
    o->MouseUp(p.X, p.Y, button);
}

void TSkObjectRouter::Move(TPoint p)
{
    if (TskActiveSkinObject* o = Captured() ? Captured() : Hovered())
        o->MouseMove(p.X, p.Y);
}

void TSkObjectRouter::ResetHoverState()
{
    for (auto& o : Objects)
        if (o->Kind() != TSkObjectKind::Caption) {
            o->MouseIn = false;
            o->Active = false;
            o->MorphFactor = 0;
            if (auto* a = dynamic_cast<TskSkinAnimateObject*>(o.get()))
                a->Rewind();
        }
}

bool TSkObjectRouter::AnimateTick()
{
    bool more = false;
    for (auto& o : Objects)
        if (auto* a = dynamic_cast<TskSkinAnimateObject*>(o.get()))
            more = a->TimerTick() || more;
    return more;
}

bool TSkObjectRouter::MorphTick()
{
    bool more = false;
    for (auto& o : Objects)
        if (o->Morphing && o->CanMorph())
            more = o->MorphStep() || more;
    return more;
}
