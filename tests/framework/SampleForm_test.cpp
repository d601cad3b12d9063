// A sample form laid out the way the program's forms are: every control of the layer,
// handlers bound as member functions. Plus the check that Chinese captions render as
// glyphs, not boxes, read back from the screen.
#include <gtest/gtest.h>

#include <set>

#include "framework/win/Bitmap.h"
#include "framework/win/Buttons.h"
#include "framework/win/Calendar.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/DBGrids.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/FileDialogs.h"
#include "framework/win/Registry.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/CtrlsTestUtil.h"

namespace {

class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* owner) : TForm(owner) {
        SetCaption("其它参数设置");
        SetBorderStyle(bsDialog);
        SetBounds(20, 20, 760, 560);
        Panel1 = Make<TPanel>(this, "Panel1", 0, 0, 760, 39);
        Panel1->SetAlign(alTop);
        Panel1->SetCaption("便签");
        Panel1->SetColor(clInfoBk);
        Image1 = Make<TImage>(Panel1, "Image1", 2, 2, 32, 32);
        Image1->Picture().Icon().LoadFromResourceID(nullptr, 32517);   // IDI_WINLOGO
        Image1->Picture().Changed();
        Label1 = Make<TLabel>(Panel1, "Label1", 40, 12, 60, 13);
        Label1->SetCaption("周三");
        Label1->SetTransparent(true);
        GroupBox1 = Make<TGroupBox>(this, "GroupBox1", 8, 48, 360, 150);
        GroupBox1->SetCaption("报时");
        cb1 = Make<TCheckBox>(GroupBox1, "cb1", 10, 20, 120, 17);
        cb1->SetCaption("开机自动启动");
        cb1->OnClick = [this](TObject* s) { cb1Click(s); };
        rb1 = Make<TRadioButton>(GroupBox1, "rb1", 10, 44, 120, 17);
        rb1->SetCaption("12制语音报时");
        rb2 = Make<TRadioButton>(GroupBox1, "rb2", 140, 44, 120, 17);
        rb2->SetCaption("24制语音报时");
        Edit1 = Make<TEdit>(GroupBox1, "Edit1", 10, 70, 200, 21);
        Edit1->SetCtl3D(false);
        BitBtn1 = Make<TBitBtn>(GroupBox1, "BitBtn1", 220, 68, 60, 25);
        BitBtn1->SetCaption(">>>");
        BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
        ComboBox1 = Make<TComboBox>(GroupBox1, "ComboBox1", 10, 100, 80, 21);
        for (const char* s : {"1", "2", "3"}) ComboBox1->Items().Add(s);
        ComboBox1->SetText("2");
        UpDown1 = Make<TUpDown>(GroupBox1, "UpDown1", 95, 100, 17, 21);
        Memo1 = Make<TMemo>(this, "Memo1", 380, 48, 360, 80);
        Memo1->SetMaxLength(250);
        Memo1->SetScrollBars(ssVertical);
        dt1 = Make<TDateTimePicker>(this, "dt1", 380, 136, 150, 21);
        dt2 = Make<TDateTimePicker>(this, "dt2", 540, 136, 120, 21);
        dt2->SetKind(dtkTime);
        pg1 = Make<TProgressBar>(this, "pg1", 380, 166, 200, 17);
        Bevel1 = Make<TBevel>(this, "Bevel1", 8, 206, 340, 200);
        Calendar = Make<TCalendar>(this, "Calendar", 16, 214, 325, 183);
        Calendar->SetColor(clAqua);
        SpeedButton1 = Make<TSpeedButton>(this, "SpeedButton1", 360, 214, 60, 22);
        SpeedButton1->SetCaption("上月&S");
        SpeedButton1->OnClick = [this](TObject*) { Calendar->PrevMonth(); };
        DBGrid1 = Make<TDBGrid>(this, "DBGrid1", 430, 200, 310, 150);
        DrawGrid1 = Make<TDrawGrid>(this, "DrawGrid1", 430, 360, 200, 60);
        skSkinButton6 = Make<TButton>(this, "skSkinButton6", 560, 480, 75, 25);
        skSkinButton6->SetCaption("保存");
        skSkinButton6->SetDefault(true);
        skSkinButton6->OnClick = [this](TObject* s) { skSkinButton6Click(s); };
        skSkinButton1 = Make<TButton>(this, "skSkinButton1", 650, 480, 75, 25);
        skSkinButton1->SetCaption("返回");
        skSkinButton1->SetCancel(true);
        skSkinButton1->SetModalResult(mrCancel);
        OpenDialog1 = new TOpenDialog(this);
        OpenDialog1->SetFilter("音乐格式文件|*.mp3;*.mid;*.wav;*.wma");
        SaveDialog1 = new TSaveDialog(this);
        DataSource1 = new TDataSource(this);
        DBGrid1->SetDataSource(DataSource1);
        OnShow = [this](TObject* s) { FormShow(s); };
    }

    void FormShow(TObject*) { Edit1->SetFocus(); }
    void cb1Click(TObject*) { ++cb1Clicks; }
    void BitBtn1Click(TObject*) {
        if (OpenDialog1->Execute()) Edit1->SetText(OpenDialog1->FileName());
    }
    void skSkinButton6Click(TObject*) {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKey("\\Software\\VorpenTest\\Run", true)) return;
        if (cb1->Checked()) reg.WriteString("vorpen", Edit1->Text());
        else reg.DeleteValue("vorpen");
        SetModalResult(mrOk);
    }

    TPanel* Panel1;
    TImage* Image1;
    TLabel* Label1;
    TGroupBox* GroupBox1;
    TCheckBox* cb1;
    TRadioButton *rb1, *rb2;
    TEdit* Edit1;
    TBitBtn* BitBtn1;
    TComboBox* ComboBox1;
    TUpDown* UpDown1;
    TMemo* Memo1;
    TDateTimePicker *dt1, *dt2;
    TProgressBar* pg1;
    TBevel* Bevel1;
    TCalendar* Calendar;
    TSpeedButton* SpeedButton1;
    TDBGrid* DBGrid1;
    TDrawGrid* DrawGrid1;
    TButton *skSkinButton6, *skSkinButton1;
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;
    TDataSource* DataSource1;
    int cb1Clicks = 0;

