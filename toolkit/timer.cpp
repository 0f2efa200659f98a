#include "toolkit/timer.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/exceptions.h"

TTimer::TTimer(QObject* owner) : QObject(owner) {
    // Slides of one second should change exactly one second apart.
    timer_.setTimerType(Qt::PreciseTimer);
    On(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    Restart();
}

void TTimer::SetInterval(int milliseconds) {
    milliseconds = std::max(milliseconds, 0);
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    Restart();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    Restart();
}

int TTimer::RemainingTime() const { return timer_.isActive() ? timer_.remainingTime() : -1; }

void TTimer::Restart() {
    timer_.stop();
    if (!enabled_ || interval_ == 0 || !onTimer_)
        return;
    timer_.start(interval_);
    if (!timer_.isActive())
        throw EOSError(QStringLiteral("使用できるタイマーが不足しています"));
}

void TTimer::Tick() {
    Guard(this, [this] {
        if (onTimer_)
            onTimer_();
    });
    emit ticked();
}
