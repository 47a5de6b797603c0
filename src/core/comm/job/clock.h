#pragma once

#include <chrono>
#include <cstdint>

namespace rvq {

// Every wait and time-out of the printer protocol goes through a Clock.
// Protocol times are given in milliseconds as the printers specify them;
// the clock turns them into real time with its scale (1 in production;
// tests and the demo run at e.g. 0.01 through RVQ_TIME_SCALE), so the
// order of events and every relative time stay the same at any scale.
class Clock {
public:
    explicit Clock(double scale = 1.0);

    // Scale from RVQ_TIME_SCALE (a positive number, at most 1); 1 when unset
    // or not a valid number.
    static Clock FromEnvironment();
    static double ScaleFromEnvironment();

    double scale() const { return scale_; }

    // Real milliseconds for a protocol duration; never 0 for a positive one.
    int ToRealMs(int protocolMs) const;

    // Protocol milliseconds elapsed since this clock was made.
    std::int64_t NowMs() const;

    // Sleeps a protocol duration.
    void SleepMs(int protocolMs) const;

    // Real milliseconds requested through SleepMs by every clock of the
    // process so far: the prescribed pauses, which the benchmarks set
    // against the time a whole exchange took.
    static std::int64_t PrescribedSleepRealMs();

private:
    double scale_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace rvq
