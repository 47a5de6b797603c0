#include "ui/pages/maintenance_pages.h"

#include "core/app/string_ids.h"
#include "ui/pages/memory_page.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/pages/test_print_page.h"
#include "ui/pages/tool_page.h"

namespace rvq::ui {

namespace {}  // namespace

PageView* MakeMaintenancePage(UiServices& services, int tabLabelId, QWidget* parent) {
    switch (tabLabelId) {
        case sid::kSelfDiagnosisTab:
            return new SelfDiagnosisPage(services, parent);
        case sid::kMemoryTab:
            return new MemoryPage(services, parent);
        case sid::kToolTab:
            return new ToolPage(services, parent);
        case sid::kTestPrintTab:
            return new TestPrintPage(services, parent);
        default:
            return nullptr;
    }
}

}  // namespace rvq::ui
