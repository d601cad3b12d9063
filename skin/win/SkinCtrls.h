#pragma once
// Controls that draw themselves from a control record of the skin store: the base
// TskSkinControl, the sizing base TskSkinCustomControl, the push button TskSkinButton,
// the panel TskSkinPanel and the group box TskSkinGroupBox. Without a record they draw a
// plain default look (when DrawDefault is set).

#include <memory>
#include <string>
#include <vector>

#include "framework/base/Timer.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Controls.h"
#include "framework/win/StdCtrls.h"
#include "skin/core/SkControlLayout.h"
#include "skin/core/SkinData.h"
#include "skin/win/SkRegions.h"


class TskSkinControl : public TCustomControl {
public:
    explicit TskSkinControl(TComponent* AOwner);
    ~TskSkinControl() override;

    TskSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    virtual void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    std::string AreaName;
    bool DrawDefault = true;
    bool UseSkinCursor = false;   // ChangeSkin sets Cursor to the record's skin cursor
    bool AlphaBlend() const { return FAlphaBlend; }
    virtual void SetAlphaBlend(bool value);
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    virtual void SetAlphaBlendValue(BYTE value);

    // Called by the skinned form when its store changes.
    virtual void ChangeSkin();
    virtual void ForgetSkinEntry() { FIndex = -1; }
    int SkinIndex() const { return FIndex; }
    int SkinCursorIndex() const { return FCursorIndex; }

protected:
    virtual void LookUpSkinEntry();
    virtual void DrawDefaultLook(TBitmap& b) { (void)b; }
    virtual void DrawSkinnedLook(TBitmap& b) { (void)b; }
    void Paint() override;
    void WndProc(TMessage& m) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TskSkinData* FSD = nullptr;
    std::string FSkinDataName;
    int FIndex = -1;
    int FCursorIndex = -1;   // the record's cursorindex
    bool FAlphaBlend = false;
    BYTE FAlphaBlendValue = 200;
};

class TskSkinCustomControl : public TskSkinControl {
public:
    explicit TskSkinCustomControl(TComponent* AOwner);
    ~TskSkinCustomControl() override;

    TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const TFont& value);
    bool UseSkinFont = true;
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkin() override;
    int ResizeMode() const { return FResizeMode; }
    const TSkinFrame& NewFrame() const { return FNewFrame; }

protected:
    virtual void DefaultFontChanged() {}
    virtual void CalcSkinSize(int& width, int& height);
    virtual void ApplyMaskRegion();
    void LookUpSkinEntry() override;
    void DrawDefaultLook(TBitmap& b) override;
    void DrawSkinnedLook(TBitmap& b) override;
    // The skinned picture of the skin rectangle r (same size as the skin rectangle).
    TSkBitmap SkinPicture(const TRect& r) const;
    TRect MapRect(const TRect& r) const;
    TRect ContentRect() const;   // the client rectangle for the present size

    TFont FDefaultFont;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    const TSkBitmap* FPicture = nullptr;
    const TSkBitmap* FMask = nullptr;
    TRect FSkinRect;
    TSkinFrame FFrame;
    TSkinFrame FNewFrame;
    int FResizeMode = -1;
    TRegion FRegion;
};

class TskSkinButton : public TskSkinCustomControl {
public:
    explicit TskSkinButton(TComponent* AOwner);

    bool RepeatMode = false;
    int RepeatInterval = 100;
    bool AllowAllUp = false;
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value) { FCanFocused = value; }
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    TBitmap& Glyph() { return FGlyph; }
    int NumGlyphs = 1;
    int Margin = -1;
    int Spacing = 1;
    TskButtonLayout Layout = TskButtonLayout::blGlyphLeft;
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel = false;
    TModalResult ModalResult = 0;

    void ChangeSkin() override;
    // Hands ModalResult to the parent form (when CanFocused), then clicks as every control
    // does: OnClick or the action (ActionClick).
    virtual void ButtonClick();
    bool Hovered() const { return FMouseIn; }
    TSkButtonLook CurrentLook() const;
    // 0 normal look .. 1 active look, stepped by the morph timer when the skin morphs.
    double MorphFactor() const { return FMorphFactor; }
    bool MorphRunning() const { return FMorphTimer && FMorphTimer->Enabled(); }

