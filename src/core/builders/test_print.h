#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/app/printer_model.h"
#include "core/app/tool_settings.h"
#include "core/builders/build_result.h"
#include "core/builders/print_method.h"

namespace rvq {

class Strings;

enum class TestPattern { SlantLines1, SlantLines3, Characters, Barcodes };
enum class IssueMode { Batch = 0, CutEveryPage = 1, PeelOff = 2 };

struct TestPrintOptions {
    TestPattern pattern = TestPattern::SlantLines1;
    int issueCount = 1;
    int speed = 0;   // inch/sec
    int sensor = 0;  // 0 None, 1 Reflective, 2 Transmissive, 3 Transmissive (Preprinted Labels), 4
                     // Reflective (Manual)
    IssueMode issueMode = IssueMode::Batch;
    PrintMethod method = PrintMethod::ThermalTransfer;
    int labelLengthMm = 74;
    int labelGapMm = 2;
    int labelWidthMm = 0;
    int tone = 0;
};

// The model's print speeds in inch/sec, in list order.
std::vector<int> TestPrintSpeeds(std::string_view modelName);

// The page's defaults for a model: second speed, first print method, the
// widest label.
TestPrintOptions DefaultTestPrintOptions(const PrinterModel& model);

// Every number brought into its field's range, as the page does when a
// field is left.
TestPrintOptions ClampTestPrintOptions(TestPrintOptions options, const PrinterModel& model);

int DotsPerMm(int resolution);

// Label size, image buffer clear and tone.
std::string BuildTestPrintSetup(const TestPrintOptions& options, const ControlCodes& codes);

// A graphics command with slant lines: white runs of `white` dots and black
// runs of `black` dots. A run length below 1 uses the defaults.
std::string BuildSlantLines(int widthDots, int heightDots, int white, int black, bool threeDots,
                            const ControlCodes& codes);

// The 22-byte issue command.
std::string BuildIssueCommand(const TestPrintOptions& options, std::string_view modelName,
                              const ControlCodes& codes);

// The pattern file the settings name for the model's resolution.
std::string PatternFilePath(TestPattern pattern, int resolution, const ToolSettings& settings);

struct TestPrintData {
    std::string setup;
    std::string pattern;
    std::string issue;
};

struct TestPrintBuild {
    BuildResult result;  // 1018 when a pattern file cannot be read
    TestPrintData data;
};

TestPrintBuild BuildTestPrintData(const TestPrintOptions& options, const PrinterModel& model,
                                  const ToolSettings& settings, const Strings& strings);

}  // namespace rvq
