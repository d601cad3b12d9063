#include "organizer/win/djssz.h"

#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "organizer/win/djs.h"

TFormdjssz* Formdjssz = nullptr;
TFormdjssz2* Formdjssz2 = nullptr;
TFormdjssz3* Formdjssz3 = nullptr;
TFormdjssz4* Formdjssz4 = nullptr;
TFormdjssz5* Formdjssz5 = nullptr;
std::array<TCountdownSettingsForm*, kCountdownSlots> CountdownSettingsForms{};

namespace {

template <class T>
T* Make(TForm* form, const char* name, int left, int top, int width, int height)
{
    T* c = new T(form);
    c->SetName(name);
    c->SetParent(form);
    c->SetBounds(left, top, width, height);
    return c;
}

const char* const kAbsoluteUpdate =
    "update sz_djsb set zdsj= :zdsj,dw= :dw,zt= :zt,sjbz= :sjbz,qyzt= :qybz where bz= :bz ";
const char* const kDaysUpdate =
    "update sz_djsb set zdsj= :zdsj,xdsj= :xdsj,dw= :dw,zt= :zt,sjbz= :sjbz,qyzt= :qybz where bz= :bz ";
const char* const kHoursUpdate =
    "update sz_djsb set zdsj= :zdsj,xdsj= :xdsj,dw= :dw,zt= :zt,sjbz= :sjbz,qyzt= :qybz  where bz= :bz ";

}  // namespace

TCountdownSettingsForm::TCountdownSettingsForm(TComponent* AOwner, int slot) : TForm(AOwner), FSlot(slot)
{
    if (slot < 1 || slot > kCountdownSlots)
        throw EInvalidOperation("countdown slot " + std::to_string(slot) + " does not exist");
    SetName(slot == 1 ? "Formdjssz" : "Formdjssz" + std::to_string(slot));
    SetCaption("倒计时设置");
    SetBorderStyle(bsSingle);
    SetPosition(poScreenCenter);
    SetBorderIcons({biSystemMenu, biMinimize});
    SetClientSize(296, 158);

    Label1 = Make<TLabel>(this, "Label1", 16, 19, 44, 14);
    Label1->SetCaption("标题：");
    Edit1 = Make<TEdit>(this, "Edit1", 62, 15, 218, 21);
    Edit1->SetText("测试用1");
    rb1 = Make<TRadioButton>(this, "rb1", 16, 50, 84, 18);
    rb1->SetCaption("绝对时间");
    rb1->SetChecked(true);
    rb1->OnClick = [this](TObject* o) { rb1Click(o); };
    dt1 = Make<TDateTimePicker>(this, "dt1", 104, 48, 96, 21);
    dt1->SetFormat("yyyy-MM-dd");
    dt2 = Make<TDateTimePicker>(this, "dt2", 204, 48, 76, 21);
    dt2->SetKind(dtkTime);
    dt2->SetFormat("HH:mm:ss");
    rb2 = Make<TRadioButton>(this, "rb2", 16, 83, 84, 18);
    rb2->SetCaption("相对时间");
    rb2->OnClick = [this](TObject* o) { rb2Click(o); };
    ComboBox1 = Make<TComboBox>(this, "ComboBox1", 104, 81, 96, 21);
    for (int i = 1; i <= 13; ++i)
        ComboBox1->Items().Add(std::to_string(i));
    ComboBox1->SetText("1");
    ComboBox1->SetDropDownCount(20);
    ComboBox2 = Make<TComboBox>(this, "ComboBox2", 204, 81, 76, 21);
    ComboBox2->SetStyle(csDropDownList);
    ComboBox2->Items().Add("小时");
    ComboBox2->Items().Add("天");
    BitBtn1 = Make<TBitBtn>(this, "BitBtn1", 104, 120, 75, 25);
    BitBtn1->SetCaption("确定");
    BitBtn1->OnClick = [this](TObject* o) { BitBtn1Click(o); };
    BitBtn2 = Make<TBitBtn>(this, "BitBtn2", 205, 120, 75, 25);
    BitBtn2->SetCaption("取消");
    BitBtn2->OnClick = [this](TObject* o) { BitBtn2Click(o); };
    SetAbsolute(true);

    OnShow = [this](TObject* o) { FormShow(o); };
    CountdownSettingsForms[slot - 1] = this;
}

TCountdownSettingsForm::~TCountdownSettingsForm()
{
    if (CountdownSettingsForms[FSlot - 1] == this)
        CountdownSettingsForms[FSlot - 1] = nullptr;
}

TCountdownSettingsForm* CountdownSettingsDialog(int slot)
{
    if (slot >= 1 && slot <= kCountdownSlots && CountdownSettingsForms[slot - 1])
        return CountdownSettingsForms[slot - 1];
    switch (slot) {
    case 1: return MadeOnFirstUse(Formdjssz);
    case 2: return MadeOnFirstUse(Formdjssz2);
    case 3: return MadeOnFirstUse(Formdjssz3);
    case 4: return MadeOnFirstUse(Formdjssz4);
    case 5: return MadeOnFirstUse(Formdjssz5);
    }
    throw EInvalidOperation("countdown slot " + std::to_string(slot) + " does not exist");
}

