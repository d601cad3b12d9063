// The clock side of TFmMain: the six image layers, Set.ini, composing a frame with GDI+
// into a 32-bit DIB section and pushing it to the layered window, the 200 ms redraw, the
// face and alpha commands, dragging, and the one-shot desktop-calendar timer.
#include "app/win/Main.h"

#include <array>
#include <memory>
#include <span>

#include "app/core/ClockSettings.h"
#include "app/core/dbhouse.h"
#include "app/win/GDITools.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/IniFiles.h"
#include "framework/win/Handles.h"
#include "framework/win/WinUtil.h"

namespace {

std::string ImagesFolder() { return ExeFolder() + "Images" + PathDelim; }
std::string SettingsFile() { return ExeFolder() + "Set.ini"; }

TDesktop CurrentDesktop()
{
    TDesktop desktop;
    desktop.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT r, LPARAM data) -> BOOL {
            reinterpret_cast<TDesktop*>(data)->Monitors.push_back({r->left, r->top, r->right, r->bottom});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&desktop));
    return desktop;
}

}  // namespace

void TFmMain::CreateClockLayers()
{
    struct Layer { TPNGButton*& button; const char* name; int left, top, width, height; bool autoSize; };
    Layer layers[] = {{pngBg, "pngBg", 0, 0, 130, 130, true},
                      {pngHour, "pngHour", 58, 1, 13, 129, true},
                      {pngMinute, "pngMinute", 58, 1, 13, 129, true},
                      {pngSecond, "pngSecond", 58, 1, 13, 129, true},
                      {pngDot, "pngDot", 58, 1, 13, 129, true},
                      {pngHighLights, "pngHighLights", 2, -1, 130, 130, false}};
    for (Layer& l : layers) {
        l.button = new TPNGButton(this);
        l.button->SetName(l.name);
        l.button->SetBounds(l.left, l.top, l.width, l.height);
        l.button->SetAutoSize(l.autoSize);
        l.button->SetDrawIamge(false);
        l.button->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) { FormMouseMove(Sender, Shift, X, Y); };
        l.button->SetParent(this);
    }
    tmrDrawClock = new TTimer(this);
    tmrDrawClock->SetName("tmrDrawClock");
    tmrDrawClock->SetInterval(kDrawClockMs);
    tmrDrawClock->OnTimer = [this](TObject* Sender) { tmrDrawClockTimer(Sender); };
    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetEnabled(false);
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
}

TPNGButton* TFmMain::ClockLayer(int k) const
{
    TPNGButton* const layers[kClockLayerCount] = {pngBg, pngHour, pngMinute, pngSecond, pngDot, pngHighLights};
    return layers[k];
}

void TFmMain::SetLayerImages()
{
    for (int k = 0; k < kClockLayerCount; ++k)
        ClockLayer(k)->SetImageNormal(ImagesFolder() + ClockImageName(FSkinType, k));
}

void TFmMain::LoadSkinImages()
{
    ResetClockDrawn();
    try {
        LoadClockSettings();
        SetLayerImages();
    } catch (...) {
        RenderClockOnce();
        throw;
    }
    RenderClockOnce();
}

void TFmMain::ShowFirstFrame()
{
    FSkinImagesLoaded = true;
    ResetClockDrawn();
    try {
        LoadClockSettings();
        SetLayerImages();
    } catch (...) {   // as at start-up: what failed keeps its defaults, the clock still shows
    }
    tmrDrawClockTimer(tmrDrawClock);
    RenderClockOnce();
}

// A Set.ini that is there but cannot be read (another program holds it) gives the
// defaults, and is then not written over at close.
void TFmMain::LoadClockSettings()
{
    std::unique_ptr<TMemIniFile> ini;
    bool read = true;
    try {
        ini = std::make_unique<TIniFile>(SettingsFile());
    } catch (const Exception&) {
        ini = std::make_unique<TMemIniFile>();
        read = false;
    }
    TClockSettings s = ::LoadClockSettings(*ini, CurrentDesktop(), Width(), Height());
    FSkinType = s.SkinType;
    FShowSecond = s.ShowSecond;
    FSecondTan = s.SecondTan;
    FAlpha = s.Alpha;
    SetBounds(s.Left, s.Top, Width(), Height());
    FClockSettingsLoaded = read;
}

void TFmMain::SaveClockSettings()
{
    TIniFile ini(SettingsFile());
    TClockSettings s;
    s.SkinType = FSkinType;
    s.ShowSecond = FShowSecond;
    s.SecondTan = FSecondTan;
    s.Alpha = FAlpha;
    s.Left = Left();
    s.Top = Top();
    s.StayOnTop = FormStyle() == fsStayOnTop;
    ::SaveClockSettings(ini, s);
}

// The layers in drawing order, each at its place and rotated about its centre; the
// seconds hand only while it shows.
void TFmMain::ComposeClockFrame()
{
    std::array<TClockLayerState, kClockLayerCount> layers;
    size_t count = 0;
    for (int k = 0; k < kClockLayerCount; ++k) {
        if (k == clSecond && !FShowSecond)
            continue;
        TPNGButton& layer = *ClockLayer(k);
        const TGpImage& image = layer.CurrentImage();
        layers[count++] = {&image, layer.ImageVersion(), layer.Left(), layer.Top(), layer.Width(), layer.Height(),
                           layer.Rotate()};
    }
    FComposer.Compose(Width(), Height(), std::span(layers.data(), count));
}

