#pragma once

#include <string_view>

#include "core/app/printer_model.h"
#include "core/params/item_values.h"

namespace rvq::params {

enum class DecodeMode {
    Read,     // after a get: store the printer's value
    Compare,  // while a set is verified: store it and compare with the page value
};

// Turns one reply field into the item's read value, with the conversions of
// the items that need their own (passwords, hex-sent texts, the split
// authentication code, ...). Read mode always answers true; compare mode
// answers whether the printer holds the page value.
bool DecodeReplyValue(ParamItem& item, std::string_view field, DecodeMode mode,
                      ShownLanguage language);

}  // namespace rvq::params
