#pragma once
// The countdown settings dialogs: a title and a target, either an absolute date and time
// or an amount of days or hours from now, saved into the slot's row of sz_djsb and shown
// at once on the slot's countdown window. One class serves every slot; TFormdjssz is slot
// 1 and TFormdjssz2..TFormdjssz5 slots 2..5.

#include <array>

#include "framework/win/Buttons.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/core/Countdown.h"

class TCountdownForm;

class TCountdownSettingsForm : public TForm {
public:
    TCountdownSettingsForm(TComponent* AOwner, int slot);
    ~TCountdownSettingsForm() override;

    int Slot() const { return FSlot; }

    TLabel* Label1;
    TEdit* Edit1;                   // the title
    TRadioButton *rb1, *rb2;        // absolute, relative
    TDateTimePicker *dt1, *dt2;     // the absolute date and time
    TComboBox *ComboBox1, *ComboBox2;   // the relative amount and unit
    TBitBtn *BitBtn1, *BitBtn2;     // save, cancel

    void FormShow(TObject* Sender);
    void rb1Click(TObject* Sender);
    void rb2Click(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);

private:
    void SetAbsolute(bool absolute);
    // The target takes effect: the row, then the slot's variable and the window's LEDs.
    // False, with a message and nothing changed, when the slot's row is missing.
    bool SaveTarget(TDateTime target, const std::string& statement, int amount, const std::string& unit,
                    const std::string& sjbz);

    int FSlot;
};

class TFormdjssz : public TCountdownSettingsForm {
public:
    explicit TFormdjssz(TComponent* AOwner) : TCountdownSettingsForm(AOwner, 1) {}
};
class TFormdjssz2 : public TCountdownSettingsForm {
public:
    explicit TFormdjssz2(TComponent* AOwner) : TCountdownSettingsForm(AOwner, 2) {}
};
class TFormdjssz3 : public TCountdownSettingsForm {
public:
    explicit TFormdjssz3(TComponent* AOwner) : TCountdownSettingsForm(AOwner, 3) {}
};
class TFormdjssz4 : public TCountdownSettingsForm {
public:
    explicit TFormdjssz4(TComponent* AOwner) : TCountdownSettingsForm(AOwner, 4) {}
};
class TFormdjssz5 : public TCountdownSettingsForm {
public:
    explicit TFormdjssz5(TComponent* AOwner) : TCountdownSettingsForm(AOwner, 5) {}
};

extern TFormdjssz* Formdjssz;
extern TFormdjssz2* Formdjssz2;
extern TFormdjssz3* Formdjssz3;
extern TFormdjssz4* Formdjssz4;
extern TFormdjssz5* Formdjssz5;
// Slot N's dialog at index N-1; null until it is made.
extern std::array<TCountdownSettingsForm*, kCountdownSlots> CountdownSettingsForms;
// Slot N's dialog, made (owned by the application) when first asked for.
TCountdownSettingsForm* CountdownSettingsDialog(int slot);
