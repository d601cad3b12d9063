#pragma once
// TPNGButton: a windowless image control that shows a PNG file through GDI+ (keeping its
// alpha channel), with an optional caption, a second image and font while the mouse is
// over it, and a rotation angle about its centre. Each paint tells the enclosing form
// with message 10024. An image is decoded once, when its path or its file changes. The
// clock's six layers are instances that never paint themselves (DrawIamge false): the
// clock composes their decoded images itself.

#include <cstdint>
#include <string>

#include "framework/win/Controls.h"
#include "framework/win/GdiPlus.h"

constexpr UINT WM_PNGBUTTONPAINT = 10024;   // sent to the form before each paint

class TPNGButton : public TGraphicControl {
public:
    explicit TPNGButton(TComponent* AOwner);
    ~TPNGButton() override;
    void Click() override;
    void SetParent(TWinControl* AParent) override;

    TFont& FontOver() { return FFontOver; }
    void SetFontOver(const TFont& value);
    const std::string& ImageNormal() const { return FImageNormal; }
    void SetImageNormal(const std::string& value);
    const std::string& ImageOver() const { return FImageOver; }
    void SetImageOver(const std::string& value);
    bool DrawIamge() const { return FDrawIamge; }
    void SetDrawIamge(bool value);
    double Rotate() const { return FRotate; }
    void SetRotate(double value);
    int StringAlignment() const { return FStringAlignment; }   // near 0, center 1, far 2
    void SetStringAlignment(int value) { FStringAlignment = value; }

    // The image and font for the current mouse and press state.
    std::string CurrentImagePath() const;
    // The current image, decoded when its path changes (or by ReloadChangedImage); empty
    // when the file does not load. ImageVersion changes with every decode.
    const TGpImage& CurrentImage();
    unsigned ImageVersion() const { return FImageVersion; }
    // Decodes the current image again when its file changed on disk since it was decoded.
    void ReloadChangedImage();
    TFont& CurrentFont();
    TWinControl* Form() const { return FForm; }
    bool MouseOver() const { return FMouseOver; }
    uint8_t PressState() const { return FPressState; }   // 0 normal, 1 pressed, 2 disabled

protected:
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // A drag of the control (DragMode dmAutomatic) ends its press: no mouse-up comes.
    void DoEndDrag(TObject* Target, int X, int Y) override;
    void DoEndDock(TObject* Target, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;

private:
    void FindForm();

    bool FMouseOver = false;
    uint8_t FPressState = 0;
    bool FDrawIamge = false;
    TFont FFontOver;
    std::string FImageNormal, FImageOver, FImageDisabled;
    double FRotate = 0;
    TWinControl* FForm = nullptr;   // the enclosing form (outermost parent)
    int FStringAlignment = 0;
    TGpImage FImage;                // CurrentImage, decoded from FImagePath
    std::string FImagePath;
    uint64_t FImageStamp = 0;       // the file's size and time when decoded
    unsigned FImageVersion = 0;
};
