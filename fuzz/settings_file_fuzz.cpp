// A setting information file as the parameter pages import it: header,
// group ticks and every item value, read into a loaded model. The model
// is then written out again, which must keep the file's structure (every
// line a section or a key=value line), and a written file must read back
// to the same file.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/app/document.h"
#include "core/app/interaction.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/settings_file.h"
#include "core/params/settings_transfer.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"
#include "fuzz_check.h"
#include "fuzz_scratch.h"

namespace {

struct Quiet : rvq::Interaction {
    bool Confirm(int, const std::string&) override { return false; }
    void Error(int, const std::string&) override {}
    void Info(int, const std::string&) override {}
};

rvq::Document& LoadedDocument() {
    static rvq::Document document;
    static const bool loaded =
        document.OnNewDocument(RVQ_FUZZ_DATA_DIR "/VQTool_Printer.XML", "R-VQ4T1-T", "QM");
    FUZZ_CHECK(loaded);
    return document;
}

void CheckStructure(const std::string& file) {
    FUZZ_CHECK(!file.empty() && file.back() == '\n');
    for (const std::string& line : rvq::Split(file.substr(0, file.size() - 1), '\n')) {
        FUZZ_CHECK(!line.empty() && line.back() == '\r');
        const std::string_view body(line.data(), line.size() - 1);
        if (body.front() == '[') {
            FUZZ_CHECK(body.back() == ']');
        } else {
            FUZZ_CHECK(body.find('=') != std::string_view::npos);
        }
    }
}

// Imports `path` and writes the model out again; nothing when refused.
std::optional<std::string> ImportAndExport(const std::string& path, bool japanese) {
    static const rvq::Strings strings;
    rvq::Document& document = LoadedDocument();
    rvq::ToolSettings settings;
    settings.printerModel = document.model()->name;
    rvq::params::GroupTicks ticks;
    Quiet quiet;
    const rvq::params::SettingsFileEnv env{strings, japanese, {}};
    const auto result = rvq::params::ImportSettings(path, document, settings, ticks, env, quiet);
    if (!result.ok) return std::nullopt;
    return rvq::params::BuildSettingsFile(*document.model(), ticks, settings, japanese,
                                          result.passwordsIncluded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = rvq::fuzz::MakeScratchFolder();
    static const std::string path = folder + "/in.tsi";
    const std::string_view bytes = rvq::fuzz::Bytes(data, size);
    const bool japanese = size > 0 && (data[size - 1] & 1) != 0;

    for (const char* section : {"HEADER", "GROUP", "ITEM"}) {
        for (const auto& entry : rvq::params::ParseTsiSection(bytes, section, japanese)) {
            FUZZ_CHECK(entry.key.find('=') == std::string::npos);
            FUZZ_CHECK(entry.key.find('\n') == std::string::npos);
            FUZZ_CHECK(entry.value.find('\n') == std::string::npos);
        }
    }

    FUZZ_CHECK(rvq::WriteFileAtomically(path, bytes));
    const auto first = ImportAndExport(path, japanese);
    if (!first) return 0;
    CheckStructure(rvq::FromCodePage(*first, rvq::CodePageFor(japanese)));
    // The first import may normalise what it read (an over-long scrambled
    // password is cut); a file the tool wrote itself reads back unchanged.
    FUZZ_CHECK(rvq::WriteFileAtomically(path, *first));
    const auto second = ImportAndExport(path, japanese);
    FUZZ_CHECK(second.has_value());
    CheckStructure(rvq::FromCodePage(*second, rvq::CodePageFor(japanese)));
    FUZZ_CHECK(rvq::WriteFileAtomically(path, *second));
    const auto third = ImportAndExport(path, japanese);
    FUZZ_CHECK(third.has_value());
    FUZZ_CHECK(*third == *second);
    return 0;
}
