#include <algorithm>
#include <filesystem>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/gaiji_file.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

std::string CodeBytes(int type, int code) {
    std::string bytes;
    if (IsTwoByteGaijiType(type)) bytes += static_cast<char>((code >> 8) & 0xFF);
    bytes += static_cast<char>(code & 0xFF);
    return bytes;
}

}  // namespace

GaijiBitmapCheck CheckGaijiBitmap(const std::string& path, int type, const GaijiLimits& limits,
                                  const Strings& strings) {
    GaijiBitmapCheck check;
    const auto file = ReadFileBytes(path);
    auto bitmap = file ? ReadMonoBitmap(*file) : std::nullopt;
    if (!bitmap) {
        check.result = BuildFailure(strings, sid::kMsgNotMonochrome);
    } else if (!GaijiBitmapSizeFits(bitmap->width, bitmap->height, type, limits)) {
        check.result = BuildFailure(strings, sid::kMsgBitmapTooLarge);
    } else {
        check.bitmap = std::move(*bitmap);
    }
    return check;
}

GaijiFolderScan ScanGaijiFolder(const std::string& folder, GaijiLocation location, int gaijiWidth,
                                int defaultSpacing, const Strings& strings) {
    namespace fs = std::filesystem;
    const GaijiLimits limits = GaijiLimitsFor(location, gaijiWidth);
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());

    GaijiFolderScan scan;
    for (const fs::path& file : files) {
        auto record =
            ParseGaijiFileName(file.filename().string(), location, limits, defaultSpacing);
        if (!record) continue;
        const GaijiBitmapCheck check =
            CheckGaijiBitmap(file.string(), record->type, limits, strings);
        if (!check.result) continue;
        record->path = file.string();
        record->width = check.bitmap.width;
        record->height = check.bitmap.height;
        scan.records.push_back(std::move(*record));
    }
    if (scan.records.empty()) scan.result = BuildFailure(strings, sid::kMsgNoBitmapInFolder);
    return scan;
}

std::string BuildGaijiRecord(const GaijiRecord& record, const MonoBitmap& bitmap,
                             GaijiLocation location, const ControlCodes& codes) {
    const bool usb = location == GaijiLocation::Usb;
    std::string out(1, static_cast<char>(codes.code1));
    out += Format(usb ? "XA;1,%02d," : "XD;S0,%02d,", record.type);
    out += CodeBytes(record.type, record.code);
    out += Format(usb ? ",%04d,%04d,%04d,%04d,%04d,0," : ",%03d,%03d,%03d,%03d,%03d,0,",
                  record.left, record.top, bitmap.width, bitmap.height, record.spacing);
    out.reserve(out.size() + bitmap.rows.size() * 2 + 2);
    for (const char byte : bitmap.rows) {
        const auto b = static_cast<unsigned char>(byte);
        out += static_cast<char>((b >> 4) | 0x30);
        out += static_cast<char>((b & 0x0F) | 0x30);
    }
    out += static_cast<char>(codes.code2);
    out += static_cast<char>(codes.code3);
    return out;
}

BuildResult CreateExternalCharacterFile(const GaijiFileJob& job, const Strings& strings,
                                        const std::function<void(int percent)>& progress) {
    const GaijiLimits limits = GaijiLimitsFor(job.location, job.gaijiWidth);
    const std::size_t steps = job.records.size() + (job.confirmation ? 1 : 0);
    std::string file;
    for (std::size_t i = 0; i < job.records.size(); ++i) {
        const GaijiRecord& record = job.records[i];
        const GaijiBitmapCheck check = CheckGaijiBitmap(record.path, record.type, limits, strings);
        // Nothing is written when any bitmap fails, so no half file is left.
        if (!check.result) return BuildFailure(strings, sid::kMsgGaijiCreateFailed);
        file += BuildGaijiRecord(record, check.bitmap, job.location, job.codes);
        if (progress) progress(static_cast<int>(100 * (i + 1) / steps));
    }
    if (job.records.empty()) return BuildFailure(strings, sid::kMsgGaijiCreateFailed);

    std::string print;
    std::string printPath;
    if (job.confirmation) {
        const GaijiRecord& first = job.records.front();
        print = BuildConfirmationPrint(*job.confirmation, first.type, first.code, job.location,
                                       job.codes);
        printPath = ConfirmationPrintPath(job.outputPath);
    }
    if (const WriteResult written = WriteFileAtomically(job.outputPath, file); !written)
        return SaveFailure(strings, sid::kMsgGaijiSaveFailed, job.outputPath, written);
    if (job.confirmation) {
        if (const WriteResult written = WriteFileAtomically(printPath, print); !written)
            return SaveFailure(strings, sid::kMsgGaijiSaveFailed, printPath, written);
    }
    if (job.confirmation && progress) progress(100);
    return {};
}

}  // namespace rvq
