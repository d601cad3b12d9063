#pragma once
// The common controls the forms use: TProgressBar (msctls_progress32), TUpDown
// (msctls_updown32: a position stepped by its arrows inside Min..Max) and TDateTimePicker
// (SysDateTimePick32, a date or a time of day with an optional display Format). Values are
// kept while no window exists and go to the window when it is made.

#include <functional>
#include <string>

#include "framework/rtl/DateUtils.h"
#include "framework/win/StdCtrls.h"

class TProgressBar : public TSystemControl {
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int value) { SetRange(value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetRange(FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value);   // clamped into Min..Max

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void SetRange(int min, int max);
    int FMin = 0, FMax = 100, FPosition = 0;
};

enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

// An arrow press moves Position by Increment (up is btNext), clamped to Min..Max unless
// Wrap, then fires OnClick with the arrow. Setting Position from code fires nothing.
class TUpDown : public TSystemControl {
public:
    explicit TUpDown(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);   // clamped into Min..Max
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value) { FWrap = value; }
    // What an arrow press does (the window's UDN_DELTAPOS comes here).
    void Step(TUDBtnType Button);

    TUDClickEvent OnClick;   // the arrow that moved the position

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
    bool FWrap = false;
};

enum TDateTimeKind { dtkDate, dtkTime };

// Date keeps the time part of DateTime and Time the date part. OnChange fires when the
// user changes the value (the window reports it), never for values set from code.
class TDateTimePicker : public TSystemControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDateTime DateTime() const { return FDateTime; }
    // A value the control cannot show (before 1752-09-14, the first day of its calendar)
    // is refused: the setters then return false and the value stays as it was.
    bool SetDateTime(TDateTime value);
    TDateTime Date() const { return DateOf(FDateTime); }
    bool SetDate(TDateTime value);   // keeps the time of day, also before 1899-12-30
    TDateTime Time() const { return TimeOf(FDateTime); }
    bool SetTime(TDateTime value);   // keeps the day
    // The system's picture of the value ("yyyy-MM-dd", "HH:mm:ss"); empty: the locale's.
    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    virtual void Change();

private:
    bool SendValue();
    TDateTimeKind FKind = dtkDate;
    TDateTime FDateTime;
    std::string FFormat;
};
