#pragma once
// The five countdown windows: small borderless windows that count down to their slot's
// target in LED digits (days, hours, minutes) under a title, floating on the desktop with
// edge retraction. One class serves every slot; TFormdjs1..TFormdjs5 are its members for
// slots 1..5, each with its row "倒计时N" in sz_djsb, its position "倒计时N位置", its
// position pair and its target variable. The clock window shows and closes them by their
// row's qyzt; CountdownForms holds them for the menus and timers to walk.

#include <array>
#include <cstdint>

#include "framework/base/Timer.h"
#include "framework/rtl/DateUtils.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "organizer/core/Countdown.h"
#include "organizer/win/FloatingWindow.h"
#include "organizer/win/NumLED.h"

class TCountdownForm : public TForm {
public:
    TCountdownForm(TComponent* AOwner, int slot);
    ~TCountdownForm() override;

    int Slot() const { return FSlot; }
    TDateTime& Target() const { return *FTarget; }   // CountdownTarget1..5

    TLabel* Label4;                          // the title; a drag surface
    TNumLED *nled1, *nled2, *nled3, *nled4;  // "00", days, hours, minutes
    TLabel *Label1, *Label2, *Label3;        // the dots between them
    TPopupMenu* PopupMenu1;
    TMenuItem *N1, *N2;
    TTimer* Timer1;                          // the 1 s tick, driven by one timer for all five
    TFloatingBehaviour* Floating;            // drag, position, Timer5 and Timer6

    // Runs the shared 1 s tick at once (tests).
    static void RunSharedSecond();
    // The LEDs from the time left until `target`.
    void ShowTimeLeft(TDateTime target);

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Timer1Timer(TObject* Sender);
    void N1Click(TObject* Sender);
    void N2Click(TObject* Sender);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Label4MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

private:
    void LoadSlot();
    void PlaceAfterDays();

    int FSlot;
    TDateTime* FTarget;
};

class TFormdjs1 : public TCountdownForm {
public:
    explicit TFormdjs1(TComponent* AOwner) : TCountdownForm(AOwner, 1) {}
};
class TFormdjs2 : public TCountdownForm {
public:
    explicit TFormdjs2(TComponent* AOwner) : TCountdownForm(AOwner, 2) {}
};
class TFormdjs3 : public TCountdownForm {
public:
    explicit TFormdjs3(TComponent* AOwner) : TCountdownForm(AOwner, 3) {}
};
class TFormdjs4 : public TCountdownForm {
public:
    explicit TFormdjs4(TComponent* AOwner) : TCountdownForm(AOwner, 4) {}
};
class TFormdjs5 : public TCountdownForm {
public:
    explicit TFormdjs5(TComponent* AOwner) : TCountdownForm(AOwner, 5) {}
};

extern TFormdjs1* Formdjs1;
extern TFormdjs2* Formdjs2;
extern TFormdjs3* Formdjs3;
extern TFormdjs4* Formdjs4;
extern TFormdjs5* Formdjs5;
// Slot N's window at index N-1; null until it is made.
extern std::array<TCountdownForm*, kCountdownSlots> CountdownForms;
// The target variable of a slot (CountdownTarget1..5); raises for a slot outside 1..5.
TDateTime& CountdownTarget(int slot);
