// The core's heavy paths without a printer: definitions, printer
// information, BASIC encoding, HTML/XML ROM, external characters and the
// set commands of a model.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bench_support.h"
#include "core/app/document.h"
#include "core/app/interaction.h"
#include "core/app/printer_definition.h"
#include "core/app/strings.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/gaiji_file.h"
#include "core/builders/html_rom_build.h"
#include "core/builders/mono_bitmap.h"
#include "core/params/command_args.h"
#include "core/params/command_builder.h"
#include "core/params/group_ticks.h"
#include "core/params/settings_transfer.h"
#include "sim/info_blocks.h"
#include "sim/info_commands.h"
#include "sim/sim_printer.h"

namespace rvq::bench {
namespace {

const Strings& EnglishStrings() {
    static const Strings strings;
    return strings;
}

std::vector<std::string> ModelNames() {
    // Asking for no model still lists every model name of the file.
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(DefinitionPath(), "", &names);
    return names;
}

void LoadEveryModel(benchmark::State& state) {
    const std::vector<std::string> names = ModelNames();
    if (names.empty()) {
        state.SkipWithError("no models in the definition file");
        return;
    }
    for (auto _ : state) {
        for (const auto& name : names) {
            auto model = LoadPrinterModel(DefinitionPath(), name, nullptr);
            if (!model) {
                state.SkipWithError(("cannot load " + name).c_str());
                return;
            }
            benchmark::DoNotOptimize(model);
        }
    }
    state.SetLabel(std::to_string(names.size()) + " models");
}
BENCHMARK(LoadEveryModel)->Unit(benchmark::kMillisecond);

// What the tool hands to its parser from a settings block: header, length
// and text, without SOH STX and the trailer.
std::string SettingsBlockPayload() {
    sim::PrinterConfig config;
    config.definitionsPath = DefinitionPath();
    const sim::SimPrinter printer(config);
    const std::string frame = sim::SettingsBlockFrame(sim::SettingsSections(printer));
    const std::size_t length = std::stoul(frame.substr(19, 4));
    return frame.substr(2, length + 21);
}

void ParseFullSettingsBlock(benchmark::State& state) {
    const std::string payload = SettingsBlockPayload();
    Document document;
    for (auto _ : state) {
        document.ParsePrinterInfo(payload);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * payload.size()));
}
BENCHMARK(ParseFullSettingsBlock)->Unit(benchmark::kMicrosecond);

// A program of `lines` lines in blocks of twenty: a label, a loop of
// assignments, output and a jump, so labels and loops stay within the
// smaller system-program limits while only the line count grows.
std::string BasicProgram(int lines) {
    std::string source;
    int written = 0;
    auto line = [&](const std::string& text) {
        source += text;
        source += "\r\n";
        ++written;
    };
    // written grows inside line(), which the loop condition cannot see.
    for (int block = 0;; ++block) {
        if (written + 20 > lines) break;
        line("*L" + std::to_string(block));
        line("FOR I=1 TO 3");
        for (int k = 0; k < 15; ++k)
            line("A" + std::to_string(k) + "=A" + std::to_string(k) + "+I*2");
        line("NEXT I");
        line("PRINT \"N\";A0");
        line("IF A0>100 THEN GOTO *L" + std::to_string(block));
    }
    while (written < lines) line("B=B+1");
    return source;
}

void EncodeBasic(benchmark::State& state, int lines, int mode) {
    const std::string path =
        WriteScratchFile("prog" + std::to_string(lines) + ".bas", BasicProgram(lines));
    BasicEncoder encoder(EnglishStrings(), ControlCodes{}, false);
    for (auto _ : state) {
        if (!encoder.EncodeBasicProgram(path, mode)) {
            state.SkipWithError("the program did not encode");
            return;
        }
        benchmark::DoNotOptimize(encoder.Buffer());
    }
    state.SetLabel(std::to_string(lines) + " lines");
}
BENCHMARK_CAPTURE(EncodeBasic, main_10000_lines, 10000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EncodeBasic, system_2000_lines, 2000, 0)->Unit(benchmark::kMillisecond);

// 960 KB of pages in the HTML/XML folders: with the index, nearly the
// whole 1 MB the ROM holds.
std::string HtmlFolder() {
    std::string root = ScratchFolder() + "/web";
    const std::string page(16 * 1024, 'x');
    const char* folders[] = {"ENG/HTML", "JPN/HTML", "XML", "GRP_DATA"};
    for (int i = 0; i < 60; ++i) {
        const std::string name = std::string(folders[i % 4]) + "/P" + std::to_string(i) + ".HTM";
        WriteScratchFile("web/" + name, page + std::to_string(i));
    }
    return root;
}

void BuildHtmlRom1MB(benchmark::State& state) {
    const HtmlRomScan scan =
        ScanHtmlRomFolder(HtmlFolder(), HtmlRomType::HtmlXml, EnglishStrings());
    if (scan.files.empty()) {
        state.SkipWithError("no files found");
        return;
    }
    for (auto _ : state) {
        HtmlRomBuild build =
            BuildHtmlRomImage(scan.files, HtmlRomType::HtmlXml, true, EnglishStrings());
        if (!build.result.ok) {
            state.SkipWithError("the ROM did not build");
            return;
        }
        benchmark::DoNotOptimize(build.image.fileBytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scan.totalSize));
}
BENCHMARK(BuildHtmlRom1MB)->Unit(benchmark::kMillisecond);

void ExternalCharacter720(benchmark::State& state) {
    MonoBitmap bitmap;
    bitmap.width = 720;
    bitmap.height = 720;
    bitmap.rows.assign(static_cast<std::size_t>((720 + 7) / 8) * 720, '\x5A');
    GaijiRecord record;
    record.width = 720;
    record.height = 720;
    record.spacing = 720;
    ControlCodes codes;
    for (auto _ : state) {
        std::string bytes = BuildGaijiRecord(record, bitmap, GaijiLocation::Usb, codes);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(ExternalCharacter720)->Unit(benchmark::kMicrosecond);

void BuildEverySetCommand(benchmark::State& state) {
    auto model = LoadPrinterModel(DefinitionPath(), "R-VQ4T1-T", nullptr);
    if (!model) {
        state.SkipWithError("the default model does not load");
        return;
    }
    const params::SendContext context;
    std::size_t commands = 0;
    for (auto _ : state) {
        commands = 0;
        for (const auto& group : model->groups) {
            for (const auto& command : group.setCommands) {
                params::CommandArgs args = params::CollectCommandArgs(command, *model, context);
                std::optional<std::string> text;
                if (args.outcome == params::ArgsOutcome::Texts)
                    text =
                        params::BuildTextCommand(EnglishStrings(), command.commandId, args.texts);
                else if (args.outcome == params::ArgsOutcome::Numbers)
                    text = params::BuildNumericCommand(EnglishStrings(), command.commandId,
                                                       args.numbers);
                benchmark::DoNotOptimize(text);
                ++commands;
            }
        }
    }
    state.SetLabel(std::to_string(commands) + " commands");
}
BENCHMARK(BuildEverySetCommand)->Unit(benchmark::kMicrosecond);

class AgreeingInteraction : public Interaction {
public:
    bool Confirm(int, const std::string&) override { return true; }
    void Error(int, const std::string&) override {}
    void Info(int, const std::string&) override {}
};

// A settings file with every group ON and the secrets in, written and read
// back into the document.
void ExportImportSettingsFile(benchmark::State& state) {
    Document document;
    if (!document.OnNewDocument(std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML",
                                "R-VQ4T1-T", "QM") ||
        document.model() == nullptr) {
        state.SkipWithError("the default model does not load");
        return;
    }
    params::GroupTicks ticks;
    for (const ParamGroup& group : document.model()->groups) ticks.Set(group.name, true);
    ToolSettings settings;
    settings.printerModel = "R-VQ4T1-T";
    settings.destination = "QM";
    const params::SettingsFileEnv env{EnglishStrings(), false, {}};
    AgreeingInteraction agree;
    const std::string path = ScratchFolder() + "/all.TSI";
    for (auto _ : state) {
        if (!params::ExportSettings(path, *document.model(), ticks, settings, env, agree)) {
            state.SkipWithError("the export failed");
            return;
        }
        params::GroupTicks read;
        if (!params::ImportSettings(path, document, settings, read, env, agree).ok) {
            state.SkipWithError("the import failed");
            return;
        }
    }
}
BENCHMARK(ExportImportSettingsFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rvq::bench

BENCHMARK_MAIN();
