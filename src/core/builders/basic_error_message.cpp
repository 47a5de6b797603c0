#include "core/builders/basic_error_message.h"

#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/basic_checks.h"

namespace rvq {

namespace {}  // namespace

EncoderMessage EncoderErrorMessage(const Strings& strings, const std::string& errorText) {
    if (errorText == strings.Get(basic::kEncodingFailure)) {
        return {sid::kMsgBasicReadFailed, strings.Get(sid::kMsgBasicReadFailed)};
    }
    const bool atLine =
        errorText.find(':') != std::string::npos && errorText.find("Encoded") == std::string::npos;
    const int id = atLine ? sid::kMsgBasicProgramError : sid::kMsgBasicNonConforming;
    return {id, FormatRuntime(strings.Get(id), errorText.c_str())};
}

void ShowEncoderError(const Strings& strings, Interaction& interaction,
                      const std::string& errorText) {
    const EncoderMessage message = EncoderErrorMessage(strings, errorText);
    interaction.Error(message.messageId, message.text);
}

}  // namespace rvq
