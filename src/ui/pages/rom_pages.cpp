#include "ui/pages/rom_pages.h"

#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"

namespace rvq::ui {

namespace {
constexpr int kFirmwareTab = 700;
constexpr int kHtmlRomTab = 702;
}  // namespace

PageView* MakeRomPage(UiServices& services, int tabLabelId, QWidget* parent) {
    switch (tabLabelId) {
        case kFirmwareTab:
            return new FirmwarePage(services, parent);
        case kHtmlRomTab:
            return new HtmlRomPage(services, parent);
        default:
            return nullptr;
    }
}

}  // namespace rvq::ui
