#pragma once
// The live objects of a skinned frame (caption, buttons, standard caption buttons, user
// objects) and the routing of the mouse to them: which object is hovered, which holds the
// press, what a press, a release, a double click and a morph step do. The objects know
// their form only through TSkObjectHost, so the rules run and are tested without windows;
// the Win32 form draws them and carries out their commands.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/core/SkinData.h"

class TMenuItem;   // a framework menu item: the objects hold it for their form, never look into it
class TskActiveSkinObject;
class TSkMenuItemLink;
class TskSkinButtonObject;
class TSkObjectPainter;

enum class TSkMouseButton { Left, Right, Middle };

// A mouse event of an object with what applies to it: its rectangle always, the button of
// presses and releases, the point of presses, releases and moves.
struct TSkObjectMouseArgs {
    std::string Kind;   // "down", "up", "move", "enter", "leave"
    std::string Name;
    TRect Rect;
    bool HasButton = false;
    TSkMouseButton Button = TSkMouseButton::Left;
    bool HasPoint = false;
    TPoint Point;
};

// What the objects need of their form.
class TSkObjectHost {
public:
    virtual ~TSkObjectHost() = default;
    virtual bool IsFormActive() const = 0;
    virtual bool UsesNCArea() const = 0;
    virtual int FormWindowState() const = 0;   // 0 normal, 1 minimized, 2 maximized
    virtual bool FormRolledUp() const = 0;
    virtual void PaintObject(TskActiveSkinObject& object) = 0;
    virtual void StartMorphTimer() = 0;
    virtual void RunCommand(TskCommand command) = 0;   // close, maximize, minimize, roll-up, tray
    // A pressed button's menu item (a system-menu button's is the form's system menu).
    virtual void OpenButtonMenu(TskSkinButtonObject& button) = 0;
    // A menu item opened under an object's rectangle (window coordinates), upward or downward.
    virtual void OpenObjectMenu(TMenuItem* /*item*/, const TRect& /*objectRect*/, bool /*upward*/) {}
    virtual void CloseForm() = 0;
    virtual void StartFaceDrag() = 0;
    virtual void StopFaceDrag() = 0;
    virtual void ObjectEvent(const std::string& kind, const std::string& name) = 0;   // "down", "up", "enter"...
    // The mouse event with its arguments; by default passed on by kind and name.
    virtual void ObjectMouseEvent(const TSkObjectMouseArgs& args) { ObjectEvent(args.Kind, args.Name); }
    // A switch's new state (0, 1), a track bar's or a frame regulator's new value; kind
    // "switch", "trackbar" or "frameregulator".
    virtual void ObjectValueChanged(const std::string& /*kind*/, const std::string& /*name*/, int /*value*/) {}
    // A user object is painted by the application.
    virtual void UserPaint(const std::string& /*name*/, TSkObjectPainter& /*painter*/, const TRect& /*rect*/) {}
    virtual void StartAnimateTimer() {}
    // The system menu opened under an object's rectangle (window coordinates).
    virtual void PopupSystemMenuUnder(const TRect& /*objectRect*/) {}
    // An object takes (watch) or gives up a menu item: the form forgets the links to an item
    // that is freed.
    virtual void WatchMenuItem(TMenuItem* /*item*/, bool /*watch*/) {}
};

// The menu item an object opens, watched through its form while the object holds it.
class TSkMenuItemLink {
public:
    explicit TSkMenuItemLink(TSkObjectHost& host) : FHost(host) {}
    TSkMenuItemLink(const TSkMenuItemLink&) = delete;
    TSkMenuItemLink& operator=(const TSkMenuItemLink&) = delete;
    ~TSkMenuItemLink() { Set(nullptr); }
    TMenuItem* Get() const { return FItem; }
    void Set(TMenuItem* item);
    // The item is being freed: the link goes without giving the watch back.
    void Forget() { FItem = nullptr; }

private:
    TSkObjectHost& FHost;
    TMenuItem* FItem = nullptr;
};

