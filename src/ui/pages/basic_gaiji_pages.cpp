#include "ui/pages/basic_gaiji_pages.h"

#include "core/app/string_ids.h"
#include "ui/pages/basic_download_page.h"
#include "ui/pages/external_character_page.h"

namespace rvq::ui {

namespace {}  // namespace

PageView* MakeBasicOrGaijiPage(UiServices& services, DownloadStore& store, int tabLabelId,
                               QWidget* parent) {
    switch (tabLabelId) {
        case sid::kBasicDownloadTab:
            return new BasicDownloadPage(services, store, parent);
        case sid::kExternalCharacterTab:
            return new ExternalCharacterPage(services, parent);
        default:
            return nullptr;
    }
}

}  // namespace rvq::ui
