#include "ui/rom_page_samples.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "core/builders/rom_list.h"
#include "core/builders/rom_trailer.h"
#include "core/platform/file_io.h"
#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr std::uint32_t kSampleKb = 64;

std::string Column(const std::string& text) {
    return text.substr(0, rom_trailer::kColumn) +
           std::string(rom_trailer::kColumn - std::min(text.size(), rom_trailer::kColumn), ' ');
}

// A firmware image of `kSampleKb` KB whose trailer names the section.
std::string FirmwareSample(const std::string& section, const std::string& version,
                           const std::string& model, std::uint32_t loadAddress) {
    std::string image(kSampleKb * 1024 - rom_trailer::kSize, '\xFF');
    const std::string text = std::string(rom_trailer::kColumn, ' ') + Column("01DEC2026") +
                             Column(model) + Column(version) + Column(section) + Column("");
    return image + EncodeRomTrailer({kSampleKb, loadAddress, text});
}

}  // namespace

bool RomPageSamples::WriteSample(const std::string& relative, const std::string& bytes) const {
    const QString path = folder_.filePath(ToQt(relative));
    return QDir().mkpath(QFileInfo(path).path()) &&
           static_cast<bool>(WriteFileAtomically(FromQt(path), bytes));
}

bool RomPageSamples::Fill(HtmlRomPage& html, FirmwarePage& firmware,
                          const std::string& printerModel) {
    if (!folder_.isValid()) return false;
    const std::string model = ExpectedRomModel(printerModel);
    const bool written =
        WriteSample("web/XML/STATUS.XML", "<?xml version=\"1.0\"?><status>ready</status>") &&
        WriteSample("web/ENG/HTML/index.htm", "<html><body>Printer status</body></html>") &&
        WriteSample("web/JPN/HTML/index.htm", "<html><body>Printer status (JPN)</body></html>") &&
        WriteSample("web/ENG/PASS/login.htm", "<html><body>Password</body></html>") &&
        WriteSample("web/JPN/PASS/login.htm", "<html><body>Password</body></html>") &&
        WriteSample("web/MAIL/TEXT/error.txt", "The printer reports an error.") &&
        WriteSample("BOOT_V110.BIN", FirmwareSample("BOOT", "V1.10", model, 0x00000000)) &&
        WriteSample("MAIN_V210.BIN", FirmwareSample("MAIN", "V2.10", model, 0x00100000));
    if (!written) return false;

    html.ChooseSource(FromQt(folder_.filePath(QStringLiteral("web"))));
    const QString rom = folder_.filePath(QStringLiteral("WEB_XML.BIN"));
    html.outputEdit()->setText(rom);
    html.createButton()->click();
    if (!QFileInfo::exists(rom)) return false;

    for (const char* name : {"MAIN_V210.BIN", "WEB_XML.BIN", "BOOT_V110.BIN"})
        firmware.AddFile(FromQt(folder_.filePath(QString::fromLatin1(name))));
    return true;
}

}  // namespace rvq::ui
