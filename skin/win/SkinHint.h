#pragma once
// Skinned hints. TskSkinHint (on the main form) makes the application create every hint
// window as a TskSkinHintWindow, which sizes, shapes and paints itself from the skin's
// HINTWINDOW record; it also shows the hints of skin objects on request, after the
// application's hint pause. Without an active TskSkinHint on the main form no hint shows;
// without a usable skin the hint has the default look.

#include <memory>
#include <string>

#include "framework/base/Timer.h"
#include "framework/win/Application.h"
#include "framework/win/Graphics.h"
#include "skin/core/SkHintLayout.h"
#include "skin/core/SkinData.h"
#include "skin/win/SkRegions.h"

class TskSkinHintWindow;

class TskSkinHint : public TComponent {
public:
    explicit TskSkinHint(TComponent* AOwner);
    ~TskSkinHint() override;

    TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const TFont& value) { FDefaultFont.Assign(value); }
    bool UseSkinFont = true;
    bool AlphaBlendSupport() const { return FAlphaBlendSupport; }
    void SetAlphaBlendSupport(bool value);
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 200;
    TskSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TskSkinData* value);
    bool Active() const { return FActive; }
    void SetActive(bool value);
    // Called with the application's show-hint arguments while this component is active.
    TShowHintEvent OnShowHint;

    TskSkinHintWindow* HintWindow() const { return FHintWindow.get(); }
    // Shows text below the cursor after the application's hint pause, hides it after
    // the hide pause.
    void ShowHintDelayed(const std::string& text);
    void HideHint();

    // The first active TskSkinHint among the main form's components, or nullptr.
    static TskSkinHint* Find();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DelayTick(TObject* Sender);
    void InstallForwarder();

    TFont FDefaultFont;
    bool FAlphaBlendSupport = true;
    TskSkinData* FSkinData = nullptr;
    bool FActive = true;
    std::unique_ptr<TskSkinHintWindow> FHintWindow;
    TTimer* FDelayTimer = nullptr;
    bool FDelayShown = false;
    std::string FPendingHintText;
};

class TskSkinHintWindow : public THintWindow {
public:
    explicit TskSkinHintWindow(TComponent* AOwner);
    ~TskSkinHintWindow() override;
    void ActivateHint(const TRect& rect, const std::string& hint) override;

    TskSkinHint* ActiveSkinHint() const { return FActiveSkinHint; }
    TskSkinData* HintSkin() const { return FHintSkin; }
    const TSkHintGeometry& Geometry() const { return FGeometry; }
    bool HasRegion() const { return FRegionSet; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    void ApplyFont(TFont& font);
    SIZE TextSize(const std::string& text);

    TskSkinHint* FActiveSkinHint = nullptr;
    TskSkinData* FHintSkin = nullptr;
    TSkHintGeometry FGeometry;
    TSkBitmap FBackgroundCapture;
    bool FRegionSet = false;   // the window owns its region
    bool FLastAlphaBlend = false;
    int FLastAlphaBlendValue = 0;
};

// How far below the cursor position an object hint goes.
int CursorBottomMargin();
