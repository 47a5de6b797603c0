#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/builders/basic_text.h"

namespace rvq {
class Strings;
}

namespace rvq::basic {

// The statement, function and operator tables. A keyword's token byte is
// its table's base plus its position; the tables are numbered strings, each
// closed by an end mark that is not a keyword.
class BasicKeywords {
public:
    explicit BasicKeywords(const Strings& strings);

    // `upper` is the token in upper case.
    std::optional<std::uint8_t> Statement(TextView upper) const;
    std::optional<std::uint8_t> Function(TextView upper) const;
    std::optional<std::uint8_t> Operator(TextView upper) const;

private:
    std::vector<Text> statements_;
    std::vector<Text> functions_;
    std::vector<Text> operators_;
};

}  // namespace rvq::basic
