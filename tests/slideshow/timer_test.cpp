#include <gtest/gtest.h>

#include <QTest>

#include "toolkit/exceptions.h"
#include "toolkit/timer.h"

namespace {

struct CountingTimer {
    TTimer timer;
    int ticks = 0;
    CountingTimer() {
        timer.SetOnTimer([this] { ++ticks; });
    }
};

}  // namespace

TEST(TimerTest, StartsOffAtOneSecond) {
    TTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_FALSE(timer.IsTicking());
    EXPECT_EQ(timer.RemainingTime(), -1);
}

TEST(TimerTest, TicksOnlyWhenOnWithPeriodAndHandler) {
    CountingTimer t;
    t.timer.SetInterval(2);
    QTest::qWait(30);
    EXPECT_EQ(t.ticks, 0) << "off";

    t.timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.ticks >= 3; }, 5000));

    t.timer.SetInterval(0);
    EXPECT_FALSE(t.timer.IsTicking()) << "period 0 never ticks";
    const int ticksAtZero = t.ticks;
    QTest::qWait(30);
    EXPECT_EQ(t.ticks, ticksAtZero);

    t.timer.SetInterval(-5);
    EXPECT_EQ(t.timer.Interval(), 0);

    TTimer noHandler;
    noHandler.SetInterval(2);
    noHandler.SetEnabled(true);
    EXPECT_FALSE(noHandler.IsTicking());
}

TEST(TimerTest, OnlyRealChangesRestartTheCountdown) {
    CountingTimer t;
    t.timer.SetInterval(1000);
    t.timer.SetEnabled(true);
    EXPECT_GT(t.timer.RemainingTime(), 950);
    QTest::qWait(120);
    const int before = t.timer.RemainingTime();
    ASSERT_LT(before, 900);

    t.timer.SetEnabled(true);
    t.timer.SetInterval(1000);
    EXPECT_LE(t.timer.RemainingTime(), before) << "same values leave the countdown running";

    t.timer.SetInterval(1001);
    EXPECT_GT(t.timer.RemainingTime(), 950) << "a new period restarts it";

    QTest::qWait(120);
    t.timer.SetEnabled(false);
    t.timer.SetEnabled(true);
    EXPECT_GT(t.timer.RemainingTime(), 950) << "switching off and on restarts it";
    EXPECT_EQ(t.ticks, 0);
}

TEST(TimerTest, AFailingHandlerDoesNotStopTheTimer) {
    TTimer timer;
    int ticks = 0;
    int observed = 0;
    QObject::connect(&timer, &TTimer::ticked, [&] { ++observed; });
    timer.SetOnTimer([&] {
        ++ticks;
        throw EAbort();
    });
    timer.SetInterval(2);
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(observed, ticks);
}
