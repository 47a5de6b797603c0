#include "ui/pages/maintenance_pages.h"

#include "ui/pages/memory_page.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/pages/test_print_page.h"
#include "ui/pages/tool_page.h"

namespace rvq::ui {

namespace {

constexpr int kSelfDiagnosisTab = 710;
constexpr int kMemoryTab = 711;
constexpr int kToolTab = 712;
constexpr int kTestPrintTab = 714;

}  // namespace

PageView* MakeMaintenancePage(UiServices& services, int tabLabelId, QWidget* parent) {
    switch (tabLabelId) {
        case kSelfDiagnosisTab:
            return new SelfDiagnosisPage(services, parent);
        case kMemoryTab:
            return new MemoryPage(services, parent);
        case kToolTab:
            return new ToolPage(services, parent);
        case kTestPrintTab:
            return new TestPrintPage(services, parent);
        default:
            return nullptr;
    }
}

}  // namespace rvq::ui
