#pragma once
// TskSkinForm: dropped on a form, it takes over the form's frame through a hook in front
// of the form's WindowProc: it sizes the non-client area from the skin, hit-tests, paints
// the frame and its objects (caption and caption buttons), sets the window region from the
// skin mask, keeps its own window states (normal, minimized, maximized, rolled up), opens
// the skinned system menu and takes the keyboard while one of its menus is open, snaps
// the window to the work area's edges and fades it in. Without a skin it draws a plain
// frame with default buttons. A form without a border keeps no frame.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/base/Timer.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFormObjects.h"
#include "skin/core/SkinData.h"
#include "skin/win/SkRegions.h"

class TskSkinHint;
class TskSkinMenu;
class TskSkinPopupMenu;
class TskTrayIcon;

using TskObjectEvent = std::function<void(const std::string& kind, const std::string& objectName)>;
using TskActivateCustomObjectEvent = std::function<void(const std::string& objectName, bool& show)>;
using TskChangeClientRectEvent = std::function<void(const TRect& clientRect)>;
using TskObjectMouseEvent = std::function<void(const TSkObjectMouseArgs& args, TShiftState shift)>;
using TskObjectPaintEvent = std::function<void(const std::string& objectName, TCanvas& canvas, const TRect& rect)>;
using TskObjectValueEvent = std::function<void(const std::string& objectName, int value)>;
using TskSwitchStateEvent = std::function<void(const std::string& objectName, bool state)>;

class TskSkinForm : public TComponent, private TSkObjectHost {
public:
    explicit TskSkinForm(TComponent* AOwner);   // AOwner: the form to skin
    ~TskSkinForm() override;

    TForm* OwnerForm() const { return FForm; }

