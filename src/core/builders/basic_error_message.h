#pragma once

#include <string>

namespace rvq {

class Interaction;
class Strings;

struct EncoderMessage {
    int messageId = 0;
    std::string text;  // the finished message
};

// The message for an encoder error text: 1006 for a file that could not be
// read, 1409 for an error at a line, 1410 for a broken limit.
EncoderMessage EncoderErrorMessage(const Strings& strings, const std::string& errorText);

// Shows that message as an error.
void ShowEncoderError(const Strings& strings, Interaction& interaction,
                      const std::string& errorText);

}  // namespace rvq
