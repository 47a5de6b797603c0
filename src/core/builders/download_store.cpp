#include "core/builders/download_store.h"

namespace rvq {

DownloadStore::DownloadStore(const Strings& strings, ControlCodes codes, bool japaneseText)
    : codes_(codes),
      mainProgram_(strings, codes, japaneseText),
      systemProgram_(strings, codes, japaneseText),
      dataFile_(strings, codes, japaneseText) {}

void DownloadStore::SetControlCodes(const ControlCodes& codes) {
    codes_ = codes;
    mainProgram_.SetControlCodes(codes);
    systemProgram_.SetControlCodes(codes);
    dataFile_.SetControlCodes(codes);
}

}  // namespace rvq
