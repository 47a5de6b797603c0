#include "core/params/command_args.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/app/text.h"
#include "core/params/item_values.h"
#include "core/params/utf8_chars.h"
#include "core/params/value_codecs.h"
#include "core/platform/file_io.h"

namespace rvq::params {

namespace {

// What a printer takes as "the password is unchanged / not set".
constexpr std::string_view kDefaultPassword = "5813";

// Collects the arguments of one command; nothing carries over to the next.
class Collector {
public:
    Collector(const SetCommand& command, PrinterModel& model, const SendContext& context)
        : command_(command), model_(model), context_(context) {}

    CommandArgs Run() {
        const std::size_t count = std::min(command_.paramNames.size(), command_.paramTypes.size());
        for (std::size_t i = 0; i < count && !done_; ++i)
            Param(command_.paramTypes[i], command_.paramNames[i]);
        return std::move(args_);
    }

private:
    void Stop(ArgsOutcome outcome) {
        args_.outcome = outcome;
        done_ = true;
    }

    void Param(int type, const std::string& text) {
        if (type == param_type::kLiteral) {
            args_.numbers.push_back(static_cast<std::uint32_t>(ParseLeadingInt(text)));
            return;
        }
        ParamItem* item = FindItem(model_, text);
        if (item == nullptr || SendState(*item, context_) != ItemSendState::Send)
            return Stop(ArgsOutcome::Skip);
        if (item->name == "ControlCode" && NumericValue(*item) == 0) args_.controlCodeAuto = true;
        if (!IsKnownParamType(type)) {
            args_.outcome = ArgsOutcome::Skip;
            return;
        }
        if (!ParamWithoutText(type, *item)) TextParam(type, *item);
    }

    // Types that add numbers, a binary block or nothing; false for the
    // types that add texts.
    bool ParamWithoutText(int type, ParamItem& item) {
        namespace t = param_type;
        const int value = NumericValue(item);
        switch (type) {
            case t::kNumber:
                Append(value);
                break;
            case t::kSwitch:
                Append(value != 0 ? 1 : 0);
                break;
            case t::kLessOne:
                Append(value == 0 ? 0 : value - 1);
                break;
            case t::kDate:
            case t::kTime:
                for (int part : ParseIntList(item.textValue, ',', 3)) Append(part);
                break;
            case t::kAddress:
                for (int part : ParseIntList(item.textValue, '.', 4)) Append(part);
                break;
            case t::kHexEntry:
            case 22:
                // Compared through the English label so that the Japanese
                // interface decides alike.
                hexEntry_ = SelectedEnglishLabel(item) == "HEX";
                break;
            case t::kAuthentication:
                Authentication(value);
                break;
            case t::kNonNegative:
                if (value < 0)
                    Stop(ArgsOutcome::Skip);
                else
                    Append(value);
                break;
            case t::kNotSent:
            case 18:
                args_.outcome = ArgsOutcome::Skip;
                break;
            case t::kPasswordText:
                StashPassword(item);
                break;
            case t::kFile:
                LoadFile(item.textValue);
                break;
            case t::kPacFile:
                PacFile(item);
                break;
            default:
                return false;
        }
        return true;
    }

    void TextParam(int type, ParamItem& item) {
        namespace t = param_type;
        std::string text = CommandText(item);
        switch (type) {
            case t::kPasswordCommand:
                PasswordCommand(NumericValue(item));
                break;
            case t::kHexText:
            case 23:
                AppendText(HexText(item, std::move(text)));
                break;
            case t::kLengthText:
                AppendText(Format("%02d", static_cast<int>(CharacterCount(text))));
                AppendText(std::move(text));
                break;
            case t::kManualCode:
                ManualCode(std::move(text));
                break;
            case t::kPaddedText:
                AppendText(text.empty() ? "000000000000" : std::move(text));
                break;
            case t::kTextAndPassword:
                AppendText(std::move(text));
                AppendText(lastSwitch_ == 1 ? newPassword_ : otherPassword_);
                break;
            default:
                AppendText(std::move(text));
                break;  // kText, 21, 25
        }
        if (!done_) args_.outcome = ArgsOutcome::Texts;
    }

