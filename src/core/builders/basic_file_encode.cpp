#include "core/builders/basic_file_encode.h"

#include "core/app/save_failure.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/basic_error_message.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {}  // namespace

EncodeFileResult EncodeBasicFile(const Strings& strings, const std::string& sourcePath,
                                 const std::string& outputPath, BasicOutputKind kind,
                                 bool japaneseText) {
    BasicEncoder encoder(strings, ControlCodes{}, japaneseText);
    bool encoded = false;
    switch (kind) {
        case BasicOutputKind::MainProgram:
            encoded = encoder.EncodeBasicProgram(sourcePath, 1);
            break;
        case BasicOutputKind::SystemProgram:
            encoded = encoder.EncodeBasicProgram(sourcePath, 0);
            break;
        case BasicOutputKind::DataFile:
            encoded = encoder.EncodeBasicDataFile(sourcePath);
            break;
    }
    if (!encoded) {
        const EncoderMessage message = EncoderErrorMessage(strings, encoder.ErrorText());
        return {false, message.messageId, message.text, {}};
    }
    const auto image = encoder.Image();
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    if (const WriteResult written = WriteFileAtomically(outputPath, bytes); !written) {
        SaveFailureMessage message = SaveFailureMessageFor(written, sid::kMsgSaveFailed, strings);
        return {false, message.id, std::move(message.text), outputPath};
    }
    return {true, 0, {}, {}};
}

}  // namespace rvq
