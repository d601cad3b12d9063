#include "framework/win/ComCtrls.h"

#include <algorithm>
#include <utility>

#include "framework/win/WinUtil.h"

//--- TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TSystemControl(AOwner) { TControl::SetBounds(0, 0, 150, 17); }

void TProgressBar::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = PROGRESS_CLASSW;
}

void TProgressBar::CreateWnd() {
    TSystemControl::CreateWnd();
    SendMessageW(FHandle, PBM_SETRANGE32, FMin, FMax);
    SendMessageW(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetRange(int min, int max) {
    if (min > max) throw EInvalidOperation("Progress bar range " + std::to_string(min) + ".." + std::to_string(max) + " is empty");
    FMin = min;
    FMax = max;
    if (HandleAllocated()) SendMessageW(FHandle, PBM_SETRANGE32, min, max);
    SetPosition(FPosition);
}

void TProgressBar::SetPosition(int value) {
    FPosition = std::clamp(value, FMin, FMax);
    if (HandleAllocated()) SendMessageW(FHandle, PBM_SETPOS, FPosition, 0);
}

//--- TUpDown

TUpDown::TUpDown(TComponent* AOwner) : TSystemControl(AOwner) { TControl::SetBounds(0, 0, 17, 25); }

void TUpDown::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = UPDOWN_CLASSW;
}

void TUpDown::CreateWnd() {
    TSystemControl::CreateWnd();
    SendMessageW(FHandle, UDM_SETRANGE32, FMin, FMax);
    SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetMin(int value) {
    FMin = value;
    if (HandleAllocated()) SendMessageW(FHandle, UDM_SETRANGE32, FMin, FMax);
    SetPosition(FPosition);
}

void TUpDown::SetMax(int value) {
    FMax = value;
    if (HandleAllocated()) SendMessageW(FHandle, UDM_SETRANGE32, FMin, FMax);
    SetPosition(FPosition);
}

void TUpDown::SetPosition(int value) {
    FPosition = std::clamp(value, FMin, std::max(FMin, FMax));
    if (HandleAllocated()) SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::Step(TUDBtnType Button) {
    int p = FPosition + (Button == btNext ? FIncrement : -FIncrement);
    if (p > FMax) p = FWrap ? FMin : FMax;
    if (p < FMin) p = FWrap ? FMax : FMin;
    SetPosition(p);
    if (TUDClickEvent h = OnClick) h(this, Button);
}

// The window's own stepping is refused (result 1) so that Step alone moves the position.
void TUpDown::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == UDN_DELTAPOS) {
        Step(reinterpret_cast<NMUPDOWN*>(m.LParam)->iDelta > 0 ? btNext : btPrev);
        m.Result = 1;
        m.Handled = true;
        return;
    }
    TSystemControl::WndProc(m);
}

//--- TDateTimePicker

namespace {

SYSTEMTIME ToSystemTime(TDateTime value) {
    int y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    SYSTEMTIME st{};
    st.wYear = WORD(y);
    st.wMonth = WORD(mo);
    st.wDay = WORD(d);
    st.wDayOfWeek = WORD(DayOfWeek(value) - 1);
    st.wHour = WORD(h);
    st.wMinute = WORD(mi);
    st.wSecond = WORD(s);
    st.wMilliseconds = WORD(ms);
    return st;
}

// The control's calendar starts on 1752-09-14 (its first Gregorian day in Britain).
bool CanShow(TDateTime value) {
    static const TDateTime first = EncodeDate(1752, 9, 14), last = EncodeDateTime(9999, 12, 31, 23, 59, 59, 999);
    return value >= first && value <= last;
}

bool SameSystemTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TSystemControl(AOwner), FDateTime(Now()) {
    SetColor(clWindow);
    FTabStop = true;
    TControl::SetBounds(0, 0, 186, 21);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = DATETIMEPICK_CLASSW;
    p.Caption.clear();
    p.Style |= WS_TABSTOP | (FKind == dtkTime ? DTS_TIMEFORMAT : DTS_SHORTDATEFORMAT);
}

void TDateTimePicker::CreateWnd() {
    TSystemControl::CreateWnd();
    if (!FFormat.empty()) SendMessageW(FHandle, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(Wide(FFormat).c_str()));
    SendValue();
}

bool TDateTimePicker::SendValue() {
    if (!HandleAllocated()) return true;
    SYSTEMTIME st = ToSystemTime(FDateTime);
    return SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != 0;
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
    if (value == FKind) return;
    FKind = value;
    RecreateWnd();
}

// A value the control cannot show is refused, so that the value read back is always the
// one shown.
bool TDateTimePicker::SetDateTime(TDateTime value) {
    ToSystemTime(value);   // raises EConvertError for a value outside the calendar
    if (!CanShow(value)) return false;
    const TDateTime old = std::exchange(FDateTime, value);
    if (SendValue()) return true;
    FDateTime = old;
    return false;
}

namespace {

// A day and a time of day as one value: before 1899-12-30 the days count back while the
// time still adds to the day (-1.25 is 1899-12-29 06:00).
TDateTime DayAndTime(TDateTime day, TDateTime time) { return day >= 0 ? day + time : day - time; }

}  // namespace

bool TDateTimePicker::SetDate(TDateTime value) { return SetDateTime(DayAndTime(DateOf(value), TimeOf(FDateTime))); }

bool TDateTimePicker::SetTime(TDateTime value) { return SetDateTime(DayAndTime(DateOf(FDateTime), TimeOf(value))); }

void TDateTimePicker::SetFormat(const std::string& value) {
    FFormat = value;
    if (HandleAllocated())
        SendMessageW(FHandle, DTM_SETFORMATW, 0, value.empty() ? 0 : reinterpret_cast<LPARAM>(Wide(value).c_str()));
}

void TDateTimePicker::Change() {
    if (TNotifyEvent h = OnChange) h(this);
}

// DTN_DATETIMECHANGE also comes when nothing changed (Wine sends it for every set); only
// a new value counts.
void TDateTimePicker::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == DTN_DATETIMECHANGE) {
        auto* change = reinterpret_cast<NMDATETIMECHANGE*>(m.LParam);
        const SYSTEMTIME& st = change->st;
        if (change->dwFlags == GDT_VALID && !SameSystemTime(st, ToSystemTime(FDateTime))) {
            FDateTime = EncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
            Change();
        }
        m.Handled = true;
        return;
    }
    TSystemControl::WndProc(m);
}
