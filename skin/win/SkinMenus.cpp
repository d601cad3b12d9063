#include "skin/win/SkinMenus.h"

#include <algorithm>
#include <cctype>

#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "framework/win/ImgList.h"
#include "framework/win/Forms.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkGlyphs.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkRegions.h"
#include "skin/win/SkSystem.h"

namespace {

TFindSkinMenu gFindSkinMenu = nullptr;

std::string ItemText(const TMenuItem* item)
{
    return item->ShortCut() ? item->ShownCaption() + "  " + ShortCutToText(item->ShortCut()) : item->ShownCaption();
}

// The caption's accelerator is key.
bool IsAccel(WORD key, const std::string& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] == '&') {
                ++i;
                continue;
            }
            return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(key);
        }
    return false;
}

int TextWidth(TFont& font, const std::string& text)
{
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(font);
    TRect r{0, 0, 0, 0};
    measure.Canvas().DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
    return r.Width();
}

int Rgb(TColor c) { return static_cast<int>(ColorToRGB(c)); }

// The caption glyphs the form's own menu items carry by name.
bool DrawNamedGlyph(TSkCanvas& c, const std::string& name, int x, int y, int color)
{
    if (name == "DSF_CLOSE" || name == "TRAY_DSF_CLOSE") DrawCloseGlyph(c, x, y, color);
    else if (name == "DSF_MINITEM") DrawMinimizeGlyph(c, x, y, color);
    else if (name == "DSF_MAXITEM") DrawMaximizeGlyph(c, x, y, color);
    else if (name == "DSF_RESTORE" || name == "TRAY_DSF_RESTORE") DrawRestoreGlyph(c, x, y, color);
    else if (name == "DSF_ROLLUP") DrawRollDownGlyph(c, x, y, color);
    else if (name == "DSF_MINTOTRAY") DrawTrayGlyph(c, x, y, color);
    else return false;
    return true;
}

void DrawSubmenuArrow(TSkCanvas& c, int x, int y, int color)
{
    c.PenColor = SkPixelFromColor(color);
    for (int i = 0; i < 4; ++i) {
        c.MoveTo(x + i, y + i);
        c.LineTo(x + i, y + 7 - i);
    }
}

void DrawRadioDot(TSkCanvas& c, int x, int y, int color)
{
    const TSkPixel p = SkPixelFromColor(color);
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i) {
            const double dx = i - 2.5, dy = j - 2.5;
            if (dx * dx + dy * dy <= 3.2 * 3.2)
                c.Plot(x + i, y + j, p);
        }
}

}  // namespace

void SetFindSkinMenu(TFindSkinMenu find) { gFindSkinMenu = find; }

