#include "ui/pages/basic_gaiji_pages.h"

#include "ui/pages/basic_download_page.h"
#include "ui/pages/external_character_page.h"

namespace rvq::ui {

namespace {
constexpr int kBasicDownloadTab = 701;
constexpr int kExternalCharacterTab = 713;
}  // namespace

PageView* MakeBasicOrGaijiPage(UiServices& services, DownloadStore& store, int tabLabelId,
                               QWidget* parent) {
    switch (tabLabelId) {
        case kBasicDownloadTab:
            return new BasicDownloadPage(services, store, parent);
        case kExternalCharacterTab:
            return new ExternalCharacterPage(services, parent);
        default:
            return nullptr;
    }
}

}  // namespace rvq::ui
