#pragma once

#include <QTemporaryDir>
#include <string>

namespace rvq::ui {

class FirmwarePage;
class HtmlRomPage;

// Example files for the pictures of the ROM pages: a small web-page tree
// built into an HTML/XML ROM on its page, and BOOT and MAIN images for the
// selected model, all listed on the firmware page. The files go with this
// object.
class RomPageSamples {
public:
    // False when the example files could not be made; the pages are left
    // alone then.
    bool Fill(HtmlRomPage& html, FirmwarePage& firmware, const std::string& printerModel);

private:
    bool WriteSample(const std::string& relative, const std::string& bytes) const;

    QTemporaryDir folder_;
};

}  // namespace rvq::ui
