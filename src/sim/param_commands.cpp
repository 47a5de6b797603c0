#include "sim/param_commands.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace rvq::sim {
namespace {

// One block of 100 ids: its get command and the numbers nn of its set
// commands <letters>nn. Set ids count from the block: id = block + nn -
// base + 1 (the "ZWR" blocks share the letters ZW and start at `base`).
struct Block {
    int getId;
    const char* getText;
    const char* setLetters;
    int base;
    std::vector<int> numbers;
};

constexpr int kNoSets = -1;

const std::vector<Block>& Blocks() {
    static const std::vector<Block> blocks = {
        {0, "ZA", "ZA", 0, {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {100, "ZB", "ZB", 0, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {200, "ZC", "ZC", 0, {0, 1, 2, 3, 4}},
        {300, "ZD", "ZD", 0, {0, 1, 2, 3, 4, 5, 6}},
        {400, "ZE", "ZE", 0, {0, 1, 2, 4, 5}},
        {500, "ZF", "ZF", 0, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10,
                              11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
        {700, "ZH", "ZH", 0, {0, 1, 2}},
        {800, "ZI", "ZI", 0, {0, 1, 3}},
        {1000, "ZK", "ZK", 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
        {1100, "ZLR00", "", kNoSets, {}},
        {1101, "ZLR10", "", kNoSets, {}},
        {1102, "ZLR20", "", kNoSets, {}},
        {1200, "ZM", "ZM", 0, {0, 3, 5, 6, 8, 9, 10, 11, 12}},
        {1300, "ZN", "ZN", 0, {0, 1}},
        {1400, "ZO", "ZO", 0, {0, 1, 2, 3, 4, 5, 6, 8, 9}},
        {1500, "ZP", "ZP", 0, {0, 1, 2, 3}},
        {1700, "ZR", "ZR", 0, {0, 1, 2, 3, 4, 5, 6, 7}},
        {1800, "ZS", "ZS", 0, {0, 1, 2, 3}},
        {1900, "ZT", "ZT", 0, {0, 1, 2}},
        {2200, "ZWR00", "ZW", 0, {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {2300, "ZWR20", "ZW", 20, {20, 21}},
        {2400, "ZWR30", "ZW", 30, {30, 31, 32, 34}},
        {2500, "ZWR40", "ZW", 40, {40, 41, 45, 46}},
        {2600, "ZWR50", "ZW", 50, {50, 51, 52, 53, 54, 55, 56, 57, 58, 59}},
        {2700, "ZWR60", "ZW", 60, {60, 61, 62, 63, 64, 65}},
        {2800, "ZWR70", "ZW", 70, {70, 71, 72, 73, 74, 75, 76, 77, 78}},
        {2900, "ZWR80", "ZW", 80, {80, 81}},
        {3100, "ZWR100", "ZW", 100, {100, 101, 102, 109}},
        {3200, "ZWR110", "ZW", 110, {110, 111, 112, 113, 114, 115}},
    };
    return blocks;
}

// Set commands outside the block rule: the odd number of ZP05 and the
// second forms of ZK09, ZS01 and ZS02.
struct Extra {
    int id;
    const char* key;
    int getId;
};
constexpr Extra kExtras[] = {
    {1505, "ZP05", 1500}, {1060, "ZK09", 1000}, {1852, "ZS01", 1800}, {1853, "ZS02", 1800}};

// Commands whose arguments are not one plain value.
ArgShape ShapeOf(int id) {
    auto in = [id](std::initializer_list<int> ids) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    if (in({1, 7, 4, 11, 12, 13, 14, 15, 16, 2610, 1010, 1060, 1852, 1853}))
        return ArgShape::CommaPair;
    if (id == 204) return ArgShape::CommaTriple;
    if (id == 2216) return ArgShape::RowAddress;
    if (in({2206, 2207, 2208, 2210})) return ArgShape::Address;
    if (id == 1901) return ArgShape::DateTime;
    if (in({506, 1405})) return ArgShape::FlagSecret;
    if (in({508, 1404})) return ArgShape::TwoSecrets;
    if (in({2605, 2606, 2607, 2608})) return ArgShape::LengthText;
    if (id == 1804) return ArgShape::None;
    if (id == 2502) return ArgShape::Zero;
    if (id == 2507) return ArgShape::ZeroZero;
    if (in({2804, 2805, 2806, 2807, 2809})) return ArgShape::Binary;
    return ArgShape::Whole;
}

struct Tables {
    std::vector<GetCommand> gets;
    std::vector<ParamCommand> sets;
};

const Tables& AllTables() {
    static const Tables tables = [] {
        Tables t;
        for (const Block& block : Blocks()) {
            t.gets.push_back(GetCommand{block.getId, block.getText});
            if (block.base == kNoSets) continue;
            for (int number : block.numbers) {
                char key[16];
                std::snprintf(key, sizeof key, "%s%02d", block.setLetters, number);
                const int id = block.getId + number - block.base + 1;
                t.sets.push_back(ParamCommand{id, key, block.getId, ShapeOf(id)});
            }
        }
        for (const Extra& extra : kExtras)
            t.sets.push_back(ParamCommand{extra.id, extra.key, extra.getId, ShapeOf(extra.id)});
        return t;
    }();
    return tables;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Splits at the first `count` - 1 commas; nothing when there are fewer.
std::optional<std::vector<ArgValue>> SplitCommas(std::string_view args, std::size_t count) {
    std::vector<ArgValue> values;
    for (std::size_t i = 1; i < count; ++i) {
        const std::size_t comma = args.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        values.push_back({std::string(args.substr(0, comma))});
        args.remove_prefix(comma + 1);
    }
    values.push_back({std::string(args)});
    return values;
}

std::optional<std::vector<ArgValue>> Address(std::string_view args) {
    const auto parts = SplitCommas(args, 4);
    if (!parts) return std::nullopt;
    std::string dotted;
    for (const ArgValue& part : *parts) {
        if (!AllDigits(part.text) || part.text.size() > 3 || std::stoi(part.text) > 255)
            return std::nullopt;
        if (!dotted.empty()) dotted += '.';
        dotted += std::to_string(std::stoi(part.text));
    }
    return std::vector<ArgValue>{{dotted}};
}

std::optional<std::vector<ArgValue>> DateTime(std::string_view args) {
    if (args.size() != 13 || args[6] != ',' || !AllDigits(args.substr(0, 6)) ||
        !AllDigits(args.substr(7)))
        return std::nullopt;
    auto pairs = [](std::string_view six) {
        return std::string(six.substr(0, 2)) + "," + std::string(six.substr(2, 2)) + "," +
               std::string(six.substr(4, 2));
    };
    return std::vector<ArgValue>{{pairs(args.substr(0, 6))}, {pairs(args.substr(7))}};
}

std::optional<std::vector<ArgValue>> AfterLiteral(std::string_view args, std::string_view literal) {
    if (args.size() <= literal.size() || args.substr(0, literal.size()) != literal)
        return std::nullopt;
    return std::vector<ArgValue>{{std::string(args.substr(literal.size()))}};
}

}  // namespace

std::span<const GetCommand> GetCommands() { return AllTables().gets; }
std::span<const ParamCommand> SetCommands() { return AllTables().sets; }

const GetCommand* FindGetCommand(std::string_view text) {
    for (const GetCommand& get : GetCommands()) {
        if (get.text == text) return &get;
    }
    return nullptr;
}

const ParamCommand* FindSetCommandById(int id) {
    for (const ParamCommand& set : SetCommands()) {
        if (set.id == id) return &set;
    }
    return nullptr;
}

std::vector<const ParamCommand*> FindSetCommands(std::string_view key) {
    std::vector<const ParamCommand*> found;
    for (const ParamCommand& set : SetCommands()) {
        if (set.key == key) found.push_back(&set);
    }
    return found;
}

std::optional<std::vector<ArgValue>> DecodeArguments(ArgShape shape, std::string_view args) {
    switch (shape) {
        case ArgShape::Whole:
            return std::vector<ArgValue>{{std::string(args)}};
        case ArgShape::Binary:
            // The data itself is kept apart; the reply shows none of it.
            if (args.size() != 6 || !AllDigits(args)) return std::nullopt;
            return std::vector<ArgValue>{};
        case ArgShape::None:
            if (!args.empty()) return std::nullopt;
            return std::vector<ArgValue>{};
        case ArgShape::CommaPair:
            return SplitCommas(args, 2);
        case ArgShape::CommaTriple:
            return SplitCommas(args, 3);
        case ArgShape::RowAddress: {
            auto row = SplitCommas(args, 3);
            if (!row) return std::nullopt;
            auto address = Address(row->back().text);
            if (!address) return std::nullopt;
            row->back() = address->front();
            return row;
        }
        case ArgShape::Address:
            return Address(args);
        case ArgShape::DateTime:
            return DateTime(args);
        case ArgShape::FlagSecret:
            if (args.empty() || (args[0] != '0' && args[0] != '1')) return std::nullopt;
            return std::vector<ArgValue>{{std::string(args.substr(0, 1))},
                                         {std::string(args.substr(1)), false}};
        case ArgShape::TwoSecrets:
            if (args.size() < 4) return std::nullopt;
            return std::vector<ArgValue>{{std::string(args.substr(0, 4)), false},
                                         {std::string(args.substr(4)), false}};
        case ArgShape::LengthText:
            // A text that does not start with its length is kept whole.
            if (args.size() >= 2 && AllDigits(args.substr(0, 2)) &&
                static_cast<std::size_t>(std::stoi(std::string(args.substr(0, 2)))) ==
                    args.size() - 2)
                return std::vector<ArgValue>{{std::string(args.substr(2))}};
            return std::vector<ArgValue>{{std::string(args)}};
        case ArgShape::Zero:
            return AfterLiteral(args, "0");
        case ArgShape::ZeroZero:
            return AfterLiteral(args, "00");
    }
    return std::nullopt;
}

std::size_t ShownValueCount(ArgShape shape) {
    switch (shape) {
        case ArgShape::None:
        case ArgShape::TwoSecrets:
        case ArgShape::Binary:
            return 0;
        case ArgShape::CommaPair:
        case ArgShape::DateTime:
            return 2;
        case ArgShape::CommaTriple:
        case ArgShape::RowAddress:
            return 3;
        default:
            return 1;
    }
}

}  // namespace rvq::sim
