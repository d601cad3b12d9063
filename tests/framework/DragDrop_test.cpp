// Drag and drop and docking driven by real mouse and keyboard input (SendInput): the
// events each control hears, in order and with their arguments, the cursor shown over
// the target, and where a dock client ends up. Pictures of a drag in progress and of a
// floating dock window go to build/shots.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/win/DragDrop.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/CtrlsTestUtil.h"
#include "tests/framework/RealInput.h"
#include "tests/organizer/WinShot.h"

namespace {

// A windowed and a windowless control to drag and to drop on.
class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};
class TSpot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(ClientRect());
    }
};

std::filesystem::path ShotDir() {
    auto dir = std::filesystem::path(VORPEN_TEST_DATA_DIR).parent_path().parent_path() / "build" / "shots";
    std::filesystem::create_directories(dir);
    return dir;
}

// The screen with the cursor drawn in, as the user sees it.
void SaveScreenWithCursor(const RECT& r, const std::string& name) {
    TBitmap shot;
    GrabScreen(r, shot);
    POINT at;
    GetCursorPos(&at);
    DrawIconEx(shot.Canvas().Handle(), at.x - r.left, at.y - r.top, GetCursor(), 0, 0, 0, nullptr, DI_NORMAL);
    shot.SaveToFile((ShotDir() / (name + ".bmp")).string());
}

