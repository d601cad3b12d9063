#include "framework/base/Layout.h"

#include <gtest/gtest.h>

namespace {

// A 100 x 50 control at (10, 20) of a 300 x 200 parent, for each anchoring, with the
// parent grown to 400 x 260 and shrunk to 150 x 100.
struct AnchorCase {
    const char* name;
    TAnchors anchors;
    TPlacement grown, shrunk;
};

TEST(Layout, EachAnchoringFollowsTheParentEdges) {
    const TPlacement placed{10, 20, 100, 50};
    const AnchorCase cases[] = {
        {"left top", {akLeft, akTop}, {10, 20, 100, 50}, {10, 20, 100, 50}},
        {"right", {akRight, akTop}, {110, 20, 100, 50}, {-140, 20, 100, 50}},
        {"bottom", {akLeft, akBottom}, {10, 80, 100, 50}, {10, -80, 100, 50}},
        {"right bottom", {akRight, akBottom}, {110, 80, 100, 50}, {-140, -80, 100, 50}},
        {"left right", {akLeft, akRight, akTop}, {10, 20, 200, 50}, {10, 20, 0, 50}},
        {"top bottom", {akLeft, akTop, akBottom}, {10, 20, 100, 110}, {10, 20, 100, 0}},
        {"all", {akLeft, akTop, akRight, akBottom}, {10, 20, 200, 110}, {10, 20, 0, 0}},
        {"none", {}, {60, 50, 100, 50}, {-65, -30, 100, 50}},
    };
    for (const AnchorCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnchoredPlacement(placed, 300, 200, c.anchors, 400, 260), c.grown);
        EXPECT_EQ(AnchoredPlacement(placed, 300, 200, c.anchors, 150, 100), c.shrunk);
        EXPECT_EQ(AnchoredPlacement(placed, 300, 200, c.anchors, 300, 200), placed);
    }
}

TEST(Layout, ConstraintsClampEachSideAndZeroMeansNone) {
    TSizeConstraints k;
    for (int v : {-5, 0, 1, 10000}) {
        EXPECT_EQ(k.ConstrainWidth(v), v);
        EXPECT_EQ(k.ConstrainHeight(v), v);
    }
    k.SetMinWidth(40);
    k.SetMaxWidth(120);
    k.SetMinHeight(30);
    k.SetMaxHeight(60);
    const struct { int in, width, height; } sweep[] = {
        {0, 40, 30}, {29, 40, 30}, {35, 40, 35}, {50, 50, 50}, {61, 61, 60}, {119, 119, 60}, {500, 120, 60}};
    for (const auto& s : sweep) {
        EXPECT_EQ(k.ConstrainWidth(s.in), s.width) << s.in;
        EXPECT_EQ(k.ConstrainHeight(s.in), s.height) << s.in;
    }
}

TEST(Layout, ConflictingLimitsMoveTheOtherOneAndNegativeIsRefused) {
    TSizeConstraints k;
    int changes = 0;
    k.OnChange = [&] { ++changes; };
    k.SetMinWidth(100);
    k.SetMaxWidth(60);   // below the minimum: the minimum follows
    EXPECT_EQ(k.MinWidth(), 60);
    k.SetMinHeight(10);
    k.SetMaxHeight(20);
    k.SetMinHeight(50);   // above the maximum: the maximum follows
    EXPECT_EQ(k.MaxHeight(), 50);
    EXPECT_EQ(changes, 5);
    k.SetMaxHeight(50);   // no change, no notice
    EXPECT_EQ(changes, 5);
    EXPECT_THROW(k.SetMinWidth(-1), EConstraintError);
    EXPECT_THROW(k.SetMaxHeight(-3), EConstraintError);
    EXPECT_EQ(k.MinWidth(), 60);
    EXPECT_EQ(k.MaxHeight(), 50);
    k.SetMaxWidth(0);   // no maximum again
    EXPECT_EQ(k.ConstrainWidth(1000), 1000);
}

}  // namespace
