#include "core/pages/firmware_page.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"

namespace rvq {

namespace {

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DownloadModeBox DownloadModeBoxFor(bool downloadModeSetting, const InterfaceName& interfaceName) {
    if (!downloadModeSetting) return {};
    return {true, IsUsb(interfaceName.kind())};
}

bool FirmwareDownloadModeFlag(const ToolSettings& settings, bool boxTicked) {
    return boxTicked && DownloadModeBoxFor(settings.downloadMode, settings.interfaceName).enabled;
}

RomDetails RomDetailsOf(const std::string& path, const RomFileInfo& info, const Strings& strings) {
    RomDetails details;
    details.fileLine = strings.Get(sid::kRomFileNameLabel) + FileNameOf(path);
    details.labels = strings.Get(sid::kRomModelLabel) + strings.Get(sid::kRomAddressLabel) +
                     strings.Get(sid::kRomSizeLabel) + strings.Get(sid::kRomDateLabel);
    details.values =
        info.model + "\r\n" + info.loadAddress + "\r\n" + info.size + "\r\n" + info.date;
    return details;
}

}  // namespace rvq
