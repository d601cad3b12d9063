#pragma once
// The window-free part of the skinned form's frame: the skin's FORMINFO mapped onto a
// window of any size, the minimum size, hit testing of the skinned and the default frame,
// the default caption-button layout, magnetic snapping, the slot of a minimized window,
// the maximized bounds and the items of the default system menu.

#include <functional>
#include <string>
#include <vector>

#include "skin/core/SkCompose.h"
#include "skin/core/SkinData.h"

// Hit-test codes of WM_NCHITTEST that the frame answers; 19 marks a skin object.
enum : int {
    kHtNowhere = 0, kHtClient = 1, kHtCaption = 2, kHtLeft = 10, kHtRight = 11, kHtTop = 12,
    kHtTopLeft = 13, kHtTopRight = 14, kHtBottom = 15, kHtBottomLeft = 16, kHtBottomRight = 17,
    kHtObject = 19
};

// The skin stretches when its right-bottom point differs from its left-top point in both
// coordinates; otherwise the window keeps the frame picture's size.
bool SkinStretches(const TskSkinFormInfo& info);

struct TSkFrameGeometry {
    int Width = 0, Height = 0;         // the window
    int PictureWidth = 0, PictureHeight = 0;
    int DX = 0, DY = 0;                // growth over the frame picture
    TPoint LT, RT, LB, RB;             // stretch corner points for the size
    TPoint HitLT, HitRT, HitLB, HitRB; // hit-test corner points for the size
    TRect ClientRect, CaptionRect, ButtonsRect, MainMenuRect, MaskRect;
    // The corner points and client rectangle as a composition frame for the size.
    TSkinFrame NewFrame() const { return {LT, RT, LB, RB, ClientRect}; }
};

TSkFrameGeometry ComputeFrameGeometry(const TskSkinFormInfo& info, int pictureWidth, int pictureHeight, int width,
                                      int height);
// The composition frame of the picture itself.
TSkinFrame PictureFrame(const TskSkinFormInfo& info);

// Where a skin rectangle (picture coordinates) stands in a window grown by dx, dy: by the
// corner zone it lies in, stretched when it spans two or four zones.
TRect MapSkinRect(const TRect& r, const TskSkinFormInfo& info, int pictureWidth, int pictureHeight, int dx, int dy);

// Metrics of the frame drawn without a skin.
int DefaultCaptionHeight(bool toolWindow);   // 19, 15 for tool windows
int DefaultButtonSize(bool toolWindow);      // 17, 13 for tool windows

struct TSkMinSizeInput {
    bool NCArea = true, SkinActive = false;
    int PictureWidth = 0, PictureHeight = 0;   // the frame picture
    int ClientRectHeight = 0;                  // the skin's clientrect
    int MinWidth = 0, MinHeight = 0;
    bool Minimized = false, RolledUp = false;
    int CaptionHeight = 19;
};
TPoint MinimumSize(const TSkMinSizeInput& in);

struct TSkHitInput {
    const TSkFrameGeometry* Geometry = nullptr;
    int BorderWidth = 0;
    bool RolledUp = false, Minimized = false, Maximized = false, Sizeable = true, InSizeMove = false;
    bool ObjectHovered = false;
    bool HasMask = false;
    std::function<bool(TPoint)> OnCaptionObject;   // a shown caption object holds the point
    std::function<bool(TPoint)> MaskSolid;         // a black pixel of the mask strips
};
// Window coordinates; the window's size is the geometry's.
int HitTestSkinned(const TSkHitInput& in, TPoint p);
// The face of a form without the non-client area (client coordinates).
int HitTestFace(const TSkHitInput& in, bool skinActive, TPoint p);

// A window point on a black pixel of the mask strips composed around maskRect (black is
// part of the window); a point inside maskRect always is.
bool MaskStripsSolid(const TSkinBorders& strips, const TRect& maskRect, TPoint p);

struct TSkDefaultHitInput {
    int Width = 0, Height = 0;
    int CaptionHeight = 19;
    TRect CaptionRect;   // between the system-menu button and the right-hand buttons
    bool Maximized = false, RolledUp = false, Minimized = false, Sizeable = true;
    bool ObjectHovered = false;
};
int HitTestDefault(const TSkDefaultHitInput& in, TPoint p);

// The default buttons from the right (close, maximize, minimize, roll-up, tray) and the
// system-menu button at the left; hidden ones get a null rectangle and take no room.
struct TSkDefaultButtons {
    TRect Close, Maximize, Minimize, RollUp, Tray, SysMenu, Caption;
};
struct TSkDefaultButtonsShown {
    bool Close = true, Maximize = true, Minimize = true, RollUp = true, Tray = false, SysMenu = true;
};
TSkDefaultButtons LayoutDefaultButtons(int frameWidth, int captionHeight, int buttonSize, int sysMenuSize,
                                       const TSkDefaultButtonsShown& shown);

// The dragged window rectangle snapped to the edges of bounds within d pixels (strictly),
// keeping its size.
TRect MagneticSnap(const TRect& window, const TRect& bounds, int d);

// The top-left of the first free slot of a minimized w x h window along the bottom of
// area; taken holds the top-left corners of the other minimized windows.
TPoint MinimizedSlot(const TRect& area, int w, int h, const std::vector<TPoint>& taken);

// The bounds of a maximized window: the monitor with fullScreen, else the work area,
// shrunk by one pixel on every side when the work area is the whole monitor.
TRect MaximizedBounds(const TRect& monitor, const TRect& workArea, bool fullScreen);

// Scoped: the framework's own TBorderIcon uses the same names.
enum class TskBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TskBorderIcons = unsigned;   // bit (1 << icon) per icon
constexpr TskBorderIcons SkIcon(TskBorderIcon i) { return 1u << static_cast<unsigned>(i); }
constexpr TskBorderIcons kSkDefaultBorderIcons =
    SkIcon(TskBorderIcon::biSystemMenu) | SkIcon(TskBorderIcon::biMinimize) | SkIcon(TskBorderIcon::biMaximize) |
    SkIcon(TskBorderIcon::biRollUp);

struct TSkSystemMenuItem {
    std::string Name, Caption, ResourceKey;   // Name "" is a separator
};
struct TSkSystemMenuState {
    int WindowState = 0;   // 0 normal, 1 minimized, 2 maximized
    bool RolledUp = false;
    bool MDIChild = false;
    TskBorderIcons Icons = kSkDefaultBorderIcons;
};
// The items of the default system menu in order, with their built-in captions.
std::vector<TSkSystemMenuItem> DefaultSystemMenu(const TSkSystemMenuState& s);
// Shown alone: the item of that name under the state's conditions (the close item always).
bool SystemMenuItemShown(const std::string& name, const TSkSystemMenuState& s);