    // Properties
    int ClientWidth = 0, ClientHeight = 0;   // > 0: applied to the form's client after every skin change
    bool HideCaptionButtons = false;
    bool AlwaysShowInTray = false;
    TBitmap LogoBitMap;
    bool LogoBitMapTransparent = false;
    bool AlwaysMinimizeToTray = false;
    bool ShowIcon() const { return FShowIcon; }
    // The icon the frame draws: the form's own, else the program's, else the system's.
    HICON WindowIcon();
    void SetShowIcon(bool value);
    bool MaximizeOnFullScreen = false;
    TskSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TskSkinHint* value);
    bool ShowObjectHint = false;
    bool UseDefaultObjectHint = true;
    TFont& DefCaptionFont() { return FDefCaptionFont; }
    TFont& DefInActiveCaptionFont() { return FDefInActiveCaptionFont; }
    bool UseSkinFontInMenu() const;
    void SetUseSkinFontInMenu(bool value);
    int DefMenuItemHeight() const;
    void SetDefMenuItemHeight(int value);   // values <= 0 are ignored
    TFont& DefMenuItemFont();
    TskTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TskTrayIcon* value);
    bool UseDefaultSysMenu = true;
    bool SupportNCArea = true;
    bool AlphaBlendAnimation = false;
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    void SetMenusAlphaBlend(bool value);
    void SetMenusAlphaBlendAnimation(bool value);
    void SetMenusAlphaBlendValue(BYTE value);
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* value);
    TskSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TskSkinData* value);
    TskSkinData* MenusSkinData() const { return FMenusSkinData; }
    void SetMenusSkinData(TskSkinData* value);
    int MinHeight = 0, MinWidth = 0;
    bool Sizeable = true;
    bool DraggAble = false;
    bool Magnetic = false;
    BYTE MagneticSize = 10;
    TskBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TskBorderIcons value);

    // Events
    TskChangeClientRectEvent OnChangeClientRect;
    TNotifyEvent OnChangeSkinData, OnActivate, OnDeActivate, OnSkinMenuOpen, OnSkinMenuClose, OnChangeRollUpState,
        OnMinimizeToTray, OnRestoreFromTray;
    TskObjectEvent OnObjectEvent;   // "down", "up", "move", "enter", "leave" with the object's name
    TskActivateCustomObjectEvent OnActivateCustomObject;
    // The object mouse events with their arguments (OnObjectEvent fires as well).
    TskObjectMouseEvent OnMouseDownEvent, OnMouseUpEvent, OnMouseMoveEvent, OnMouseEnterEvent, OnMouseLeaveEvent;
    TskObjectPaintEvent OnPaintEvent;   // user objects, painted by the application
    TskSwitchStateEvent OnSwitchChangeStateEvent;
    TskObjectValueEvent OnTrackBarChangeValueEvent, OnFrameRegulatorChangeValueEvent;

    // State
    bool SkinActive() const { return FSkinActive; }
    int WindowState() const { return FWindowState; }   // 0 normal, 1 minimized, 2 maximized
    bool RolledUp() const { return FRolledUp; }
    bool RolledUpMaximized() const { return FRolledUpMaximized; }
    const TRect& RestoreBounds() const { return FRestoreBounds; }
    const TSkFrameGeometry& Geometry() const { return FGeometry; }
    TSkObjectRouter& Objects() { return FRouter; }
    TskSkinMenu* SkinMenu() const { return FSkinMenu; }
    bool MenuOpen() const { return FMenuOpen; }
    bool HasRegion() const { return FHasRegion; }
    bool InSizeMove() const { return FInSizeMove; }
    // A frame is drawn: the non-client area is used and the form has a border.
    bool FrameShown() const;

    // Operations
    void SetWindowState(int state);
    void SetRollUp(bool value);
    void MinimizeToTray();
    void RestoreFromTray();
    void PopupSystemMenu(int x, int y);
    // Keys go to the open skinned menus until the menu-closed handling.
    void TakeKeyboard();
    // The items the system menu shows now (rebuilt on each call).
    TMenuItem* GetSystemMenu();
    bool IsFormActive() const override;
    TPoint MinimumSize() const;
    int HitTest(TPoint windowPoint);
    // Paint the frame into dc (window coordinates), for WM_NCPAINT and for pictures: from
    // the skin (nothing without an active skin), or the plain frame with default buttons.
    void PaintSkinnedFrame(HDC dc);
    void PaintDefaultFrame(HDC dc);
    void PaintObject(TskActiveSkinObject& object) override;
    // Gives the controls placed by AreaName their area's bounds for the present size.
    void PlaceAreaControls();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ReleaseTrayIcon();
    // Object host
    bool UsesNCArea() const override { return SupportNCArea; }
    int FormWindowState() const override { return FWindowState; }
    bool FormRolledUp() const override { return FRolledUp; }
    void StartMorphTimer() override;
    void RunCommand(TskCommand command) override;
    void OpenButtonMenu(TskSkinButtonObject& button) override;
    void OpenObjectMenu(TMenuItem* item, const TRect& objectRect, bool upward) override;
    void WatchMenuItem(TMenuItem* item, bool watch) override;
    void CloseForm() override;
    void StartFaceDrag() override;
    void StopFaceDrag() override;
    void ObjectEvent(const std::string& kind, const std::string& name) override;
    void ObjectMouseEvent(const TSkObjectMouseArgs& args) override;
    void ObjectValueChanged(const std::string& kind, const std::string& name, int value) override;
    void UserPaint(const std::string& name, TSkObjectPainter& painter, const TRect& rect) override;
    void StartAnimateTimer() override;
    void PopupSystemMenuUnder(const TRect& objectRect) override;
    void AnimateTick(TObject* Sender);
    // Draws the objects that paint themselves into whole, makes bitmap of it and draws
    // their texts and the application's user objects on it.
    void PaintSelfPaintingObjects(TSkBitmap& whole, const TSkBitmap& frame,
                                  const std::vector<TskActiveSkinObject*>& objects, TBitmap& bitmap);
    // The face without the non-client area rolled up or down.
    void RollUpFace(bool value);
    void SetRollUpRegion();
    void PlaceRollUpObjects();
    void FindAreaControls();
    void ShowHiddenControls();
    // A control going away leaves the area and hidden lists.
    void ForgetControl(TComponent* component);
    // The caption's frame image behind its text (text at x, textWidth wide, in box).
    void DrawCaptionFrame(TCanvas& canvas, const TskSkinCaptionObject& caption, int x, int textWidth, const TRect& box,
                          bool active);

    void Hook(TMessage& m);
    void Old(TMessage& m);
    void MenuPreCheck(const TMessage& m);
    void MouseMessage(TMessage& m);
    void FaceMouse(TMessage& m);
    void HandleSize(TMessage& m);
    void HandleNCCalcSize(TMessage& m);
    void HandleMinMax(TMessage& m);
    void HandleCaptionDblClick();
    void Rebuild();
    void SkinChanging();
    void MakeObjects();
    void ApplyIcons();
    void ComputeGeometry();
    void UpdateFrame(bool full);
    void SetRegion(bool full);
    void RemoveRegion();
    void RenderSkin(TBitmap& bitmap, bool face);
    void PaintClientBackground(HDC dc);
    void RedrawCaptions();
    void SendNCPaint();
    void ResizeNudge();
    void FadeIn();
    void MouseTick(TObject* Sender);
    void MorphTick(TObject* Sender);
    bool MenuKey(MSG& msg);
    void MenuClosed();
    void Minimize();
    void Maximize();
    void Restore();
    void SetFormBounds(const TRect& r);
    TRect FormBounds() const;
    bool IsMainForm() const;
    bool HasBorder() const;
    bool ToolWindow() const;
    TPoint CursorInWindow() const;
    bool MaskSolid(TPoint p) const;
    std::string ResourceText(const char* key, const char* builtin) const;

    TForm* FForm = nullptr;
    TWndMethod FOldWindowProc;
    TCreateParamsFilter FOldParamsFilter;
    TskSkinData* FSkinData = nullptr;
    TskSkinData* FMenusSkinData = nullptr;
    TskSkinHint* FSkinHint = nullptr;
    TskTrayIcon* FTrayIcon = nullptr;
    TPopupMenu* FSystemMenu = nullptr;
    TPopupMenu* FSystemMenuPopup = nullptr;
    TskSkinPopupMenu* FSkinPopupMenu = nullptr;
    TskSkinMenu* FSkinMenu = nullptr;
    TTimer* FMorphTimer = nullptr;
    TTimer* FMouseTimer = nullptr;
    TTimer* FAnimateTimer = nullptr;
    TFont FDefCaptionFont, FDefInActiveCaptionFont;
    TSkObjectRouter FRouter{*this};
    TSkFrameGeometry FGeometry;
    TSkinBorders FMaskStrips;
    TRegion FRegionCopy;   // what the window's region was made from; the window owns its own
    bool FHasRegion = false;
    TskBorderIcons FBorderIcons = kSkDefaultBorderIcons;
    bool FSkinActive = false;
    bool FShowIcon = false;
    bool FAlphaBlend = false;
    BYTE FAlphaBlendValue = 200;
    int FWindowState = 0;
    bool FRolledUp = false, FRolledUpMaximized = false;
    int FRollUpHeight = 0;
    TRect FRestoreBounds;
    int FFrameWidth = 0, FFrameHeight = 0;
    bool FInSizeMove = false, FFullDragWindows = false;
    bool FInNCPress = false, FPressTakenByLoop = false;
    bool FDragActive = false;
    TPoint FDragLast;
    bool FMenuOpen = false;
    int FKeyFilter = 0;
    int FActivationFlag = -1;   // the flag of the activation message being handled, -1 none
    HICON FIcon = nullptr;   // our copy
    std::vector<std::pair<TControl*, TRect>> FAreaControls;
    std::vector<TControl*> FHiddenControls;   // hidden while the face is rolled up
    std::vector<std::pair<std::string, TRect>> FUserPaints;
    bool FHooked = false;
};

// Finds the TskSkinForm among a form's components (or the form of a component).
TskSkinForm* FindSkinForm(TComponent* component);
