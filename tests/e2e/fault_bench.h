#pragma once

// Simulated LAN printers and the tool's job runner wired to them, for the
// fault and load tests: one call starts the printers, one runs a job to its
// end (optionally cancelling it once a condition holds) and reports what
// the operator and the printers saw.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/builders/basic_encoder.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/job/job_runner.h"
#include "sim/sim_server.h"
#include "support/recording_job_events.h"
#include "support/temp_dir.h"

namespace rvq::test {

#if defined(__SANITIZE_THREAD__)
inline constexpr bool kUnderThreadSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kUnderThreadSanitizer = __has_feature(thread_sanitizer);
#else
inline constexpr bool kUnderThreadSanitizer = false;
#endif

// Protocol time runs at a hundredth, so the 30 s write time-out of a
// download is 300 ms. Under ThreadSanitizer one 64 KB write of the 16 MB
// send sometimes waits longer than that for the simulator's loop, so the
// time runs at three hundredths there.
inline constexpr double kFaultScale = kUnderThreadSanitizer ? 0.03 : 0.01;

struct JobOutcome {
    int result = 0;                  // the run's overall result (1501..1503)
    bool ended = false;              // the workers ended within the limit
    std::vector<std::string> lines;  // the first printer's display lines
    std::string logLine;             // the last line of the job log
    std::int64_t realMs = 0;         // wall time from start to end
    std::string last() const { return lines.empty() ? std::string() : lines.back(); }
};

class JobBench {
public:
    JobBench();
    ~JobBench();

    // `count` printers of the document's model; `configure` adjusts each
    // (by index) before the server starts.
    [[nodiscard]] bool Start(const sim::FaultPlan& faults, int count = 1,
                             const std::function<void(int, sim::PrinterConfig&)>& configure = {});
    // No simulated printers here: the tool talks to a LAN printer at `port`
    // (a simulator in another process).
    [[nodiscard]] bool StartAgainst(int port);
    // Points the tool at printer 0 (LAN) or at all of them (Multi LAN).
    void UseLan(int index = 0);
    void UseMultiLan();

    // Runs the job to its end within `limitMs` protocol milliseconds.
    // `cancelWhen`, when given, is polled and cancels the run once it holds.
    JobOutcome Run(const std::shared_ptr<JobInputs>& inputs, std::int64_t limitMs = 300000,
                   const std::function<bool()>& cancelWhen = {});
    JobRunner& runner() { return *runner_; }

    std::shared_ptr<JobInputs> Job(JobKind kind) const;
    std::shared_ptr<JobInputs> GetParameters() const;
    std::shared_ptr<JobInputs> Firmware();
    std::shared_ptr<JobInputs> Basic();
    std::shared_ptr<JobInputs> SendFile() const;
    std::shared_ptr<JobInputs> TestPrint() const;

    // Command texts printer `index` received, in order.
    std::vector<std::string> Commands(int index = 0) const;
    bool Received(const std::string& prefix, int index = 0) const;

    TempDir dir;
    std::unique_ptr<sim::SimServer> server;
    AppContext context;
    Document document;
    RecordingJobEvents events;

private:
    bool Prepare();

    std::unique_ptr<JobRunner> runner_;
    std::unique_ptr<BasicEncoder> basic_;
};

}  // namespace rvq::test
