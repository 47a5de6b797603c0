#include "core/comm/job/clock.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace rvq {

namespace {
std::atomic<std::int64_t> prescribedSleepRealMs{0};
}  // namespace

Clock::Clock(double scale)
    : scale_(scale > 0 && scale <= 1 ? scale : 1.0), start_(std::chrono::steady_clock::now()) {}

double Clock::ScaleFromEnvironment() {
    const char* text = std::getenv("RVQ_TIME_SCALE");
    if (text == nullptr || *text == '\0') return 1.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0) || value > 1) return 1.0;
    return value;
}

Clock Clock::FromEnvironment() { return Clock(ScaleFromEnvironment()); }

int Clock::ToRealMs(int protocolMs) const {
    if (protocolMs <= 0) return 0;
    const double real = std::ceil(protocolMs * scale_);
    return real < 1 ? 1 : static_cast<int>(real);
}

std::int64_t Clock::NowMs() const {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    const double realMs = std::chrono::duration<double, std::milli>(elapsed).count();
    return static_cast<std::int64_t>(realMs / scale_);
}

void Clock::SleepMs(int protocolMs) const {
    const int real = ToRealMs(protocolMs);
    if (real <= 0) return;
    prescribedSleepRealMs.fetch_add(real, std::memory_order_relaxed);
    std::this_thread::sleep_for(std::chrono::milliseconds(real));
}

std::int64_t Clock::PrescribedSleepRealMs() {
    return prescribedSleepRealMs.load(std::memory_order_relaxed);
}

}  // namespace rvq