protected:
    void LookUpSkinEntry() override;
    void DrawDefaultLook(TBitmap& b) override;
    void DrawSkinnedLook(TBitmap&) override {}
    void Paint() override;
    void WndProc(TMessage& m) override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void EnabledChanged() override;
    void ActionChange(const TAction& Action, TActionProperties Changed) override;
    void DoStartDrag() override;
    void DoStartDock() override;
    virtual void DrawGlyphAndCaption(TBitmap& b, const TRect& r, bool active, bool down);

private:
    // ButtonClick for the mouse and key handlers; false when what the click ran freed the
    // button, which the handler must then not touch.
    bool ClickSurvives();
    void StartRepeat(bool on);
    void CancelPress();
    // The morph toward the look the state asks for; StopMorph leaves the factor.
    void StartMorph();
    void StopMorph();
    void MorphTick();
    // The blend of the normal and active pictures at the present factor, or empty.
    TSkBitmap MorphedPicture() const;
    bool InGroup() const { return FGroupIndex != 0; }
    void ReleaseGroup();
    bool Focused() const;

    bool FCanFocused = true;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FDefault = false;
    bool FActsAsDefault = false;
    bool FMouseIn = false;
    bool FMousePressed = false;
    bool FDownAtPress = false;
    bool FReleasing = false;
    TBitmap FGlyph;
    std::unique_ptr<TTimer> FRepeatTimer;
    bool FHasRecord = false;
    TskSkinFont FFont;
    TSkButtonFontColors FColors;
    TRect FActiveRect, FDownRect, FDisabledRect;
    bool FMorphing = false;
    TMorphKind FMorphKind = TMorphKind::mkDefault;
    double FMorphFactor = 0;
    std::unique_ptr<TTimer> FMorphTimer;
};

enum class TskSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

class TskSkinPanel : public TskSkinCustomControl {
public:
    explicit TskSkinPanel(TComponent* AOwner);

    int RealHeight = -1;
    bool AutoEnabledControls = true;
    bool CheckedMode = false;
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    TBitmap& Glyph() { return FGlyph; }
    int NumGlyphs = 1;
    int Spacing = 2;
    TAlignment DefaultAlignment = taLeftJustify;
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int value);
    TskSkinBorderStyle BorderStyle = TskSkinBorderStyle::bvFrame;
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool value);
    bool RollUpMode = false;
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool value);
    TNotifyEvent OnChecked;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void AdjustClientRect(TRect& Rect) const override;
    void ChangeSkin() override;
    void SetAlphaBlend(bool value) override;
    void SetAlphaBlendValue(BYTE value) override;
    TRect CaptionRect() const;   // where a click toggles; null without one

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void LookUpSkinEntry() override;
    void DrawDefaultLook(TBitmap& b) override;
    void DrawSkinnedLook(TBitmap& b) override;
    void WndProc(TMessage& m) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void TextChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DrawCaption(TBitmap& b, const TRect& r, bool defaultLook);
    void ForgetHiddenChildren();

    bool FChecked = false;
    TBitmap FGlyph;
    int FDefaultCaptionHeight = 22;
    bool FCaptionMode = false;
    bool FRollUpState = false;
    std::vector<TControl*> FHiddenChildren;
    bool FHasRecord = false;
    int FBGPictureIndex = -1;
    TRect FCaptionSkinRect;
    TSkAlignment FAlignment = TSkAlignment::taCenter;
    TskSkinFont FFont;
    TRect FCheckRect, FUnCheckRect;
};

class TskSkinGroupBox : public TskSkinPanel {
public:
    explicit TskSkinGroupBox(TComponent* AOwner);
};

// Tells every skinned control under parent (at any depth) that is bound to store, or to
// no store, that the skin changed (it reloads its skin entry) or is about to (it forgets it).
void WalkSkinControls(TWinControl* parent, TskSkinData* store, bool changed);
