// The values each of the program's own controls takes from the framework: the defaults of
// its anchors, size limits, parent values and drag settings, and that its own sizing
// (fixed skin sizes, the editor's frame, the month view's layout) still lets anchors
// stretch it and constraints clamp it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/win/GDIPlusCommon.h"
#include "calendar/win/ChnCalendarPicker.h"
#include "skin/win/SkinCtrls.h"
#include "tests/framework/CtrlsTestUtil.h"

namespace {

struct PublishedRow {
    const char* name;
    std::function<TControl*(TWinControl*)> make;
    bool parentFont, parentColor;
    TCursor cursor;
};

template <class T>
TControl* Make(TWinControl* parent) {
    auto* c = new T(parent->ParentForm());
    c->SetParent(parent);
    c->SetBounds(10, 10, 120, 90);
    return c;
}

class Published : public TTestFormFixture {};

}  // namespace

TControl* MakePublishedNoteEdit(TWinControl* parent);   // PublishedEditor.cpp

namespace {

}  // namespace

TEST_F(Published, EachControlHasTheFrameworksValuesAndFollowsThem) {
    const PublishedRow rows[] = {
        {"month view", Make<TChnCalendar>, true, true, crDefault},
        {"PNG image", Make<TPNGButton>, true, true, crDefault},
        {"ruled editor", MakePublishedNoteEdit, false, false, crIBeam},
        {"skinned button", Make<TskSkinButton>, true, true, crDefault},
        {"skinned panel", Make<TskSkinPanel>, true, true, crDefault},
        {"skinned group box", Make<TskSkinGroupBox>, true, true, crDefault},
    };
    for (const PublishedRow& row : rows) {
        SCOPED_TRACE(row.name);
        form->SetClientSize(400, 300);
        TControl* c = row.make(form);
        EXPECT_EQ(c->Anchors(), (TAnchors{akLeft, akTop}));
        EXPECT_TRUE(c->Constraints().Empty());
        EXPECT_EQ(c->ParentFont(), row.parentFont);
        EXPECT_EQ(c->ParentColor(), row.parentColor);
        EXPECT_TRUE(c->ParentShowHint());
        EXPECT_TRUE(c->ParentCtl3D());
        EXPECT_TRUE(c->ParentBiDiMode());
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            EXPECT_FALSE(w->ParentBackground());
        }
        EXPECT_EQ(c->DragMode(), dmManual);
        EXPECT_EQ(c->DragKind(), dkDrag);
        EXPECT_EQ(c->DragCursor(), crDrag);
        EXPECT_EQ(c->Cursor(), row.cursor);
        EXPECT_EQ(c->Action(), nullptr);

        // The parent's values reach it while the flags are set.
        form->SetShowHint(true);
        form->SetCtl3D(false);
        EXPECT_TRUE(c->ShowHint());
        EXPECT_FALSE(c->Ctl3D());
        c->SetParentFont(true);
        c->SetParentColor(true);
        form->SetColor(clTeal);
        form->Font().SetName("Arial");
        EXPECT_EQ(c->Color(), clTeal);
        EXPECT_EQ(c->Font().Name(), "Arial");
        if (auto* cal = dynamic_cast<TChnCalendar*>(c)) {   // its colour members do not hide Color
            cal->SetColor(clYellow);
            EXPECT_EQ(c->Color(), clYellow);
            EXPECT_FALSE(c->ParentColor());
            cal->SetColor(&TChnCalendar::ColorWeekNum, clRed);
            EXPECT_EQ(cal->ColorWeekNum, clRed);
            c->SetParentColor(true);
            EXPECT_EQ(c->Color(), clTeal);
        }

        // Anchored to all four edges it stretches with the parent; constraints clamp that.
        const TRect before = c->BoundsRect();
        c->SetAnchors({akLeft, akTop, akRight, akBottom});
        form->SetClientSize(440, 330);
        EXPECT_EQ(c->BoundsRect(), Bounds(before.Left, before.Top, before.Width() + 40, before.Height() + 30));
        c->Constraints().SetMaxWidth(before.Width() + 10);
        c->Constraints().SetMaxHeight(before.Height() + 5);
        EXPECT_EQ(c->Width(), before.Width() + 10);
        EXPECT_EQ(c->Height(), before.Height() + 5);
        form->SetClientSize(400, 300);   // the limits placed it anew: 40 narrower from there
        EXPECT_EQ(c->Width(), before.Width() - 30);
        c->Constraints().SetMinWidth(before.Width() - 20);
        EXPECT_EQ(c->Width(), before.Width() - 20);

        // Its drag settings are its own to set.
        c->SetDragMode(dmAutomatic);
        c->SetDragKind(dkDock);
        c->SetDragCursor(crMultiDrag);
        EXPECT_EQ(c->DragMode(), dmAutomatic);
        EXPECT_EQ(c->DragKind(), dkDock);
        EXPECT_EQ(c->DragCursor(), crMultiDrag);
        delete c;
        form->SetColor(clBtnFace);
        form->Font().SetName("宋体");
        form->SetCtl3D(true);
        form->SetShowHint(false);
    }
}