enum class TSkObjectKind { Base, Caption, Button, StdButton, User, Switch, TrackBar, Gauge, FrameGauge,
                           FrameRegulator, Animate, BitLabel, Label };

class TskActiveSkinObject {
public:
    TskActiveSkinObject(TSkObjectHost& parent, const TskDataSkinObject* record, int activePictureCount);
    virtual ~TskActiveSkinObject() = default;
    virtual TSkObjectKind Kind() const { return TSkObjectKind::Base; }

    virtual void DblClick() {}
    virtual void MouseDown(int x, int y, TSkMouseButton button);
    virtual void MouseUp(int x, int y, TSkMouseButton button);
    virtual void MouseMove(int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorph() const;
    // Kinds that draw themselves through a painter (the rest are drawn by the form).
    virtual bool PaintsItself() const { return false; }
    // The base look: inactive, morph blend, hover or normal (the normal look from the frame
    // picture only when full).
    virtual void Draw(TSkObjectPainter& painter, bool full);
    // The picture of the normal look: the frame picture, or the roll-up picture.
    int FramePicture() const;
    void Redraw();
    // One step toward the wanted look; true while more steps are needed.
    bool MorphStep();
    // Shown (drawn, hit, tracked) in the form's current roll-up state.
    bool ShownInRollUpState() const;
    // The menu item the object opens, for the kinds that open one.
    virtual TSkMenuItemLink* MenuItemLink() { return nullptr; }

    TSkObjectHost& Parent;
    double MorphFactor = 0;
    bool MouseIn = false;
    std::string IDName, Hint;
    TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
    int ActivePictureIndex = -1;   // -1: none
    bool Morphing = false;
    TMorphKind MorphKind = TMorphKind::mkDefault;
    TRect ObjectRect;
    bool Active = false, Enabled = true, Visible = true;
    int CursorIndex = -1;
    bool RollUp = false;
    bool SkinRectInAPicture = false;

protected:
    // The object's mouse event: enter and leave with the rectangle only, moves with the
    // point, presses and releases with the point and the button.
    void FireMouse(const char* kind) const;
    void FireMouse(const char* kind, int x, int y, const TSkMouseButton* button) const;
};

class TskSkinCaptionObject : public TskActiveSkinObject {
public:
    TskSkinCaptionObject(TSkObjectHost& parent, const TskDataSkinCaption* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::Caption; }
    void MouseDown(int x, int y, TSkMouseButton button) override;
    void MouseUp(int x, int y, TSkMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // The text box relative to the object, for its present width.
    TRect TextBox() const;

    const TskDataSkinCaption* Record;
    bool DefaultCaption = false;
    std::string Text;
};

class TskSkinButtonObject : public TskActiveSkinObject {
public:
    TskSkinButtonObject(TSkObjectHost& parent, const TskDataSkinButton* record, int activePictureCount);
    TSkObjectKind Kind() const override { return TSkObjectKind::Button; }
    void MouseDown(int x, int y, TSkMouseButton button) override;
    void MouseUp(int x, int y, TSkMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool Down() const { return FDown; }
    void SetDown(bool value);

    // Its sub items open when the button is pressed; freeing the item clears it.
    TMenuItem* MenuItem() const { return FMenuItem.Get(); }
    void SetMenuItem(TMenuItem* item) { FMenuItem.Set(item); }
    bool HasMenu() const { return FMenuItem.Get() != nullptr; }
    TSkMenuItemLink* MenuItemLink() override { return &FMenuItem; }

    TRect DownRect, DisableSkinRect;
    int GroupIndex = -1;
    bool PopupUp = false;
    // The other objects of the form, for the group rule.
    const std::vector<std::unique_ptr<TskActiveSkinObject>>* Siblings = nullptr;

protected:
    bool FDown = false;

private:
    TSkMenuItemLink FMenuItem{Parent};
};

class TskSkinStdButtonObject : public TskSkinButtonObject {
public:
    // record nullptr: a default button without a skin record.
    TskSkinStdButtonObject(TSkObjectHost& parent, const TskDataSkinStdButton* record, int activePictureCount);
    TskSkinStdButtonObject(TSkObjectHost& parent, const std::string& name, TskCommand command);
    TSkObjectKind Kind() const override { return TSkObjectKind::StdButton; }
    void MouseDown(int x, int y, TSkMouseButton button) override;
    void MouseUp(int x, int y, TSkMouseButton button) override;
    void DblClick() override;
    bool CanMorph() const override;
    // Maximize while maximized, minimize while minimized, roll-up while rolled up.
    bool InRestoreState() const;

