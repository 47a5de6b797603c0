#include "core/builders/basic_error_message.h"

#include "core/app/interaction.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/basic_checks.h"

namespace rvq {

namespace {
constexpr int kReadFailedMessage = 1006;
constexpr int kProgramErrorMessage = 1409;
constexpr int kNonConformingMessage = 1410;
}  // namespace

EncoderMessage EncoderErrorMessage(const Strings& strings, const std::string& errorText) {
    if (errorText == strings.Get(basic::kEncodingFailure)) {
        return {kReadFailedMessage, strings.Get(kReadFailedMessage)};
    }
    const bool atLine =
        errorText.find(':') != std::string::npos && errorText.find("Encoded") == std::string::npos;
    const int id = atLine ? kProgramErrorMessage : kNonConformingMessage;
    return {id, FormatRuntime(strings.Get(id), errorText.c_str())};
}

void ShowEncoderError(const Strings& strings, Interaction& interaction,
                      const std::string& errorText) {
    const EncoderMessage message = EncoderErrorMessage(strings, errorText);
    interaction.Error(message.messageId, message.text);
}

}  // namespace rvq