// A frame with the pixels and the alpha of the one on the window is not pushed again.
void TFmMain::RenderClock()
{
    ComposeClockFrame();
    BYTE alpha = ConstantAlpha(FAlpha);
    HWND window = Handle();
    if (window == FPushedWindow && FComposer.FrameVersion() == FPushedFrame && alpha == FPushedAlpha)
        return;
    FPushedAlpha = alpha;
    FPushedWindow = nullptr;   // unknown until the push is done
    UpdateLayeredClock(window, SIZE{Width(), Height()}, FComposer.DC(), alpha);
    FPushedWindow = window;
    FPushedFrame = FComposer.FrameVersion();
    ++FFramesComposed;
}

void TFmMain::RenderClockOnce()
{
    if (FClockDrawn)
        return;
    FClockDrawn = true;
    RenderClock();
}

void TFmMain::ResetClockDrawn() { FClockDrawn = false; }

void TFmMain::UpdateLayeredClock(HWND window, SIZE size, HDC source, BYTE alpha)
{
    // The window stays where it is (at GetWindowRect's top-left): no destination point,
    // which spares the system a move.
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED))
        SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    UpdateLayeredWindow(window, nullptr, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
}

// With the overshoot the tick shows the first frame and shortens its own interval to the
// overshoot's 50 ms; the next tick settles the hand and restores the interval, so the UI
// thread never waits.
void TFmMain::tmrDrawClockTimer(TObject*)
{
    if (FSettlePending) {
        FSettlePending = false;
        tmrDrawClock->SetInterval(kDrawClockMs);
        ShowHands(FSettle);
        return;
    }
    int h, m, s, ms;
    DecodeTime(Now(), h, m, s, ms);
    if (!FDial.Changed(h, m, s, FShowSecond))
        return;
    if (m != FImagesCheckedMinute) {   // a layer's file replaced on disk is decoded anew
        FImagesCheckedMinute = m;
        for (int k = 0; k < kClockLayerCount; ++k)
            ClockLayer(k)->ReloadChangedImage();
    }
    TClockFrames frames = TClockDial::Frames(h, m, s, FShowSecond, FSecondTan);
    ShowHands(frames.Frames[0]);
    if (frames.Count > 1) {
        FSettle = frames.Frames[1];
        FSettlePending = true;
        tmrDrawClock->SetInterval(kOvershootMs);
    }
    FDial.Remember(h, m, s);
}

void TFmMain::ShowHands(const THandAngles& hands)
{
    ResetClockDrawn();
    pngHour->SetRotate(hands.Hour);
    pngMinute->SetRotate(hands.Minute);
    pngSecond->SetRotate(hands.Second);
    RenderClockOnce();
}

void TFmMain::SetSkinType(int skinType)
{
    FSkinType = uint8_t(skinType);
    ResetClockDrawn();
    try {
        SetLayerImages();
    } catch (...) {
        RenderClockOnce();
        throw;
    }
    RenderClockOnce();
}

void TFmMain::mniBlueClick(TObject*) { SetSkinType(kBlueFace); }
void TFmMain::mniBlackClick(TObject*) { SetSkinType(kBlackFace); }

void TFmMain::SetClockAlpha(int percent)
{
    FAlpha = uint8_t(percent);
    RenderClock();
}

void TFmMain::mniTransparent10Click(TObject*) { SetClockAlpha(10); }
void TFmMain::mniTransparent20Click(TObject*) { SetClockAlpha(20); }
void TFmMain::mniTransparent40Click(TObject*) { SetClockAlpha(40); }
void TFmMain::mniTransparent60Click(TObject*) { SetClockAlpha(60); }
void TFmMain::mniTransparent80Click(TObject*) { SetClockAlpha(80); }
void TFmMain::mniTransparent100Click(TObject*) { SetClockAlpha(100); }

// The system's move loop starts only with the left button down: on a bare hover it
// would capture the mouse and drag the clock without a click.
void TFmMain::FormMouseMove(TObject*, TShiftState Shift, int, int)
{
    if (!Shift.Contains(ssLeft))
        return;
    if (OnSystemMove) {
        OnSystemMove();
        return;
    }
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TFmMain::mniAllwithontopClick(TObject*, bool Checked) { SetFormStyle(Checked ? fsStayOnTop : fsNormal); }

std::string TFmMain::ReadCalendarFlag()
{
    if (OnReadCalendarFlag)
        return OnReadCalendarFlag();
    if (!dbhouse)   // the data module is made after the clock window
        return "";
    TADOQuery& q = *dbhouse->qcx;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select rlxsf from sz_sfxsb ");
    q.Open();
    std::string flag = q.FieldByName("rlxsf").AsString();
    q.Close();
    return flag;
}

// rlxsf "1" shows the desktop calendar; any other value closes it. Form1 is null until
// the desktop calendar window is built.
void TFmMain::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    std::string flag = ReadCalendarFlag();
    if (!Form1)
        return;
    if (flag != "1") {
        if (Form1->Visible())   // a hidden calendar's close would write its position over the row
            Form1->Close();
    } else
        Form1->Show();
}
