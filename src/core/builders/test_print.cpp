#include "core/builders/test_print.h"
#include "core/builders/pattern_filter.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

struct ModelSpeeds {
    std::string_view model;
    std::vector<int> speeds;
};

const std::vector<ModelSpeeds>& SpeedTable() {
    static const std::vector<ModelSpeeds> table = {
        {"R-VQ6T2-T", {3, 5, 8, 10}},     {"R-VQ6T2-G", {3, 6, 10}},
        {"R-VQ4T2-G", {3, 6, 10, 12}},    {"R-VQ4D2-G", {3, 6, 10, 12}},
        {"R-VQ4T2-T", {3, 5, 8, 10, 12}}, {"R-VQ4D2-T", {3, 5, 8, 10, 12}},
        {"R-VQ4T2-H", {2, 3, 4, 5, 6}},   {"R-VQ4T1-G", {3, 6, 10, 12, 14}},
    };
    return table;
}

int ClampField(int value, int low, int high) { return std::clamp(value, low, std::max(low, high)); }

std::string Command(const std::string& body, const ControlCodes& codes) {
    std::string out(1, static_cast<char>(codes.code1));
    out += body;
    out += static_cast<char>(codes.code2);
    out += static_cast<char>(codes.code3);
    return out;
}

}  // namespace

std::vector<int> TestPrintSpeeds(std::string_view modelName) {
    for (const auto& entry : SpeedTable()) {
        if (entry.model == modelName) return entry.speeds;
    }
    return {3, 5, 8, 10, 12, 14};
}

TestPrintOptions DefaultTestPrintOptions(const PrinterModel& model) {
    TestPrintOptions options;
    const std::vector<int> speeds = TestPrintSpeeds(model.name);
    options.speed = speeds.size() > 1 ? speeds[1] : speeds.front();
    options.method = PrintMethodsFor(model.name).front();
    options.labelWidthMm = model.maxWidth / 10;
    return options;
}

TestPrintOptions ClampTestPrintOptions(TestPrintOptions options, const PrinterModel& model) {
    options.issueCount = ClampField(options.issueCount, 1, 9999);
    options.speed = ClampField(options.speed, 1, 15);  // one hexadecimal digit on the wire
    options.sensor = ClampField(options.sensor, 0, 4);
    options.labelLengthMm = ClampField(options.labelLengthMm, 8, model.maxLength / 10);
    options.labelGapMm = ClampField(options.labelGapMm, 0, 20);
    options.labelWidthMm = ClampField(options.labelWidthMm, 10, model.maxWidth / 10);
    options.tone = ClampField(options.tone, -20, 10);
    return options;
}

int DotsPerMm(int resolution) {
    if (resolution == 203) return 8;
    if (resolution == 600) return 24;
    return 12;
}

std::string BuildTestPrintSetup(const TestPrintOptions& options, const ControlCodes& codes) {
    const int pitch = (options.labelLengthMm + options.labelGapMm) * 10;
    const int width = options.labelWidthMm * 10;
    const int length = options.labelLengthMm * 10;
    std::string out = Command(
        Format(pitch < 9999 ? "D%04d,%04d,%04d" : "D%05d,%04d,%05d", pitch, width, length), codes);
    out += Command("C", codes);
    out += Command(Format("AY;%c%02d,%d", options.tone < 0 ? '-' : '+', std::abs(options.tone),
                          IsDirectThermal(options.method) ? 1 : 0),
                   codes);
    return out;
}

std::string BuildSlantLines(int widthDots, int heightDots, int white, int black, bool threeDots,
                            const ControlCodes& codes) {
    // Settings that give no run at all would divide by zero.
    if (static_cast<long long>(white) + black <= 0) {
        white = threeDots ? 15 : 5;
        black = threeDots ? 3 : 1;
    }
    const long long period = static_cast<long long>(white) + black;
    widthDots = std::max(widthDots, 0);
    heightDots = std::max(heightDots, 0);
    const std::size_t rowBytes = (static_cast<std::size_t>(widthDots) + 7) / 8;

    std::string out(1, static_cast<char>(codes.code1));
    out += Format("SG;0000,00000,%04d,%05d,1,", widthDots, heightDots);
    const std::size_t start = out.size();
    out.resize(start + rowBytes * static_cast<std::size_t>(heightDots), '\0');
    for (int i = 0; i < heightDots; ++i) {
        char* row = out.data() + start + rowBytes * static_cast<std::size_t>(i);
        const long long phase = i % period;
        for (int j = 0; j < widthDots; ++j) {
            if ((phase + j) % period >= white)
                row[j / 8] = static_cast<char>(row[j / 8] | (0x80 >> (j % 8)));
        }
    }
    out += static_cast<char>(codes.code2);
    out += static_cast<char>(codes.code3);
    return out;
}

std::string BuildIssueCommand(const TestPrintOptions& options, std::string_view modelName,
                              const ControlCodes& codes) {
    return Command(
        Format("XS;I,%04d,%03d%d%c%X%d00", options.issueCount,
               options.issueMode == IssueMode::CutEveryPage ? 1 : 0, options.sensor,
               options.issueMode == IssueMode::PeelOff ? 'D' : 'C',
               static_cast<unsigned>(options.speed), PrintMethodCode(options.method, modelName)),
        codes);
}

std::string PatternFilePath(TestPattern pattern, int resolution, const ToolSettings& settings) {
    const bool chars = pattern == TestPattern::Characters;
    const char* kind = chars ? "CHAR" : "BARCODE";
    const std::string* path;
    int dpiClass;
    if (resolution == 203) {
        path = chars ? &settings.char200Path : &settings.barcode200Path;
        dpiClass = 200;
    } else if (resolution == 600) {
        path = chars ? &settings.char600Path : &settings.barcode600Path;
        dpiClass = 600;
    } else {
        path = chars ? &settings.char300Path : &settings.barcode300Path;
        dpiClass = 300;
    }
    if (!path->empty()) return *path;
    return JoinPath(settings.programFolder, Format("%s_%d.DAT", kind, dpiClass));
}

TestPrintBuild BuildTestPrintData(const TestPrintOptions& requested, const PrinterModel& model,
                                  const ToolSettings& settings, const Strings& strings) {
    TestPrintBuild build;
    const TestPrintOptions options = ClampTestPrintOptions(requested, model);
    const ControlCodes& codes = settings.controlCodes;
    try {
        build.data.setup = BuildTestPrintSetup(options, codes);
        if (options.pattern == TestPattern::SlantLines1 ||
            options.pattern == TestPattern::SlantLines3) {
            const bool three = options.pattern == TestPattern::SlantLines3;
            const int* run = three ? settings.slash3 : settings.slash1;
            const int d = DotsPerMm(model.resolution);
            build.data.pattern = BuildSlantLines(
                options.labelWidthMm * d, options.labelLengthMm * d, run[0], run[1], three, codes);
        } else {
            const auto file =
                ReadFileBytes(PatternFilePath(options.pattern, model.resolution, settings));
            if (!file) {
                build.result = BuildFailure(strings, sid::kMsgGenerationFailed);
                build.data = {};
                return build;
            }
            build.data.pattern = FilterPatternData(*file, codes);
        }
        build.data.issue = BuildIssueCommand(options, model.name, codes);
    } catch (const std::bad_alloc&) {
        build.result = BuildFailure(strings, sid::kMsgGenerationFailed);
        build.data = {};
    }
    return build;
}

}  // namespace rvq