class DragDrop : public TTestFormFixture {
protected:
    void SetUp() override {
        TTestFormFixture::SetUp();
        form->SetBounds(60, 60, 520, 360);
        source = Put<TBox>(form, 20, 20, 80, 60);
        source->SetName("source");
        source->SetColor(clBlue);
        target = Put<TBox>(form, 220, 20, 120, 100);
        target->SetName("target");
        target->SetColor(clYellow);
        spot = Put<TSpot>(form, 220, 180, 120, 60);
        spot->SetName("spot");
        spot->SetColor(clLime);
        form->Show();
        source->SetDragMode(dmAutomatic);
        Record(source);
        Record(target);
        Record(spot);
    }
    static std::string Name(TObject* o) {
        auto* c = dynamic_cast<TComponent*>(o);
        return !o ? "none" : c && !c->Name().empty() ? c->Name() : "?";
    }
    // Every drag event of a control goes into the log, as "event sender args".
    void Record(TControl* c) {
        static const char* states[] = {"enter", "leave", "move"};
        c->OnStartDrag = [this](TObject* s) { log.push_back("startdrag " + Name(s)); };
        c->OnStartDock = [this](TObject* s) { log.push_back("startdock " + Name(s)); };
        c->OnEndDrag = [this](TObject* s, TObject* t, int x, int y) {
            log.push_back("enddrag " + Name(s) + " " + Name(t) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        c->OnEndDock = [this](TObject* s, TObject* t, int x, int y) {
            log.push_back("enddock " + Name(s) + " " + Name(t) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        c->OnClick = [this](TObject* s) { log.push_back("click " + Name(s)); };
        if (c == source) return;   // the source refuses itself: no OnDragOver
        c->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState state, bool& accept) {
            accept = accepting;
            std::string entry = "over " + Name(s) + " " + Name(src) + " " + states[state];
            if (state != dsDragLeave) entry += " " + std::to_string(x) + "," + std::to_string(y);
            log.push_back(entry);
        };
        c->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
            log.push_back("drop " + Name(s) + " " + Name(src) + " " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    TPoint At(TControl* c, int x, int y) const { return c->ClientToScreen({x, y}); }

    TRealInput input;
    TBox* source = nullptr;
    TBox* target = nullptr;
    TSpot* spot = nullptr;
    std::vector<std::string> log;
    bool accepting = true;
};

using Events = std::vector<std::string>;

}  // namespace

// Each row: a left press on the source, moves to the points given, then how it ends.
// The log holds the events in the order they came, with their arguments.
TEST_F(DragDrop, RealInputDragsEndAsTheTargetAndTheUserDecide) {
    enum TEnd { Release, Escape, RightButton };
    struct Row {
        const char* name;
        bool accepting;
        bool overSpot;   // the windowless target instead of the windowed one
        bool nowhere;    // the release is outside every window of ours
        TEnd end;
        TCursor cursor;  // shown over the target
        Events expected;
    };
    const std::vector<Row> rows = {
        {"accepted drop", true, false, false, Release, crDrag,
         {"startdrag source", "over target source enter 30,40", "over target source move 40,50",
          "over target source leave", "drop target source 40,50", "enddrag source target 40,50"}},
        {"refused target", false, false, false, Release, crNoDrop,
         {"startdrag source", "over target source enter 30,40", "over target source move 40,50",
          "over target source leave", "enddrag source none 0,0"}},
        {"windowless target", true, true, false, Release, crDrag,
         {"startdrag source", "over spot source enter 30,40", "over spot source move 40,50", "over spot source leave",
          "drop spot source 40,50", "enddrag source spot 40,50"}},
        {"cancelled by Esc", true, false, false, Escape, crDrag,
         {"startdrag source", "over target source enter 30,40", "over target source move 40,50",
          "over target source leave", "enddrag source none 0,0"}},
        {"cancelled by the right button", true, false, false, RightButton, crDrag,
         {"startdrag source", "over target source enter 30,40", "over target source move 40,50",
          "over target source leave", "enddrag source none 0,0"}},
        {"dropped nowhere", true, false, true, Release, crDrag,
         {"startdrag source", "over target source enter 30,40", "over target source move 40,50",
          "over target source leave", "enddrag source none 0,0"}},
    };
    int press = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TPoint pressAt = At(source, 10 + 8 * press++, 10);   // no two presses make a double click
        log.clear();
        accepting = row.accepting;
        TControl* over = row.overSpot ? static_cast<TControl*>(spot) : target;
        ASSERT_TRUE(input.MoveTo(pressAt));
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
        ASSERT_TRUE(input.MoveTo({pressAt.X, pressAt.Y + 20}));   // past the threshold, still over the source
        EXPECT_TRUE(source->Dragging());
        EXPECT_EQ(GetCursor(), CursorHandle(crNoDrop));   // the source takes nothing
        ASSERT_TRUE(input.MoveTo(At(over, 30, 40)));
        ASSERT_TRUE(input.MoveTo(At(over, 40, 50)));
        EXPECT_EQ(GetCursor(), CursorHandle(row.cursor));
        if (row.name == std::string("accepted drop")) {
            SettlePaint(form->Handle());
            SaveScreenWithCursor(HwndWindowRect(form->Handle()), "drag-in-progress");
        }
        if (row.end == Escape) {
            ASSERT_TRUE(input.Key(VK_ESCAPE));
        } else if (row.end == RightButton) {
            ASSERT_TRUE(input.Button(MOUSEEVENTF_RIGHTDOWN, WM_RBUTTONDOWN));
            ASSERT_TRUE(input.Button(MOUSEEVENTF_RIGHTUP, WM_RBUTTONUP));
        }
        if (row.nowhere) {
            const RECT r = HwndWindowRect(form->Handle());
            ASSERT_TRUE(input.MoveTo({r.right + 40, r.bottom + 40}));
        }
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
        EXPECT_EQ(log, row.expected);
        EXPECT_FALSE(source->Dragging());
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

// A press that moves less than the system's drag distance is a click; one more pixel
// starts the drag.
TEST_F(DragDrop, AutomaticDragStartsPastTheThresholdOnly) {
    const int threshold = GetSystemMetrics(SM_CXDRAG);
    for (int distance : {threshold - 1, threshold}) {
        SCOPED_TRACE(distance);
        log.clear();
        const int y = distance < threshold ? 10 : 30;   // no two presses make a double click
        ASSERT_TRUE(input.MoveTo(At(source, 10, y)));
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
        EXPECT_TRUE(source->Dragging());   // pending
        ASSERT_TRUE(input.MoveTo(At(source, 10 + distance, y)));
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
        EXPECT_EQ(log, (distance < threshold ? Events{"click source"} : Events{"startdrag source", "enddrag source none 0,0"}));
        EXPECT_EQ(GetCapture(), nullptr);
    }
    // A manual control drags only when asked; BeginDrag from its press, immediate.
    source->SetDragMode(dmManual);
    source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(true); };
    log.clear();
    ASSERT_TRUE(input.MoveTo(At(source, 50, 10)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(At(target, 5, 6)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(log, (Events{"startdrag source", "over target source enter 5,6", "over target source leave",
                        "drop target source 5,6", "enddrag source target 5,6"}));
}

// A dock client dragged into a dock site moves into it where its outline was; dropped on
// nothing it floats in a tool window, and from there docks again (the tool window goes).
TEST_F(DragDrop, DockClientsMoveIntoSitesOrFloat) {
    target->SetDockSite(true);
    source->SetDragKind(dkDock);
    // Grabbed at (10, 10) of the client, dropped at (60, 50) of the site.
    ASSERT_TRUE(input.MoveTo(At(source, 10, 10)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(At(source, 40, 10)));
    ASSERT_TRUE(input.MoveTo(At(target, 60, 50)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(log, (Events{"startdock source", "enddock source target 60,50"}));
    EXPECT_EQ(source->Parent(), target);
    EXPECT_EQ(source->BoundsRect(), Bounds(50, 40, 80, 60));
    EXPECT_EQ(GetParent(source->Handle()), target->Handle());

    // Onto the form, which is no dock site: the client floats with its top-left where the
    // outline's was.
    log.clear();
    const RECT r = HwndWindowRect(form->Handle());
    const TPoint drop{r.right + 60, r.top + 80};
    ASSERT_TRUE(input.MoveTo(At(source, 10, 10)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(At(source, 10, 40)));
    ASSERT_TRUE(input.MoveTo(drop));
    RECT shotArea = HwndWindowRect(form->Handle());
    shotArea.right += 200;
    SettlePaint(form->Handle());
    SaveScreenWithCursor(shotArea, "dock-drag-in-progress");
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(log, (Events{"startdock source", "enddock source none 0,0"}));
    auto* host = source->Parent();
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(IsDockFloatHost(host));
    EXPECT_TRUE(IsWindowVisible(host->Handle()));
    EXPECT_EQ(source->ClientOrigin(), (TPoint{drop.X - 10, drop.Y - 10}));
    EXPECT_EQ(source->BoundsRect(), Bounds(0, 0, 80, 60));
    EXPECT_EQ(host->ClientWidth(), 80);
    EXPECT_EQ(host->ClientHeight(), 60);
    SettlePaint(host->Handle());
    shotArea.right += 40;
    shotArea.bottom += 40;
    SaveScreenWithCursor(shotArea, "dock-floating");

    // Back into the site: the tool window goes after the message.
    log.clear();
    const int forms = Screen->FormCount();
    ASSERT_TRUE(input.MoveTo(At(source, 10, 10)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(At(source, 40, 10)));
    ASSERT_TRUE(input.MoveTo(At(target, 15, 12)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(log, (Events{"startdock source", "enddock source target 15,12"}));
    EXPECT_EQ(source->Parent(), target);
    EXPECT_EQ(source->BoundsRect(), Bounds(5, 2, 80, 60));
    EXPECT_TRUE(PumpUntil([&] { return Screen->FormCount() == forms - 1; }));
}

// Esc while a dock drag is under way leaves the client where it was.
TEST_F(DragDrop, CancelledDockLeavesTheClientInPlace) {
    target->SetDockSite(true);
    source->SetDragKind(dkDock);
    ASSERT_TRUE(input.MoveTo(At(source, 10, 10)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(At(target, 60, 50)));
    ASSERT_TRUE(input.Key(VK_ESCAPE));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(log, (Events{"startdock source", "enddock source none 0,0"}));
    EXPECT_EQ(source->Parent(), form);
    EXPECT_EQ(source->BoundsRect(), Bounds(20, 20, 80, 60));
}

// Another window taking the mouse capture ends the drag as a cancel.
TEST_F(DragDrop, LostCaptureCancelsTheDrag) {
    ASSERT_TRUE(input.MoveTo(At(source, 10, 10)));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(At(target, 30, 40)));
    SetCapture(target->Handle());
    EXPECT_EQ(log, (Events{"startdrag source", "over target source enter 30,40", "over target source leave",
                           "enddrag source none 0,0"}));
    EXPECT_FALSE(source->Dragging());
    ReleaseCapture();
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(log.size(), 4u);   // the release drops nothing
}

// A handler that frees a control while the drag moves on or ends: the freed control hears
// nothing more, and nothing is dropped with a source that is gone.
TEST_F(DragDrop, ControlsFreedByTheDragsOwnHandlersHearNothingMore) {
    struct Row {
        const char* name;
        bool freeSource;   // else the spot, which lies where the mouse goes next
        TDragState when;
        Events expected;
    };
    const std::vector<Row> rows = {
        {"source freed as the drop leaves the target", true, dsDragLeave,
         {"startdrag source", "over target source enter 30,40", "over target source leave"}},
        {"next control freed as the mouse leaves the target", false, dsDragLeave,
         {"startdrag source", "over target source enter 30,40", "over target source leave",
          "enddrag source none 0,0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        log.clear();
        auto* next = Put<TSpot>(form, 360, 20, 60, 100);   // right of the target
        next->SetName("next");
        Record(next);
        bool armed = true;
        std::unique_ptr<char[]> scribble;
        target->OnDragOver = [&, this](TObject* s, TObject* src, int x, int y, TDragState state, bool& accept) {
            accept = true;
            std::string entry = "over target " + Name(src) + (state == dsDragEnter ? " enter" : state == dsDragLeave ? " leave" : " move");
            if (state != dsDragLeave) entry += " " + std::to_string(x) + "," + std::to_string(y);
            if (state != dsDragMove) log.push_back(entry);
            (void)s;
            if (state != row.when || !armed) return;
            armed = false;
            if (row.freeSource) {
                delete source;
                source = nullptr;
            } else {
                delete next;
                next = nullptr;
                // Its memory is taken at once and scribbled over, so that touching it shows.
                scribble.reset(new char[sizeof(TSpot)]);
                std::memset(scribble.get(), 0xFF, sizeof(TSpot));
            }
        };
        ASSERT_TRUE(input.MoveTo(At(source, 10, 10)));
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
        ASSERT_TRUE(input.MoveTo(At(source, 10, 40)));
        ASSERT_TRUE(input.MoveTo(At(target, 30, 40)));
        if (!row.freeSource) {
            ASSERT_TRUE(input.MoveTo(At(target, 150, 40)));   // onto the next control
        }
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
        EXPECT_EQ(log, row.expected);
        EXPECT_EQ(GetCapture(), nullptr);
        delete next;
        if (!source) {
            source = Put<TBox>(form, 20, 20, 80, 60);
            source->SetName("source");
            source->SetDragMode(dmAutomatic);
            Record(source);
        }
    }
}