    void Append(int value) { args_.numbers.push_back(static_cast<std::uint32_t>(value)); }
    void AppendText(std::string text) { args_.texts.push_back(std::move(text)); }

    std::string HexText(ParamItem& item, std::string text) {
        if (hexEntry_) {
            item.flag &= ~item_flag::kTextAsHex;
            return text;
        }
        item.flag |= item_flag::kTextAsHex;
        return TextToHex(text);
    }

    void Authentication(int value) {
        if (slotsFilled_ >= slots_.size()) return;
        slots_[slotsFilled_++] = value;
        if (slotsFilled_ == slots_.size())
            Append(slots_[0] == 0 ? slots_[1] : CombineAuthentication(slots_));
    }

    void StashPassword(const ParamItem& item) {
        const bool isNew = item.name == "NewPassword" || item.name == "RFID_NewPassword";
        (isNew ? newPassword_ : otherPassword_) = ScramblePassword(item.textValue);
    }

    void PasswordCommand(int enable);
    void ManualCode(std::string text);
    void PacFile(const ParamItem& item);
    void LoadFile(const std::string& path);

    const SetCommand& command_;
    PrinterModel& model_;
    const SendContext& context_;
    CommandArgs args_;
    bool done_ = false;
    bool hexEntry_ = false;
    std::array<int, 4> slots_{};
    std::size_t slotsFilled_ = 0;
    int lastSwitch_ = 0;
    std::string newPassword_;
    std::string otherPassword_;
};

void Collector::PasswordCommand(int enable) {
    lastSwitch_ = enable;
    const std::string newOrDefault = enable == 1 ? newPassword_ : std::string(kDefaultPassword);
    const auto storeBoth = [&](const char* newName, const char* oldName) {
        AppendText(enable == 1 ? "1" : "0");
        AppendText(newOrDefault);
        // The printer now holds this password; the next change starts from it.
        const std::string stored =
            enable == 1 ? UnscramblePassword(newPassword_) : std::string(kDefaultPassword);
        for (const char* name : {newName, oldName}) {
            if (ParamItem* item = FindItem(model_, name)) item->textValue = stored;
        }
    };
    switch (command_.commandId) {
        case 1404:
            AppendText(newOrDefault);
            AppendText(otherPassword_);
            break;
        case 508:
            AppendText(otherPassword_);
            AppendText(newOrDefault);
            break;
        case 1405:
            storeBoth("NewPassword", "OldPassword");
            break;
        case 506:
            storeBoth("RFID_NewPassword", "RFID_CurrentPassword");
            break;
        default:
            break;
    }
}

void Collector::ManualCode(std::string text) {
    const ParamItem* controlCode = FindItem(model_, "ControlCode");
    if (controlCode == nullptr || NumericValue(*controlCode) != 3) return Stop(ArgsOutcome::Skip);
    AppendText(std::move(text));
}

void Collector::PacFile(const ParamItem& item) {
    const ParamItem* deleteItem = FindItem(model_, "PACFileDelete");
    if (deleteItem == nullptr || NumericValue(*deleteItem) != -2) return Stop(ArgsOutcome::Skip);
    LoadFile(item.textValue);
}

void Collector::LoadFile(const std::string& path) {
    if (path.empty()) {
        args_.outcome = ArgsOutcome::Skip;
        return;
    }
    std::optional<std::string> bytes = ReadFileBytes(path);
    // A later param must not turn a missing file into a command sent
    // without its data.
    if (!bytes) return Stop(ArgsOutcome::FileFailed);
    args_.numbers.push_back(static_cast<std::uint32_t>(bytes->size()));
    args_.blocks.push_back(std::move(*bytes));
    args_.outcome = ArgsOutcome::Binary;
}

}  // namespace

CommandArgs CollectCommandArgs(const SetCommand& command, PrinterModel& model,
                               const SendContext& context) {
    return Collector(command, model, context).Run();
}

}  // namespace rvq::params