private:
    template <class T>
    T* Make(TWinControl* parent, const char* name, int left, int top, int width, int height) {
        T* c = new T(this);
        c->SetName(name);
        c->SetParent(parent);
        c->SetBounds(left, top, width, height);
        return c;
    }
};

TEST(SampleFormTest, EveryControlWorksTogether) {
    EnsureApplication();
    FileDialogRecorder dialogs;
    dialogs.Answer = "C:\\程序\\vorpen.exe";
    auto* form = NewForm<TSampleForm>(nullptr);
    EXPECT_EQ(form->FindComponent("calendar"), form->Calendar);
    EXPECT_EQ(form->cb1Clicks, 0);
    EXPECT_EQ(form->ComboBox1->Text(), "2");
    form->Show();
    EXPECT_EQ(form->Panel1->Width(), form->ClientWidth());   // top-aligned
    EXPECT_EQ(form->Image1->Width(), 32);
    ASSERT_TRUE(PumpUntil([&] { return form->Edit1->Focused(); }, 2000));

    form->BitBtn1->Click();
    EXPECT_EQ(form->Edit1->Text(), "C:\\程序\\vorpen.exe");
    form->cb1->SetChecked(true);
    EXPECT_EQ(form->cb1Clicks, 1);
    form->Calendar->SetCalendarDate(EncodeDate(2024, 6, 1));
    EXPECT_TRUE(form->DialogKey('S', TShiftState{ssAlt}));   // 上月&S
    EXPECT_EQ(form->Calendar->Month(), 5);
    form->Hide();

    PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_RETURN, 0);   // Enter: 保存 is the Default button
    EXPECT_EQ(form->ShowModal(), mrOk);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\VorpenTest\\Run"));
    EXPECT_EQ(reg.ReadString("vorpen"), "C:\\程序\\vorpen.exe");
    reg.CloseKey();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VorpenTest");

    PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    delete form;
}

