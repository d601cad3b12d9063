#pragma once
// TNumLED: a short string of digits shown as seven-segment LED digits, unlit segments in
// a dark colour and lit ones in a light colour on a coloured background. Digits 0-9 and
// '-' light their segments; any other character shows an unlit cell. With AutoSize the
// control takes the size of its text. The segment model lives in NumLEDModel.

#include <string>

#include "framework/win/Controls.h"
#include "organizer/core/NumLEDModel.h"

class TNumLED : public TGraphicControl {
public:
    explicit TNumLED(TComponent* AOwner);

    int OffsetX() const { return FMetrics.OffsetX; }
    void SetOffsetX(int value) { SetMetric(FMetrics.OffsetX, value); }
    int OffsetY() const { return FMetrics.OffsetY; }
    void SetOffsetY(int value) { SetMetric(FMetrics.OffsetY, value); }
    int Space() const { return FMetrics.Space; }
    void SetSpace(int value) { SetMetric(FMetrics.Space, value); }
    int WordWidth() const { return FMetrics.WordWidth; }
    void SetWordWidth(int value);
    int WordHeight() const { return FMetrics.WordHeight; }
    void SetWordHeight(int value);
    int Thick() const { return FMetrics.Thick; }
    void SetThick(int value);

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value) override;   // repaints at once

    TColor BGColor() const { return FBGColor; }
    void SetBGColor(TColor value) { SetColour(FBGColor, value); }
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor value) { SetColour(FLightColor, value); }
    TColor DarkColor() const { return FDarkColor; }
    void SetDarkColor(TColor value) { SetColour(FDarkColor, value); }

protected:
    void Paint() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;

private:
    void SetMetric(int& field, int value);
    void SetColour(TColor& field, TColor value);
    void Changed();

    TLedMetrics FMetrics;
    TColor FBGColor = 0x4A424A;
    TColor FLightColor = 0x00FFF7;
    TColor FDarkColor = 0x636363;
};
