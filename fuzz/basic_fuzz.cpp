// BASIC sources are user files; the tokenizer, the structure checks and
// the encoder all read them.
#include <vector>

#include "core/app/strings.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/basic_image.h"
#include "core/builders/basic_tokenizer.h"
#include "fuzz_check.h"

namespace {

// Every token takes something from the line, so a line always ends.
void Tokenize(rvq::basic::TextView line) {
    rvq::basic::TextView rest = line;
    while (true) {
        const rvq::basic::Token token = rvq::basic::NextToken(rest);
        if (token.endOfLine) return;
        FUZZ_CHECK(token.rest.size() < rest.size());
        if (token.text == U"*") std::ignore = rvq::basic::ReadLabelName(token.rest);
        rest = token.rest;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const rvq::Strings strings;
    static const rvq::basic::BasicKeywords keywords(strings);
    // The length picks the code page and the program slot, so that plain
    // source files serve as seeds.
    const auto codePage = size & 1 ? rvq::CodePage::Japanese932 : rvq::CodePage::Western1252;
    const auto slot = size & 2 ? rvq::basic::BasicSlot::Main : rvq::basic::BasicSlot::System;
    const auto lines = rvq::ReadBasicSourceLines(rvq::fuzz::Bytes(data, size), codePage);
    if (!lines) return 0;
    for (const auto& line : *lines) Tokenize(line);

    const rvq::basic::BasicImageResult built =
        rvq::basic::BuildBasicImage(*lines, slot, "FUZZ.BAS", codePage, keywords);
    if (built.result) {
        FUZZ_CHECK(!built.image.empty() && built.image.size() % rvq::basic::kBlockSize == 0);
    } else {
        FUZZ_CHECK(!rvq::basic::BasicErrorText(strings, built.result.error).empty());
    }
    return 0;
}