//--- Chinese glyphs on screen

// Dark pixels of the screen under a control (the text); the set of their positions
// tells two renderings apart.
std::set<std::pair<int, int>> ScreenInk(const TRect& screen) {
    TBitmap b(screen.Width(), screen.Height());
    HDC dc = GetDC(nullptr);
    BitBlt(b.Canvas().Handle(), 0, 0, screen.Width(), screen.Height(), dc, screen.Left, screen.Top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, dc);
    GdiFlush();
    std::set<std::pair<int, int>> ink;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            uint32_t p = b.ScanLine(y)[x];
            if (((p >> 16) & 0xFF) < 0x70 && ((p >> 8) & 0xFF) < 0x70 && (p & 0xFF) < 0x70) ink.insert({x, y});
        }
    return ink;
}

TRect ScreenRect(TControl* c) {
    TPoint p = c->Parent()->ClientToScreen({c->Left(), c->Top()});
    return Bounds(p.X, p.Y, c->Width(), c->Height());
}

bool HasAllGlyphs(HFONT font, const std::string& text) {
    std::wstring w = Wide(text);
    std::vector<WORD> indices(w.size());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    GetGlyphIndicesW(dc, w.c_str(), int(w.size()), indices.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return std::find(indices.begin(), indices.end(), WORD(0xFFFF)) == indices.end();
}

// Boxes would look alike for any text; real glyphs differ. Each control is grabbed with
// one Chinese caption, then with another of the same length.
TEST(SampleFormTest, ChineseCaptionsRenderAsGlyphs) {
    EnsureApplication();
    auto* form = NewForm<TTestForm>(nullptr);
    form->SetColor(clWhite);
    auto* label = Put<TLabel>(form, 10, 10, 120, 20);
    auto* edit = Put<TEdit>(form, 10, 40, 160, 24);
    auto* combo = Put<TComboBox>(form, 10, 80, 160, 24);
    combo->SetStyle(csDropDownList);
    auto* button = Put<TButton>(form, 10, 120, 100, 28);
    auto* wide = Put<TLabel>(form, 200, 10, 160, 24);
    wide->Font().SetName("新宋体");
    wide->Font().SetHeight(-16);
    const std::vector<std::vector<std::string>> texts = {{"节日名称", "阳历日期", "阳历", "确定", "倒计时"},
                                                         {"黄历查询", "备忘录新", "阴历", "返回", "便签管"}};
    std::vector<std::set<std::pair<int, int>>> first;
    form->Show();
    for (size_t round = 0; round < texts.size(); ++round) {
        const auto& t = texts[round];
        label->SetCaption(t[0]);
        edit->SetText(t[1]);
        combo->Items().Clear();
        combo->Items().Add(t[2]);
        combo->SetItemIndex(0);
        button->SetCaption(t[3]);
        wide->SetCaption(t[4]);
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpUntil([] { return false; }, 300);
        const std::vector<TControl*> controls = {label, edit, combo, button, wide};
        for (size_t i = 0; i < controls.size(); ++i) {
            auto ink = ScreenInk(ScreenRect(controls[i]));
            EXPECT_GT(ink.size(), 20u) << "no text drawn for " << t[i];
            if (round == 0) first.push_back(ink);
            else EXPECT_NE(ink, first[i]) << t[i] << " looks like " << texts[0][i];
        }
        EXPECT_TRUE(HasAllGlyphs(label->Font().Handle(), t[0] + t[1] + t[2] + t[3]));
        EXPECT_TRUE(HasAllGlyphs(wide->Font().Handle(), t[4]));
    }
    delete form;
}

}  // namespace