    TskCommand Command = cmDefault;
    TRect RestoreRect, RestoreActiveRect, RestoreDownRect;
    bool HasSkinRecord = true;
    bool DrawsIcon = false;   // a system-menu button showing the window icon
};

class TskUserObject : public TskActiveSkinObject {
public:
    using TskActiveSkinObject::TskActiveSkinObject;
    TSkObjectKind Kind() const override { return TSkObjectKind::User; }
    bool PaintsItself() const override { return true; }
    void Draw(TSkObjectPainter& painter, bool full) override;
};

// The objects of the skin's object list in order (menu items and the kinds this engine
// does not make are left out).
std::vector<std::unique_ptr<TskActiveSkinObject>> CreateSkinObjects(TSkObjectHost& host, const TskSkinData& skin);
// The six default buttons of a form without a skin.
std::vector<std::unique_ptr<TskActiveSkinObject>> CreateDefaultButtons(TSkObjectHost& host);

// The command of a standard button or a button-style animated object, else nullptr.
TskCommand* CommandOf(TskActiveSkinObject& object);

struct TSkBorderIconsState {
    unsigned Icons = 0;   // TskBorderIcons bits
    bool HideCaptionButtons = false;
    std::string FormCaption;
};
// Enables, shows and hides the standard buttons by the icons, gives the caption objects
// the form's caption and the buttons their built-in hints (resource texts through hintText).
void ApplyBorderIcons(std::vector<std::unique_ptr<TskActiveSkinObject>>& objects, const TSkBorderIconsState& state,
                      const std::function<std::string(const char* key, const char* builtin)>& hintText);

// The mouse routing of a form over its objects.
class TSkObjectRouter {
public:
    explicit TSkObjectRouter(TSkObjectHost& host) : FHost(host) {}
    std::vector<std::unique_ptr<TskActiveSkinObject>> Objects;
    int HoverIndex = -1, PrevHoverIndex = -1, CaptureIndex = -1;

    TskActiveSkinObject* Hovered() const { return At(HoverIndex); }
    TskActiveSkinObject* Captured() const { return At(CaptureIndex); }
    TskActiveSkinObject* At(int index) const;
    // The index of the first shown, enabled, visible object holding the point, or -1.
    int ObjectAt(TPoint p) const;
    bool OnCaptionObject(TPoint p) const;
    // Moves the hover to the object at p (track false clears it); the objects get their
    // leave and enter, OnHoverChanged the new one.
    void UpdateHover(TPoint p, bool track);
    // Press: with the non-client area only an object under the mouse is pressed; without
    // it the hover is updated first. A pressed object other than a caption holds the mouse
    // capture until the release. Returns the pressed object.
    TskActiveSkinObject* Press(TPoint p, TSkMouseButton button, bool ncArea);
    void Release(TPoint p, TSkMouseButton button, bool ncArea);
    void Move(TPoint p);
    // Clears MouseIn, Active and MorphFactor of every object but the captions.
    void ResetHoverState();
    void ClearIndices() { HoverIndex = PrevHoverIndex = CaptureIndex = -1; }
    // One tick of the morph timer: false when no object needs another step.
    bool MorphTick();
    // One tick of the animation timer: false when no animated object runs.
    bool AnimateTick();

    std::function<void(TskActiveSkinObject*)> OnHoverChanged;   // the new hovered object (or none)
    std::function<void(TskActiveSkinObject*, bool)> OnCapture;  // set (true) or release the mouse capture

private:
    TSkObjectHost& FHost;
};
