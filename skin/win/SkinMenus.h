#pragma once
// Skinned popup menus: the items of framework menus shown in windows of our own, drawn
// from the skin's POPUPWINDOW and menuitem records. TskSkinMenu keeps the chain of open
// levels (one TskSkinPopupWindow each), TskSkinPopupMenu opens its items through the
// engine of its skinned form. Windows never take the focus: keys come from the form
// through HandleKey. Windows of closed levels are freed after the current message, and a
// chosen item's command runs only after every level has closed.

#include <functional>
#include <memory>
#include <vector>

#include "framework/base/Timer.h"
#include "framework/win/Controls.h"
#include "framework/win/Graphics.h"
#include "framework/win/Menus.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkMenuLayout.h"
#include "skin/core/SkinData.h"

constexpr unsigned WMS_MENUCLOSED = 1228;
constexpr unsigned WMS_MENUITEMCLICKED = 1229;

class TskSkinMenu;
class TskSkinPopupWindow;

class TskSkinMenuItem {
public:
    TskSkinMenuItem(TskSkinPopupWindow* window, TMenuItem* item);
    virtual ~TskSkinMenuItem() = default;
    virtual bool CanMorph();

    void Enter(bool keyboard);
    void Leave();
    void Click();
    void Redraw();
    bool Highlighted() const { return Active || SubmenuOpen; }

    TskSkinPopupWindow* Window;
    TskDataSkinMenuItem* SkinRecord = nullptr;
    const TSkBitmap* ItemPicture = nullptr;
    double MorphFactor = 0;
    TMenuItem* MenuItem;
    TRect ItemRect;
    bool Active = false;
    bool SubmenuOpen = false;
    bool InView = true;
    bool Preselected = false;
};

class TskSkinPopupWindow : public TCustomControl {
public:
    TskSkinPopupWindow(TskSkinMenu* owner, TskSkinData* skinData);
    ~TskSkinPopupWindow() override;

    // Shows the items and watches them while the window is a level of the chain: freeing
    // one closes the chain.
    void ShowItems(const TRect& anchor, TMenuItem* root, int firstIndex, bool submenu, bool upward);
    void HandleKey(WORD key);
    void HoverAt(int x, int y);
    void Release();   // hides the window, gives up its items and frees it after the current message

    int ActiveItem = -1;
    std::vector<std::unique_ptr<TskSkinMenuItem>> ItemObjects;
    TskDataSkinMenuItem* ItemRecord = nullptr;
    TskDataSkinPopupWindow* PopupRecord = nullptr;
    TskSkinData* SkinData = nullptr;
    TskSkinMenu* OwnerMenu;
    bool Scrolling() const { return FLevel && FLevel->Scrolling(); }
    bool HasScreenCapture() const { return FScreenCapture != nullptr; }
    int FirstVisible() const { return FLevel ? FLevel->FirstVisible() : 0; }
    int VisibleCount() const { return FLevel ? FLevel->VisibleCount() : 0; }
    int ScrollState = 0;   // 0 none, 1 up, 2 down
    int GlyphWidth = 16;
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TskSkinMenuItem;
    TSkMenuSkin MenuSkin() const;
    void ApplyItemFont(TFont& font) const;
    void LayoutItems();
    void PaintItem(TCanvas& canvas, TskSkinMenuItem& item);
    void TrackTick(TObject* Sender);
    void MorphTick(TObject* Sender);
    void StartScrolling();
    void StopScrolling();
    void ScrollTick(TObject* Sender);
    void Scroll(bool down, bool wrap);
    void MoveTo(int index);
    void ShowTick(TObject* Sender);
    void Reveal();
    double AlphaFactor() const { return 1.0 - AlphaBlendValue / 255.0; }

    std::unique_ptr<TSkMenuLevel> FLevel;
    const TSkBitmap* FWindowPicture = nullptr;
    const TSkBitmap* FMaskPicture = nullptr;
    TSkMenuGeometry FGeometry;
    TTimer* FTrackTimer;
    TTimer* FMorphTimer;
    TTimer* FScrollTimer;
    TTimer* FShowTimer;
    TPoint FShowAt;
    std::unique_ptr<TskEffectBmp> FScreenCapture;   // behind the window, for simulated alpha
    TPoint FLastCursor{-1, -1};
    TFont FItemFont;
    int FImagesWidth = -1;   // the menu's image width, -1 without an image list
};

class TskSkinMenu : public TComponent {
public:
    explicit TskSkinMenu(TComponent* AOwnerForm);
    ~TskSkinMenu() override;

    void OpenMenu(TControl* opener, TskSkinData* skinData, TMenuItem* root, const TRect& anchor, int firstIndex,
                  bool upward);
    void OpenLevel(const TRect& anchor, TMenuItem* item, int firstIndex, bool submenu, bool upward);
    void CloseLevels(int level);
    void CloseMenu();
    void ItemAction(TskSkinPopupWindow* window, TskSkinMenuItem* item, bool keyboard, bool click);
    // Keys for the last open level; false when no level is open.
    bool HandleKey(WORD key);
    int LevelOf(const TskSkinPopupWindow* window) const;

    bool UseSkinFont = true;
    bool FreshOpen = false;
    int DefaultItemHeight = 20;
    TFont DefaultItemFont;
    TControl* Opener = nullptr;
    TControl* LastOpener = nullptr;
    TControl* OwnerForm;
    TskSkinMenuItem* PendingItem = nullptr;
    TskSkinPopupWindow* PendingWindow = nullptr;
    TRect WorkArea;
    bool ChainOpen = false;
    TskSkinData* SkinData = nullptr;
    std::vector<TskSkinPopupWindow*> PopupWindows;
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    TTimer* SubmenuTimer;

private:
    void SubmenuTick(TObject* Sender);
};

// What a popup menu needs of the skinned form it belongs to: the form's menu engine, the
// skin its menus take (the form's MenusSkinData, else its SkinData) and the keyboard.
struct TskMenuFormLink {
    TskSkinMenu* Menu = nullptr;
    TskSkinData* SkinData = nullptr;
    std::function<void()> TakeKeyboard;
};
// The skinned form behind a component (no Menu without one); the skinned form sets it.
using TFindSkinMenu = TskMenuFormLink (*)(TComponent* component);
void SetFindSkinMenu(TFindSkinMenu find);

class TskSkinPopupMenu : public TPopupMenu {
public:
    explicit TskSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}
    TskSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TskSkinData* value);
    // The component whose skinned form the menu uses; none once that component is freed.
    TComponent* SkinForm() const { return FSkinForm; }
    void SetSkinForm(TComponent* value);
    // Opens the items through the engine of the skinned form the menu belongs to; without
    // one nothing opens. Without SkinData of its own the menu takes and keeps the form's.
    void Popup(int X, int Y) override;
    // The same under (or, upward, over) a screen rectangle, as a skinned button opens it.
    void PopupAt(const TRect& anchor, bool upward);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TskSkinData* FSkinData = nullptr;
    TComponent* FSkinForm = nullptr;
};

bool IsMenuCloseMessage(UINT message);
