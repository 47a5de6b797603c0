#include "ui/pages/rom_pages.h"

#include "core/app/string_ids.h"
#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"

namespace rvq::ui {

namespace {}  // namespace

PageView* MakeRomPage(UiServices& services, int tabLabelId, QWidget* parent) {
    switch (tabLabelId) {
        case sid::kFirmwareTab:
            return new FirmwarePage(services, parent);
        case sid::kHtmlRomTab:
            return new HtmlRomPage(services, parent);
        default:
            return nullptr;
    }
}

}  // namespace rvq::ui