bool IsMenuCloseMessage(UINT m)
{
    switch (m) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

// TskSkinMenuItem

TskSkinMenuItem::TskSkinMenuItem(TskSkinPopupWindow* window, TMenuItem* item) : Window(window), MenuItem(item)
{
    SkinRecord = window->ItemRecord;
    if (SkinRecord && window->SkinData) {
        ItemPicture = window->SkinData->ActivePicture(SkinRecord->ActivePictureIndex);
        if (!ItemPicture)
            SkinRecord->SkinRect = SkinRecord->ActiveSkinRect = TRect{};
    }
}

bool TskSkinMenuItem::CanMorph()
{
    if (!InView) {
        if (MorphFactor != 0) {
            Active = SubmenuOpen = false;
            MorphFactor = 0;
        }
        return false;
    }
    return (Highlighted() && MorphFactor < 1) || (!Highlighted() && MorphFactor > 0);
}

void TskSkinMenuItem::Redraw()
{
    if (SkinRecord && SkinRecord->Morphing)
        Window->FMorphTimer->SetEnabled(true);
    Window->Invalidate();
}

void TskSkinMenuItem::Enter(bool keyboard)
{
    Active = true;
    for (auto& other : Window->ItemObjects)
        if (other.get() != this && other->SubmenuOpen) {
            other->SubmenuOpen = false;
            other->Redraw();
        }
    TskSkinMenu* menu = Window->OwnerMenu;
    if (Preselected && !keyboard) {
        Redraw();
        return;
    }
    if (SubmenuOpen) {
        const int level = menu->LevelOf(Window);
        if (level >= 0 && level + 2 < static_cast<int>(menu->PopupWindows.size())) {
            TskSkinPopupWindow* sub = menu->PopupWindows[static_cast<size_t>(level + 1)];
            menu->CloseLevels(level + 2);
            for (auto& item : sub->ItemObjects)
                if (item->SubmenuOpen) {
                    item->SubmenuOpen = false;
                    item->Redraw();
                }
        }
        return;
    }
    Redraw();
    menu->ItemAction(Window, this, keyboard, false);
}

void TskSkinMenuItem::Leave()
{
    Preselected = Active = false;
    if (!SubmenuOpen)
        Redraw();
    TskSkinMenu* menu = Window->OwnerMenu;
    if (menu->PendingItem == this) {
        menu->SubmenuTimer->SetEnabled(false);
        menu->PendingItem = nullptr;
        menu->PendingWindow = nullptr;
    }
}

void TskSkinMenuItem::Click()
{
    Preselected = false;
    if (!SubmenuOpen && MenuItem->Enabled())
        Window->OwnerMenu->ItemAction(Window, this, false, true);
}

// TskSkinPopupWindow

TskSkinPopupWindow::TskSkinPopupWindow(TskSkinMenu* owner, TskSkinData* skinData)
    : TCustomControl(nullptr), OwnerMenu(owner), FTrackTimer(new TTimer(this)), FMorphTimer(new TTimer(this)),
      FScrollTimer(new TTimer(this)), FShowTimer(new TTimer(this))
{
    FVisible = false;
    SetCtl3D(false);   // and so ParentCtl3D false
    if (skinData && !skinData->Empty && skinData->ActivePicture(skinData->PopupWindow.WindowPictureIndex)) {
        SkinData = skinData;
        PopupRecord = &skinData->PopupWindow;
        FWindowPicture = skinData->ActivePicture(PopupRecord->WindowPictureIndex);
        FMaskPicture = skinData->ActivePicture(PopupRecord->MaskPictureIndex);
    } else if (skinData && !skinData->Empty) {
        SkinData = skinData;
    }
    AlphaBlend = owner->AlphaBlend;
    AlphaBlendValue = owner->AlphaBlendValue;
    AlphaBlendAnimation = owner->AlphaBlendAnimation;
    for (TTimer* t : {FTrackTimer, FMorphTimer, FScrollTimer, FShowTimer})
        t->SetEnabled(false);
    FShowTimer->SetInterval(100);
    FShowTimer->OnTimer = [this](TObject* s) { ShowTick(s); };
    FTrackTimer->SetInterval(50);
    FTrackTimer->OnTimer = [this](TObject* s) { TrackTick(s); };
    FMorphTimer->SetInterval(20);
    FMorphTimer->OnTimer = [this](TObject* s) { MorphTick(s); };
    FScrollTimer->SetInterval(100);
    FScrollTimer->OnTimer = [this](TObject* s) { ScrollTick(s); };
}

TskSkinPopupWindow::~TskSkinPopupWindow()
{
    if (OwnerMenu && OwnerMenu->PendingWindow == this) {
        OwnerMenu->SubmenuTimer->SetEnabled(false);
        OwnerMenu->PendingItem = nullptr;
        OwnerMenu->PendingWindow = nullptr;
    }
}

// An item of an open level is freed: the chain closes before anything draws or runs it.
void TskSkinPopupWindow::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !OwnerMenu || OwnerMenu->LevelOf(this) < 0)
        return;
    for (auto& item : ItemObjects)
        if (AComponent == item->MenuItem) {
            OwnerMenu->CloseMenu();
            return;
        }
}

void TskSkinPopupWindow::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_TOOLWINDOW;
    p.WndParent = Application->Handle();
    p.ClassStyle |= CS_SAVEBITS;
    p.WinClassName = L"VorpenSkinPopupWindow";
    if (IsDropShadowSystem()) {
        p.ClassStyle |= 0x20000;   // CS_DROPSHADOW
        p.WinClassName = L"VorpenSkinPopupWindowShadow";
    }
}

void TskSkinPopupWindow::WndProc(TMessage& m)
{
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        m.Handled = true;
        return;
    }
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        m.Handled = true;
        return;
    }
    TCustomControl::WndProc(m);
}

void TskSkinPopupWindow::Release()
{
    for (auto& item : ItemObjects)
        item->MenuItem->RemoveFreeNotification(this);
    FTrackTimer->SetEnabled(false);
    FMorphTimer->SetEnabled(false);
    FScrollTimer->SetEnabled(false);
    FShowTimer->SetEnabled(false);
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    FVisible = false;
    Application->DeferDelete(this);
}

TSkMenuSkin TskSkinPopupWindow::MenuSkin() const
{
    TSkMenuSkin s;
    if (PopupRecord) {
        s.HasPopupRecord = true;
        s.PictureWidth = FWindowPicture->Width();
        s.PictureHeight = FWindowPicture->Height();
        s.LTPoint = PopupRecord->LTPoint;
        s.RTPoint = PopupRecord->RTPoint;
        s.LBPoint = PopupRecord->LBPoint;
        s.RBPoint = PopupRecord->RBPoint;
        s.ItemsRect = PopupRecord->ItemsRect;
    }
    if (ItemRecord) {
        s.HasItemRecord = true;
        s.ItemSkinRect = ItemRecord->SkinRect;
        s.DividerRect = ItemRecord->DividerRect;
        s.TextRect = ItemRecord->TextRct;
    }
    s.DefaultItemHeight = OwnerMenu->DefaultItemHeight;
    s.ImagesWidth = FImagesWidth;
    return s;
}