void TCountdownSettingsForm::SetAbsolute(bool absolute)
{
    dt1->SetEnabled(absolute);
    dt2->SetEnabled(absolute);
    ComboBox1->SetEnabled(!absolute);
    ComboBox2->SetEnabled(!absolute);
}

void TCountdownSettingsForm::rb1Click(TObject*) { SetAbsolute(true); }

void TCountdownSettingsForm::rb2Click(TObject*) { SetAbsolute(false); }

void TCountdownSettingsForm::FormShow(TObject*)
{
    TADOQuery& q = *dbhouse->qcx;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_djsb where bz= :bz ");
    q.Parameters.ParamByName("bz").Value = CountdownRowKey(FSlot);
    q.Open();
    Edit1->SetText(q.FieldByName("zt").AsString());
    if (q.FieldByName("sjbz").AsString() != "1") {
        rb2->SetChecked(true);
        SetAbsolute(false);
        ComboBox1->SetText(q.FieldByName("xdsj").AsString());
        ComboBox2->SetItemIndex(ComboBox2->Items().List().IndexOf(q.FieldByName("dw").AsString()));
    } else {
        rb1->SetChecked(true);
        SetAbsolute(true);
        // Each picker takes its part through text, so the seconds are whole. A stored target
        // that does not read, or that the pickers cannot show (before 1752-09-14), shows now,
        // so that the slot can be set again and a save writes what is shown; the row keeps
        // its target until a save.
        TDateTime target;
        try {
            target = q.FieldByName("zdsj").AsDateTime();
        } catch (const EConvertError&) {
            target = Now();
        }
        if (!CountdownTargetStorable(target))   // a number no calendar holds
            target = Now();
        const auto show = [this](TDateTime at) {
            return dt1->SetDate(StrToDate(FormatDateTime("yyyy-mm-dd", at))) &&
                   dt2->SetTime(StrToTime(FormatDateTime("hh:nn:ss", at)));
        };
        if (!show(target))
            show(Now());
    }
    q.Close();
}

bool TCountdownSettingsForm::SaveTarget(TDateTime target, const std::string& statement, int amount,
                                        const std::string& unit, const std::string& sjbz)
{
    TADOQuery& q = *dbhouse->qsz;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add(statement);
    q.Parameters.ParamByName("zdsj").Value = target;
    if (TParameter* p = q.Parameters.FindParam("xdsj"))
        p->Value = amount < 1 ? 0 : amount;
    q.Parameters.ParamByName("dw").Value = unit;
    q.Parameters.ParamByName("zt").Value = Edit1->Text();
    q.Parameters.ParamByName("sjbz").Value = sjbz;
    q.Parameters.ParamByName("qybz").Value = "1";
    q.Parameters.ParamByName("bz").Value = CountdownRowKey(FSlot);
    // The slot's row is fixed; one deleted from the data file is not made again here.
    if (q.ExecSQL() == 0) {
        ShowMessage(CountdownRowMissingText(FSlot));
        return false;
    }
    CountdownTarget(FSlot) = target;
    if (TCountdownForm* window = CountdownForms[FSlot - 1])
        window->ShowTimeLeft(target);
    return true;
}

void TCountdownSettingsForm::BitBtn1Click(TObject*)
{
    if (Edit1->Text().empty()) {
        ShowMessage("标题不能为空！");
        Edit1->SetFocus();
        return;
    }
    if (rb1->Checked()) {
        if (!SaveTarget(AbsoluteTarget(dt1->Date(), dt2->Time()), kAbsoluteUpdate, 0, "绝对时间", "1"))
            return;
    } else if (rb2->Checked()) {
        if (ComboBox1->Text().empty()) {
            ShowMessage("相对时间，不能为空！");
            return;
        }
        if (ComboBox2->ItemIndex() < 0) {
            ShowMessage("相对时间单位，不能为空！");
            return;
        }
        const int amount = StrToInt(ComboBox1->Text());
        const std::string unit = ComboBox2->Text();
        const TDateTime target = RelativeTarget(Now(), amount, unit);
        if (!CountdownTargetStorable(target)) {
            ShowMessage(RelativeTargetRangeText);
            return;
        }
        if (!SaveTarget(target, unit == "天" ? kDaysUpdate : kHoursUpdate, amount, unit, "0"))
            return;
    }
    if (TCountdownForm* window = CountdownForms[FSlot - 1])
        window->Label4->SetCaption(Edit1->Text());
    Close();
}

void TCountdownSettingsForm::BitBtn2Click(TObject*) { Close(); }
