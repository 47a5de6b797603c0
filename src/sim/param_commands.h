#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rvq::sim {

// The printer's own table of its parameter command family: every get
// command, and for every set command its key (the text before ';'), the get
// command of its block, and how its arguments lie on
// the wire. This is the printer's knowledge, written down here
// independently of the tool's numbered command tables so the two can be
// cross-checked: id n here must be the command whose format is string
// 40000 + n there, with the key, block and argument shape given below.

// How the text after ';' splits into the values the printer keeps.
enum class ArgShape {
    Whole,        // one value: all of it (commas included)
    None,         // no ';' and no argument
    CommaPair,    // "a,b"
    CommaTriple,  // "a,b,c"
    RowAddress,   // "nn,t,a,b,c,d": a row, its setting and its address (kept dotted)
    Address,      // "nnn,nnn,nnn,nnn": one value, kept as the dotted address
    DateTime,     // "yymmdd,HHMMSS": two values, kept as "yy,mm,dd" and "HH,MM,SS"
    FlagSecret,   // "0" or "1", then a password the reply never shows
    TwoSecrets,   // two 4-character passwords, neither shown
    LengthText,   // two digits giving the length of the text after them
    Zero,         // a literal "0", then the value
    ZeroZero,     // a literal "00", then the value
    Binary,       // a six-digit size, then that many data bytes
};

struct ParamCommand {
    int id = 0;
    std::string key;  // "ZA00", "ZW15", "ZS03"
    int getId = 0;    // the block's get command
    ArgShape shape = ArgShape::Whole;
};

struct GetCommand {
    int id = 0;
    std::string text;  // "ZA", "ZWR00", "ZLR10"
};

std::span<const GetCommand> GetCommands();
std::span<const ParamCommand> SetCommands();

const GetCommand* FindGetCommand(std::string_view text);
const ParamCommand* FindSetCommandById(int id);
// Every set command with this key (a key may have a second form).
std::vector<const ParamCommand*> FindSetCommands(std::string_view key);

// One value of a set command as the printer keeps it.
struct ArgValue {
    std::string text;
    bool shown = true;  // false for passwords, which no reply shows
};

// The values of a set command's argument text; nothing when the text does
// not have the command's shape (the printer refuses such a command).
std::optional<std::vector<ArgValue>> DecodeArguments(ArgShape shape, std::string_view args);

// How many shown values a command of this shape carries.
std::size_t ShownValueCount(ArgShape shape);

}  // namespace rvq::sim
