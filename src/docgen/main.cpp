// rvq-docgen: writes the manual pages and the shell completion of the
// programs from their own tables, at build time (not installed).
#include <cstdio>
#include <string>

#include "core/platform/file_io.h"
#include "docgen/completion.h"
#include "docgen/man_pages.h"

int main(int argc, char** argv) {
    using namespace rvq;
    if (argc != 2) {
        std::fputs("usage: rvq-docgen OUTPUT_DIR\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const std::pair<const char*, std::string> files[] = {
        {"rvqtool.1", docgen::RvqtoolManPage()},
        {"rvq-printer-sim.1", docgen::SimulatorManPage()},
        {"rvq-setting-tool.1", docgen::DesktopManPage()},
        {"rvqtool.bash", docgen::BashCompletion()},
        {"_rvqtool", docgen::ZshCompletion()},
    };
    for (const auto& [name, text] : files) {
        if (!WriteFileAtomically(JoinPath(folder, name), text)) {
            std::fprintf(stderr, "rvq-docgen: cannot write %s/%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
