#pragma once
// TMsgForm: the small window that slides in at an edge of the work area to show a
// reminder text (due memos, coming festivals, the tray icon's summaries). Every message
// gets a window of its own, made by ShowMsgPopup; it rests until clicked (or its rest
// time is over), slides back out and frees itself. A festival reminder carries a check
// box that marks the festival as confirmed for good.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/base/Timer.h"
#include "framework/win/Bitmap.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/StdCtrls.h"

class TMsgForm : public TForm {
public:
    explicit TMsgForm(TComponent* AOwner);
    ~TMsgForm() override;

    TLabel* lblMsg = nullptr;
    TLabel* lblIcon = nullptr;
    TImage* imgError = nullptr;
    TCheckBox* cb1 = nullptr;
    TEdit* editiid = nullptr;   // the festival row the check box confirms, "0" for none
    TTimer *tmFadeIn = nullptr, *tmFadeOut = nullptr, *tmDelay = nullptr;

    void FormCreate(TObject* Sender);
    void MsgFormSetText(const std::string& Text);
    void MsgFormSetKind(uint8_t Kind);
    void MsgFormSetSide(uint8_t Side) { FSide = Side; }
    void MsgFormMeasureText();
    void ShowNoActivate();
    void FormShow(TObject* Sender);
    void MsgFormFillGradient();
    void tmFadeInTimer(TObject* Sender);
    void tmDelayTimer(TObject* Sender);
    void tmFadeOutTimer(TObject* Sender);
    void FormClick(TObject* Sender);
    void cb1Click(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);

    const std::string& Text() const { return FText; }
    uint8_t Kind() const { return FKind; }
    uint8_t Side() const { return FSide; }
    int Step() const { return FStep; }
    int Speed() const { return FSpeed; }
    uint32_t ColorFrom() const { return FColorFrom; }
    uint32_t ColorTo() const { return FColorTo; }
    TBitmap& BackBitmap() { return *FBackBitmap; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    void PaintBackground(HDC dc);

    std::string FText;
    TBitmap* FBackBitmap = nullptr;
    uint8_t FKind = 1;
    uint32_t FColorFrom = 0, FColorTo = 0;   // 0x00RRGGBB
    uint8_t FSide = 3;
    int32_t FStep = 0;
    int32_t FSpeed = 0;
    bool FPainting = false;
};

// Side (values of TMsgPopupSide) and rest time in seconds of the next pop-up; callers
// set both before each call, and both keep their value.
extern uint8_t MsgPopupSide;
extern int32_t MsgPopupSeconds;
// The gradient pairs, from and to: information, warning, error.
extern const TColor MsgPopupColors[6];

// Shows `Text` in a new pop-up of `Kind` (0 error, 2 warning, other information). A
// festival reminder passes its row's iid: only then does the window offer the check box
// that confirms that row.
TMsgForm* ShowMsgPopup(const std::string& Text, uint8_t Kind, int32_t FestivalIid = 0);
// The desktop's work area, asked afresh at each use.
TRect GetWorkArea();
// The pop-ups still open, oldest first.
const std::vector<TMsgForm*>& OpenMsgPopups();
// Frees every open pop-up, newest first (at shut-down).
void FreeMsgPopups();
