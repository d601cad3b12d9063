#include "framework/base/Timer.h"

#include <gtest/gtest.h>

#include "framework/base/FakeTimerService.h"

namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override { SetTimerService(&service); }
    void TearDown() override { SetTimerService(nullptr); }
    FakeTimerService service;
};

TEST_F(TimerTest, TicksEveryIntervalWhileEnabled) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    };
    timer.SetInterval(200);
    service.Advance(1000);
    EXPECT_EQ(ticks, 5);
    timer.SetEnabled(false);
    service.Advance(1000);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(service.ActiveCount(), 0);
    timer.SetEnabled(true);
    service.Advance(199);
    EXPECT_EQ(ticks, 5);
    service.Advance(1);
    EXPECT_EQ(ticks, 6);
}

TEST_F(TimerTest, ChangingIntervalRestartsTheCount) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    service.Advance(900);
    timer.SetInterval(500);
    service.Advance(499);
    EXPECT_EQ(ticks, 0);
    service.Advance(1);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, ZeroAndOverlongIntervalsNeverFire) {
    TTimer timer(nullptr);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(0x80000000u);
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(1800000);   // half an hour is a valid interval
    EXPECT_TRUE(timer.Running());
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    service.Advance(1800000);
    EXPECT_EQ(ticks, 1);
}

// A driven timer keeps its settings but asks the service for nothing, in any order of
// enabling, driving and interval changes; undriven again it ticks on its own.
TEST_F(TimerTest, DrivenTimerTakesNoTicksOfItsOwn) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetInterval(50);
    timer.SetDriven(true);
    EXPECT_EQ(service.ActiveCount(), 0);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    timer.SetInterval(40);
    service.Advance(1000);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 40u);
    EXPECT_FALSE(timer.Running());
    timer.SetDriven(false);
    service.Advance(1000);
    EXPECT_EQ(ticks, 25);
}

TEST_F(TimerTest, DisableInsideOwnTick) {
    TTimer timer(nullptr);
    timer.SetInterval(100);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        timer.SetEnabled(false);
    };
    service.Advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerTest, FreeInsideOwnTick) {
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&ticks, timer](TObject*) {
        ++ticks;
        delete timer;   // the handler's captures must survive its own timer's death
    };
    service.Advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(service.ActiveCount(), 0);
}

TEST_F(TimerTest, OneTickMayFreeAnotherTimer) {
    auto* victim = new TTimer(nullptr);
    victim->SetInterval(100);
    int victimTicks = 0;
    victim->OnTimer = [&](TObject*) { ++victimTicks; };
    TTimer killer(nullptr);
    killer.SetInterval(250);
    killer.OnTimer = [&](TObject*) {
        delete victim;
        victim = nullptr;
        killer.SetEnabled(false);
    };
    service.Advance(1000);
    EXPECT_EQ(victimTicks, 2);
    EXPECT_EQ(victim, nullptr);
}

TEST_F(TimerTest, LoadingDefersTheStartToLoaded) {
    TComponent form(nullptr);
    form.BeginLoading();
    auto* timer = new TTimer(&form);
    timer->SetInterval(300);
    timer->SetEnabled(false);
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Running());
    EXPECT_EQ(service.ActiveCount(), 0);
    form.EndLoading();
    EXPECT_TRUE(timer->Running());
    EXPECT_EQ(service.ActiveCount(), 1);
}

TEST(TimerNoService, StartingWithoutAServiceRaises) {
    SetTimerService(nullptr);
    EXPECT_THROW(TTimer(nullptr), Exception);
}

}  // namespace