void TskSkinPopupWindow::ApplyItemFont(TFont& font) const
{
    font.Assign(OwnerMenu->DefaultItemFont);
    if (ItemRecord && OwnerMenu->UseSkinFont) {
        font.SetHeight(ItemRecord->Font.Height);
        font.SetStyle(ToFontStyles(ItemRecord->Font.Style));
        font.SetName(ItemRecord->Font.Name);
    }
    if (SkinData && SkinData->ResourceStrData())
        font.SetCharset(SkinData->ResourceStrData()->CharSet);
}

void TskSkinPopupWindow::LayoutItems()
{
    for (size_t i = 0; i < ItemObjects.size(); ++i) {
        ItemObjects[i]->ItemRect = FLevel->ItemRect(static_cast<int>(i));
        ItemObjects[i]->InView = FLevel->InView(static_cast<int>(i));
    }
}

void TskSkinPopupWindow::ShowItems(const TRect& anchor, TMenuItem* root, int firstIndex, bool submenu, bool upward)
{
    const bool fade = IsLayeredAlphaSystem() && AlphaBlend && AlphaBlendAnimation && OwnerMenu->FreshOpen;
    if (fade)
        Application->ProcessMessages();
    if (SkinData) {
        const int index = SkinData->IndexOfSkinObject("MENUITEM") >= 0 ? SkinData->IndexOfSkinObject("MENUITEM")
                                                                        : SkinData->IndexOfSkinObject("menuitem");
        if (index >= 0)
            ItemRecord = dynamic_cast<TskDataSkinMenuItem*>(SkinData->ObjectList[static_cast<size_t>(index)].get());
    }
    FItemFont.Assign(OwnerMenu->DefaultItemFont);
    if (PopupRecord && ItemRecord && OwnerMenu->UseSkinFont)
        ApplyItemFont(FItemFont);
    const TImageList* images = root->Menu() ? root->Menu()->Images() : nullptr;
    FImagesWidth = images ? images->Width() : -1;
    std::vector<TSkMenuItemInfo> infos;
    for (int i = firstIndex; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        if (!item->Visible())
            continue;
        if (TActionLink* link = item->ActionLink()) {
            link->Update();
            if (!item->Visible())   // its update hid it
                continue;
        }
        ItemObjects.push_back(std::make_unique<TskSkinMenuItem>(this, item));
        item->FreeNotification(this);
        infos.push_back({item->IsLine(), item->Enabled(), item->Count() > 0,
                         item->IsLine() ? 0 : TextWidth(FItemFont, ItemText(item))});
    }
    const TSkMenuSkin skin = MenuSkin();
    GlyphWidth = MenuGlyphWidth(skin);
    const int w = MenuWindowWidth(skin, infos);
    int h = MenuWindowHeight(skin, infos);
    const TRect& wa = OwnerMenu->WorkArea;
    const bool scrolling = h > wa.Height();
    if (scrolling)
        h = wa.Height();
    FGeometry = MenuGeometry(skin, w, h);
    FLevel = std::make_unique<TSkMenuLevel>(skin, std::move(infos), FGeometry.ItemsArea, scrolling);
    LayoutItems();

    const TPoint at = PlaceMenuWindow(anchor, wa, w, h, FGeometry.ItemsArea.Top, submenu, upward, scrolling);
    SetBounds(at.X, at.Y, w, h);
    const HWND window = Handle();
    if (FMaskPicture) {
        TRegion region = ComposeSkinRegion(
            *FMaskPicture, {},
            {PopupRecord->LTPoint, PopupRecord->RTPoint, PopupRecord->LBPoint, PopupRecord->RBPoint, PopupRecord->ItemsRect},
            w, {FGeometry.NewLeftTop, FGeometry.NewRightTop, FGeometry.NewLeftBottom, FGeometry.NewRightBottom,
                FGeometry.ItemsArea});
        SetWindowRgn(window, region ? region.Release() : nullptr, TRUE);
    }
    FShowAt = at;
    if (AlphaBlend && !IsLayeredAlphaSystem()) {
        // Simulated alpha: the screen behind is taken first, then the window shows.
        FShowTimer->SetEnabled(true);
        return;
    }
    if (IsLayeredAlphaSystem() && AlphaBlend) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlpha(window, fade ? 0 : AlphaBlendValue);
    }
    Reveal();
    if (fade)
        for (int a : FadeInSteps(2, AlphaBlendValue))
            SetWindowAlpha(window, static_cast<BYTE>(a));
    ActiveItem = -1;
    for (size_t i = 0; i < ItemObjects.size(); ++i)
        if (FLevel->CanEnter(static_cast<int>(i))) {
            ItemObjects[i]->Preselected = true;
            ActiveItem = static_cast<int>(i);
            ItemObjects[i]->Enter(true);
            break;
        }
}

