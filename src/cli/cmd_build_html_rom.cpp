#include <array>
#include <ostream>

#include "cli/builder_output.h"
#include "cli/cmd_build_html_rom.h"
#include "cli/command_args.h"
#include "cli/json_writer.h"
#include "cli/text_table.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/builders/html_rom_build.h"
#include "core/builders/html_rom_rows.h"

namespace rvq::cli {

namespace {

constexpr std::array<OptionSpec, 2> kOptions{{{"--type", true}, {"--with-header", false}}};

const char* ReasonText(HtmlRomLeftOutReason reason) {
    switch (reason) {
        case HtmlRomLeftOutReason::NameTooLong:
            return "name too long for the index";
        case HtmlRomLeftOutReason::Empty:
            return "empty";
        case HtmlRomLeftOutReason::Unreadable:
            return "cannot be read";
    }
    return "";
}

void PrintScan(CliEnv& env, const HtmlRomScan& scan, HtmlRomType type) {
    env.out << HtmlRomLoadAddressText(type) << "\n";
    for (const auto& file : scan.files) env.out << "  " << file.relativePath << "\n";
    for (const auto& left : scan.leftOut) {
        env.out << "  left out: " << left.relativePath << " (" << ReasonText(left.reason) << ")\n";
    }
    env.out << scan.files.size() << " files, " << HtmlRomSizeText(scan.totalSize, type) << "\n";
}

void PrintRomList(CliEnv& env, const HtmlRomImage& image, CodePage codePage) {
    TextTable table({"No.", "ID", env.context.strings.Get(sid::kFileNameColumn), "Offset", "Size"});
    for (const HtmlRomRow& row : HtmlRomResultRows(image, env.context.strings, codePage)) {
        table.Add(std::vector<std::string>(row.begin(), row.end()));
    }
    table.Print(env.out);
}

void PrintJson(CliEnv& env, const HtmlRomScan& scan, const HtmlRomImage& image, HtmlRomType type,
               const std::string& output, CodePage codePage) {
    JsonWriter json = DataFields(env);
    json.Key("file").String(output);
    json.Key("loadAddress").String(HtmlRomTypeInfoOf(type).loadAddressText);
    json.Key("imageSize").Int(HtmlRomTypeInfoOf(type).imageSize);
    json.Key("sizeText").String(HtmlRomSizeText(scan.totalSize, type));
    json.Key("leftOut").BeginArray();
    for (const auto& left : scan.leftOut) {
        json.BeginObject();
        json.Key("path").String(left.relativePath);
        json.Key("reason").String(ReasonText(left.reason));
        json.EndObject();
    }
    json.EndArray();
    json.Key("entries").BeginArray();
    for (const auto& e : image.entries) {
        json.BeginObject();
        json.Key("id").String(std::string(1, e.id));
        json.Key("name").String(FromCodePage(e.name, codePage));
        json.Key("offset").Int(e.offset);
        json.Key("size").Int(e.size);
        json.EndObject();
    }
    json.EndArray();
    json.Key("endOffset").Int(image.endOffset);
    json.Key("total").Int(static_cast<long long>(image.total));
    json.Key("fileBytes").Int(static_cast<long long>(image.fileBytes.size()));
}

}  // namespace

int RunBuildHtmlRom(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (args.positional.size() != 2) {
        return UsageError(env, "build-html-rom takes SRC_DIR and OUT.BIN");
    }
    const std::string typeName = args.Value("--type").value_or("html");
    if (typeName != "html" && typeName != "wmon")
        return UsageError(env, "--type takes html or wmon");
    const HtmlRomType type = typeName == "wmon" ? HtmlRomType::Wmon : HtmlRomType::HtmlXml;
    const std::string& source = args.positional[0];
    const std::string& output = args.positional[1];
    const CodePage codePage = CodePageFor(env.context.isJapanese);
    const Strings& strings = env.context.strings;

    const HtmlRomScan scan = ScanHtmlRomFolder(source, type, strings, codePage);
    if (!env.options.json) PrintScan(env, scan, type);
    if (!scan.result) {
        return ReportBuildFailure(env, source, scan.result.messageId, scan.result.message);
    }
    if (!MayReplace(env, output)) return kExitFailed;
    const HtmlRomBuild build =
        CreateHtmlRomFile(scan.files, type, args.Has("--with-header"), output, strings, codePage);
    if (!build.result) {
        return ReportBuildFailure(env, build.result.file.empty() ? source : build.result.file,
                                  build.result.messageId, build.result.message);
    }
    if (env.options.json) {
        PrintJson(env, scan, build.image, type, output, codePage);
    } else {
        PrintRomList(env, build.image, codePage);
        env.out << "wrote " << output << " (" << build.image.fileBytes.size() << " bytes)\n";
    }
    return kExitOk;
}

}  // namespace rvq::cli
