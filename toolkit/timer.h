#pragma once
// TTimer: a timer element. Switching it on or off and setting its period act
// only on a real change, and each effective change restarts the countdown, so
// the next tick comes one full period later. It ticks only while it is on, its
// period is above 0 and a tick handler is set.

#include <QObject>
#include <QTimer>
#include <functional>

class TTimer : public QObject {
    Q_OBJECT
public:
    explicit TTimer(QObject* owner = nullptr);  // off, 1000 ms, no handler

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    int Interval() const { return interval_; }
    // Milliseconds; a negative period counts as 0, which never ticks.
    void SetInterval(int milliseconds);

    // Runs inside the guard on every tick.
    void SetOnTimer(std::function<void()> handler);

    // Milliseconds until the next tick; -1 while the timer does not tick.
    int RemainingTime() const;
    bool IsTicking() const { return timer_.isActive(); }

signals:
    // After each tick's handler has run (also when it failed).
    void ticked();

private:
    void Restart();
    void Tick();

    QTimer timer_;
    std::function<void()> onTimer_;
    bool enabled_ = false;
    int interval_ = 1000;
};