void TskSkinPopupWindow::Reveal()
{
    if (PopupRecord && PopupRecord->CursorIndex != -1)
        SetCursor(TskSkinData::CursorNumber(PopupRecord->CursorIndex));
    SetWindowPos(Handle(), HWND_TOPMOST, FShowAt.X, FShowAt.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FVisible = true;
    FTrackTimer->SetEnabled(true);
}

void TskSkinPopupWindow::ShowTick(TObject*)
{
    FShowTimer->SetEnabled(false);
    TSkBitmap capture(Width() + 1, Height() + 1);
    CopyScreenArea(FShowAt.X, FShowAt.Y, capture);
    FScreenCapture = std::make_unique<TskEffectBmp>(capture);
    Reveal();
    if (!ItemObjects.empty()) {
        ActiveItem = 0;
        ItemObjects[0]->Enter(true);
    }
}

void TskSkinPopupWindow::Paint()
{
    const int w = Width(), h = Height();
    if (w < 1 || h < 1 || !FLevel)
        return;
    TSkBitmap back(w, h);
    TSkCanvas c(back);
    if (PopupRecord) {
        const TskDataSkinPopupWindow& r = *PopupRecord;
        ComposeSkinPicture(*FWindowPicture, FWindowPicture->BoundsRect(),
                           {r.LTPoint, r.RTPoint, r.LBPoint, r.RBPoint, r.ItemsRect}, back, w, h,
                           {FGeometry.NewLeftTop, FGeometry.NewRightTop, FGeometry.NewLeftBottom, FGeometry.NewRightBottom,
                            FGeometry.ItemsArea},
                           {r.LeftStretch, r.RightStretch, r.TopStretch, r.BottomStretch}, Scrolling());
    } else {
        c.BrushColor = SkPixelFromColor(Rgb(clWindow));
        c.FillRect({0, 0, w, h});
        c.BrushColor = SkPixelFromColor(Rgb(clBtnFace));
        c.FillRect({0, 0, FImagesWidth >= 0 ? GlyphWidth + 3 : 22, h});
        c.PenColor = SkPixelFromColor(Rgb(clBtnShadow));
        c.FrameRect({0, 0, w, h});
        c.PenColor = SkPixelFromColor(Rgb(clWindow));
        c.FrameRect({1, 1, w - 1, h - 1});
    }
    if (Scrolling()) {
        const TRect& ia = FGeometry.ItemsArea;
        const int on = PopupRecord ? PopupRecord->ScrollMarkerActiveColor : Rgb(clBtnText);
        const int off = PopupRecord ? PopupRecord->ScrollMarkerColor : Rgb(clBtnShadow);
        DrawArrowImage(c, {ia.Left, ia.Top, ia.Right, ia.Top + 10}, ScrollState == 1 ? on : off, TArrowKind::akUp);
        DrawArrowImage(c, {ia.Left, ia.Bottom - 10, ia.Right, ia.Bottom}, ScrollState == 2 ? on : off,
                       TArrowKind::akDown);
    }
    if (FScreenCapture) {
        TskEffectBmp blended(back);
        blended.BlendRect(*FScreenCapture, {0, 0, w, h}, 0, 0, AlphaFactor());
        back = blended.ToBitmap();
    }
    TBitmap buffer;
    AssignSkBitmap(buffer, back);
    for (auto& item : ItemObjects)
        if (item->InView)
            PaintItem(buffer.Canvas(), *item);
    BitBlt(Canvas().Handle(), 0, 0, w, h, buffer.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TskSkinPopupWindow::PaintItem(TCanvas& target, TskSkinMenuItem& item)
{
    const int w = item.ItemRect.Width(), h = item.ItemRect.Height();
    if (w < 1 || h < 1)
        return;
    TMenuItem* mi = item.MenuItem;
    const bool lit = item.Highlighted() && !mi->IsLine();
    TSkBitmap picture(w, h);
    TSkCanvas c(picture);
    TRect textRect;
    int textColor;
    int glyph;
    auto skinned = [&](bool highlighted) {
        TSkBitmap look;
        const TskDataSkinMenuItem& r = *item.SkinRecord;
        ComposeHSkinPicture(r.ItemLO, r.ItemRO, look, item.ItemPicture ? *item.ItemPicture : TSkBitmap(),
                            highlighted ? r.ActiveSkinRect : r.SkinRect, w);
        return look;
    };
    if (item.SkinRecord) {
        const TskDataSkinMenuItem& r = *item.SkinRecord;
        if (mi->IsLine()) {
            TSkBitmap line;
            ComposeHSkinPicture(r.DividerLO, r.DividerRO, line, item.ItemPicture ? *item.ItemPicture : TSkBitmap(),
                                r.DividerRect, w);
            c.Draw(0, 0, line);
        } else if (!r.Morphing || item.MorphFactor == (lit ? 1.0 : 0.0)) {
            c.Draw(0, 0, skinned(lit));
        } else {
            TskEffectBmp normal(skinned(false));
            normal.MorphBy(r.MorphKind, TskEffectBmp(skinned(true)), item.MorphFactor);
            c.Draw(0, 0, normal.ToBitmap());
        }
        textRect = {r.TextRct.Left, r.TextRct.Top, r.TextRct.Right + (w - r.SkinRect.Width()), r.TextRct.Bottom};
        textColor = lit ? r.ActiveFontColor : mi->Enabled() ? r.Font.Color : r.UnEnabledFontColor;
        glyph = GlyphWidth;
    } else {
        const int g = FImagesWidth >= 0 ? GlyphWidth : 19;
        if (lit) {
            c.BrushColor = SkPixelFromColor(0xD2BDB6);
            c.FillRect({0, 0, w, h});
            c.PenColor = SkPixelFromColor(0x800000);
            c.FrameRect({0, 0, w, h});
        } else {
            c.BrushColor = SkPixelFromColor(Rgb(clBtnFace));
            c.FillRect({0, 0, g, h});
            c.BrushColor = SkPixelFromColor(Rgb(clWindow));
            c.FillRect({g, 0, w, h});
        }
        if (mi->IsLine()) {
            c.PenColor = SkPixelFromColor(Rgb(clBtnShadow));
            c.MoveTo(g, h / 2);
            c.LineTo(w, h / 2);
        }
        textRect = {2, 2, w - 2, h - 2};
        textColor = mi->Enabled() || lit ? Rgb(clWindowText) : Rgb(clBtnShadow);
        glyph = g;
    }
    const int reserve = item.SkinRecord ? 16 : 19;
    const int middle = (textRect.Top + textRect.Bottom) / 2;
    // The item's picture of the menu's image list takes the place of the marks.
    TImageList* images = mi->Menu() ? mi->Menu()->Images() : nullptr;
    if (images && (mi->IsLine() || mi->ImageIndex() < 0 || mi->ImageIndex() >= images->Count()))
        images = nullptr;
    const TPoint imageAt{textRect.Left + (item.SkinRecord ? 2 : 0), images ? middle - images->Height() / 2 : 0};
    if (!mi->IsLine()) {
        const int markX = textRect.Left + (item.SkinRecord ? 2 : 3);
        if (mi->Count() > 0)
            DrawSubmenuArrow(c, textRect.Right - 7, middle - 4, textColor);
        if (images) {
            if (mi->Checked()) {
                c.PenColor = SkPixelFromColor(textColor);
                c.FrameRect({imageAt.X - 1, imageAt.Y - 1, imageAt.X + images->Width() + 1,
                             imageAt.Y + images->Height() + 1});
            }
        } else if (!DrawNamedGlyph(c, mi->Name(), textRect.Left + 2, middle - 4, textColor) && mi->Checked()) {
            if (mi->RadioItem())
                DrawRadioDot(c, markX, middle - 3, textColor);
            else
                DrawCheckImage(c, markX, middle - 4, textColor);
        }
    }
    if (FScreenCapture) {
        TskEffectBmp blended(picture);
        blended.BlendRect(*FScreenCapture, {0, 0, w, h}, item.ItemRect.Top, item.ItemRect.Left, AlphaFactor());
        picture = blended.ToBitmap();
    }
    TBitmap bitmap;
    AssignSkBitmap(bitmap, picture);
    if (!mi->IsLine()) {
        TCanvas& tc = bitmap.Canvas();
        if (images)
            images->Draw(tc, imageAt.X, imageAt.Y, mi->ImageIndex(), mi->Enabled());
        tc.Brush().SetStyle(bsClear);
        ApplyItemFont(tc.Font());   // the default font or the record's, in the resource strings' character set
        tc.Font().SetColor(static_cast<TColor>(textColor));
        TRect measure{textRect.Left + glyph, 0, textRect.Right - reserve, 0};
        const std::string caption = mi->ShownCaption();   // '&' draws the hot key underlined
        tc.DrawText(caption, measure, DT_CALCRECT | DT_SINGLELINE);
        const int th = measure.Height();
        TRect text{textRect.Left + glyph, middle - th / 2, measure.Right + 2, middle - th / 2 + th};
        tc.DrawText(caption, text, DT_VCENTER | DT_CENTER | DT_SINGLELINE);
        if (mi->ShortCut()) {
            const std::string sc = ShortCutToText(mi->ShortCut());
            TRect m{0, 0, 0, 0};
            tc.DrawText(sc, m, DT_CALCRECT | DT_SINGLELINE);
            TRect r{textRect.Right - reserve - m.Width() - 2, text.Top, textRect.Right - reserve, text.Bottom};
            tc.DrawText(sc, r, DT_VCENTER | DT_CENTER | DT_SINGLELINE);
        }
    }
    BitBlt(target.Handle(), item.ItemRect.Left, item.ItemRect.Top, w, h, bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TskSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState, int X, int Y)
{
    HoverAt(X, Y);
    if (Button != mbLeft || ActiveItem < 0 || !FLevel)
        return;
    const int at = FLevel->ItemAt({X, Y});
    if (at >= 0 && !ItemObjects[static_cast<size_t>(ActiveItem)]->MenuItem->IsLine())
        ItemObjects[static_cast<size_t>(ActiveItem)]->Click();
}

void TskSkinPopupWindow::TrackTick(TObject*)
{
    POINT p{};
    GetCursorPos(&p);
    const HWND under = WindowFromPoint(p);
    ::ScreenToClient(Handle(), &p);
    if (p.x == FLastCursor.X && p.y == FLastCursor.Y)
        return;
    FLastCursor = {p.x, p.y};
    if (under == Handle())
        HoverAt(p.x, p.y);
    else if (Scrolling() && ScrollState != 0)
        StopScrolling();
}

void TskSkinPopupWindow::HoverAt(int x, int y)
{
    if (!FLevel)
        return;
    const TPoint p{x, y};
    if (Scrolling()) {
        if (FLevel->InUpBand(p) && ScrollState == 0 && FLevel->CanScrollUp()) {
            ScrollState = 1;
            StartScrolling();
        } else if (FLevel->InDownBand(p) && ScrollState == 0 && FLevel->CanScrollDown()) {
            ScrollState = 2;
            StartScrolling();
        } else if (ScrollState != 0 && !FLevel->InUpBand(p) && !FLevel->InDownBand(p)) {
            StopScrolling();
        }
    }
    if (ItemObjects.empty())
        return;
    const int previous = ActiveItem;
    const int at = FLevel->ItemAt(p);
    if (at >= 0)
        ActiveItem = at;
    if (ActiveItem >= static_cast<int>(ItemObjects.size()))
        ActiveItem = -1;
    if (ActiveItem < 0)
        return;
    TskSkinMenuItem& item = *ItemObjects[static_cast<size_t>(ActiveItem)];
    if (ActiveItem == previous) {
        if (item.Preselected) {
            item.Preselected = false;
            if (item.MenuItem->Count() > 0)
                item.Enter(false);
        }
        return;
    }
    if (previous >= 0 && FLevel->CanEnter(previous))
        ItemObjects[static_cast<size_t>(previous)]->Leave();
    if (FLevel->CanEnter(ActiveItem))
        item.Enter(false);
}

void TskSkinPopupWindow::StartScrolling()
{
    FShowTimer->SetEnabled(false);
    const int level = OwnerMenu->LevelOf(this);
    if (level >= 0)
        OwnerMenu->CloseLevels(level + 1);
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetEnabled(true);
    Invalidate();
}

void TskSkinPopupWindow::StopScrolling()
{
    ScrollState = 0;
    FScrollTimer->SetEnabled(false);
    Invalidate();
}

void TskSkinPopupWindow::ScrollTick(TObject*)
{
    if (ScrollState == 1 && FLevel->CanScrollUp())
        Scroll(false, false);
    else if (ScrollState == 2 && FLevel->CanScrollDown())
        Scroll(true, false);
    else if (ScrollState != 0)
        StopScrolling();
}

void TskSkinPopupWindow::Scroll(bool down, bool wrap)
{
    if (down ? FLevel->ScrollDown(wrap) : FLevel->ScrollUp(wrap)) {
        LayoutItems();
        Invalidate();
    }
}

void TskSkinPopupWindow::MorphTick(TObject*)
{
    if (!PopupRecord) {
        FMorphTimer->SetEnabled(false);
        return;
    }
    bool moved = false;
    for (auto& item : ItemObjects)
        if (item->SkinRecord && item->SkinRecord->Morphing && item->CanMorph()) {
            item->MorphFactor = std::clamp(item->MorphFactor + (item->Highlighted() ? 0.2 : -0.2), 0.0, 1.0);
            moved = true;
        }
    if (moved)
        Invalidate();
    else
        FMorphTimer->SetEnabled(false);
}

void TskSkinPopupWindow::MoveTo(int index)
{
    if (index == ActiveItem || index < 0)
        return;
    const int previous = ActiveItem;
    ActiveItem = index;
    LayoutItems();
    ItemObjects[static_cast<size_t>(index)]->Enter(true);
    if (previous >= 0)
        ItemObjects[static_cast<size_t>(previous)]->Leave();
}

void TskSkinPopupWindow::HandleKey(WORD key)
{
    if (!FVisible || !FLevel)
        return;
    for (size_t i = 0; i < ItemObjects.size(); ++i)
        if (IsAccel(key, ItemObjects[i]->MenuItem->ShownCaption())) {
            TskSkinMenuItem* item = ItemObjects[i].get();
            if (ActiveItem >= 0 && ActiveItem != static_cast<int>(i))
                ItemObjects[static_cast<size_t>(ActiveItem)]->Leave();
            ActiveItem = static_cast<int>(i);
            item->Enter(false);
            item->Click();
            return;
        }
    TskSkinMenu* menu = OwnerMenu;
    const int levels = static_cast<int>(menu->PopupWindows.size());
    switch (key) {
    case VK_RETURN:
        if (ActiveItem >= 0)
            ItemObjects[static_cast<size_t>(ActiveItem)]->Click();
        break;
    case VK_LEFT:
        if (levels < 2)
            break;
        [[fallthrough]];
    case VK_ESCAPE:
        menu->CloseLevels(levels - 1);
        if (!menu->PopupWindows.empty()) {
            TskSkinPopupWindow* last = menu->PopupWindows.back();
            if (last->ActiveItem >= 0) {
                last->ItemObjects[static_cast<size_t>(last->ActiveItem)]->SubmenuOpen = false;
                last->Invalidate();
            }
        }
        break;
    case VK_DOWN:
        MoveTo(FLevel->MoveDown(ActiveItem, ScrollState != 0));
        Invalidate();
        break;
    case VK_UP:
        MoveTo(FLevel->MoveUp(ActiveItem, ScrollState != 0));
        Invalidate();
        break;
    case VK_RIGHT:
        if (ActiveItem >= 0 && ItemObjects[static_cast<size_t>(ActiveItem)]->MenuItem->Count() > 0)
            ItemObjects[static_cast<size_t>(ActiveItem)]->Click();
        break;
    default:
        break;
    }
}

// TskSkinMenu

TskSkinMenu::TskSkinMenu(TComponent* AOwnerForm)
    : TComponent(AOwnerForm), OwnerForm(dynamic_cast<TControl*>(AOwnerForm)), SubmenuTimer(new TTimer(this))
{
    DefaultItemFont.SetName("Arial");
    DefaultItemFont.SetHeight(14);
    DefaultItemFont.SetStyle({});
    SubmenuTimer->SetEnabled(false);
    SubmenuTimer->SetInterval(500);
    SubmenuTimer->OnTimer = [this](TObject* s) { SubmenuTick(s); };
}

TskSkinMenu::~TskSkinMenu()
{
    Opener = nullptr;
    for (TskSkinPopupWindow* w : PopupWindows)
        delete w;
    PopupWindows.clear();
}

int TskSkinMenu::LevelOf(const TskSkinPopupWindow* window) const
{
    const auto it = std::find(PopupWindows.begin(), PopupWindows.end(), window);
    return it == PopupWindows.end() ? -1 : static_cast<int>(it - PopupWindows.begin());
}

void TskSkinMenu::OpenMenu(TControl* opener, TskSkinData* skinData, TMenuItem* root, const TRect& anchor,
                           int firstIndex, bool upward)
{
    FreshOpen = !ChainOpen;
    Opener = opener;
    if (!PopupWindows.empty())
        CloseLevels(0);
    auto* form = dynamic_cast<TWinControl*>(OwnerForm);
    WorkArea = GetMonitorAreaRect(form && form->HandleAllocated() ? form->Handle() : nullptr, true);
    SkinData = skinData;
    if (root && firstIndex < root->Count()) {
        ChainOpen = true;
        OpenLevel(anchor, root, firstIndex, false, upward);
    }
    FreshOpen = false;
}

void TskSkinMenu::OpenLevel(const TRect& anchor, TMenuItem* item, int firstIndex, bool submenu, bool upward)
{
    auto* window = new TskSkinPopupWindow(this, SkinData && !SkinData->Empty ? SkinData : nullptr);
    const int level = static_cast<int>(PopupWindows.size());
    PopupWindows.push_back(window);
    try {
        window->ShowItems(anchor, item, firstIndex, submenu, upward);
    } catch (...) {   // an item's action update raised: the level that never showed goes;
        if (level == 0)   // with the first one the menu, and the form takes its keys back
            CloseMenu();
        else
            CloseLevels(level);
        throw;
    }
}

void TskSkinMenu::CloseLevels(int level)
{
    level = std::max(level, 0);
    while (static_cast<int>(PopupWindows.size()) > level) {
        TskSkinPopupWindow* window = PopupWindows.back();
        PopupWindows.pop_back();
        if (PendingWindow == window) {
            SubmenuTimer->SetEnabled(false);
            PendingItem = nullptr;
            PendingWindow = nullptr;
        }
        window->Release();
    }
    if (level == 0) {
        SubmenuTimer->SetEnabled(false);
        ChainOpen = false;
        LastOpener = Opener;
        if (TControl* opener = Opener) {
            Opener = nullptr;
            if (auto* win = dynamic_cast<TWinControl*>(opener); win && win->HandleAllocated())
                SendMessageW(win->Handle(), WMS_MENUCLOSED, 0, 0);
            else
                opener->Perform(WMS_MENUCLOSED, 0, 0);
        }
    }
}

void TskSkinMenu::CloseMenu()
{
    CloseLevels(0);
    SubmenuTimer->SetEnabled(false);
    PendingItem = nullptr;
    PendingWindow = nullptr;
    if (auto* form = dynamic_cast<TWinControl*>(OwnerForm); form && form->HandleAllocated())
        SendMessageW(form->Handle(), WMS_MENUCLOSED, 0, 0);
}

void TskSkinMenu::ItemAction(TskSkinPopupWindow* window, TskSkinMenuItem* item, bool keyboard, bool click)
{
    TMenuItem* menuItem = item->MenuItem;
    const int level = LevelOf(window);
    const bool sub = menuItem->Count() > 0;
    if (!sub) {
        SubmenuTimer->SetEnabled(false);
        PendingItem = nullptr;
        PendingWindow = nullptr;
        if (!click) {
            CloseLevels(level + 1);
            return;
        }
        // The item and the opener are kept before the windows (and the item objects) go.
        CloseMenu();
        TControl* lastOpener = LastOpener;
        menuItem->Click();
        if (lastOpener)
            lastOpener->Perform(WMS_MENUITEMCLICKED, 0, 0);
        return;
    }
    if (!click) {
        if (keyboard)
            return;
        SubmenuTimer->SetEnabled(false);
        CloseLevels(level + 1);
        PendingItem = item;
        PendingWindow = window;
        SubmenuTimer->SetEnabled(true);
        return;
    }
    menuItem->Click();
    if (LevelOf(window) < 0)
        return;   // the click closed the chain (it freed items of it)
    SubmenuTimer->SetEnabled(false);
    PendingItem = nullptr;
    PendingWindow = nullptr;
    CloseLevels(level + 1);
    item->SubmenuOpen = true;
    const TRect anchor{item->ItemRect.Left + window->Left(), item->ItemRect.Top + window->Top(),
                       item->ItemRect.Right + window->Left(), item->ItemRect.Bottom + window->Top()};
    OpenLevel(anchor, menuItem, 0, true, false);
}

void TskSkinMenu::SubmenuTick(TObject*)
{
    SubmenuTimer->SetEnabled(false);
    if (PendingItem && PendingWindow && LevelOf(PendingWindow) >= 0) {
        TskSkinMenuItem* item = PendingItem;
        ItemAction(PendingWindow, item, false, true);
    }
}

bool TskSkinMenu::HandleKey(WORD key)
{
    if (PopupWindows.empty())
        return false;
    PopupWindows.back()->HandleKey(key);
    return true;
}

// TskSkinPopupMenu

void TskSkinPopupMenu::SetSkinData(TskSkinData* value)
{
    if (FSkinData)
        FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TskSkinPopupMenu::SetSkinForm(TComponent* value)
{
    if (FSkinForm)
        FSkinForm->RemoveFreeNotification(this);
    FSkinForm = value;
    if (value)
        value->FreeNotification(this);
}

void TskSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FSkinData)
        FSkinData = nullptr;
    if (Operation == TOperation::opRemove && AComponent == FSkinForm)
        FSkinForm = nullptr;
}

void TskSkinPopupMenu::Popup(int X, int Y) { PopupAt({X, Y, X, Y}, false); }

void TskSkinPopupMenu::PopupAt(const TRect& anchor, bool upward)
{
    if (OnPopup)
        OnPopup(this);
    TskMenuFormLink form;
    if (gFindSkinMenu) {
        if (FSkinForm)
            form = gFindSkinMenu(FSkinForm);
        else if (dynamic_cast<TForm*>(Owner()))
            form = gFindSkinMenu(Owner());
        else if (Owner() && dynamic_cast<TForm*>(Owner()->Owner()))
            form = gFindSkinMenu(Owner()->Owner());
    }
    if (!form.Menu)
        return;
    if (!FSkinData)
        SetSkinData(form.SkinData);
    // Keys go to the menu while it is open; an empty menu opens nothing and takes none.
    if (Items()->Count() > 0 && form.TakeKeyboard)
        form.TakeKeyboard();
    form.Menu->OpenMenu(nullptr, FSkinData, Items(), anchor, 0, upward);
}
