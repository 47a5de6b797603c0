#pragma once

// A simulated printer of the shipped definition file, driven through its
// own decoder as a link would drive it.

#include <string>
#include <vector>

#include "core/comm/port/reply_frames.h"
#include "sim/sim_printer.h"

namespace rvq::sim::test {

inline PrinterConfig ShippedModel(std::string model = "R-VQ4T1-T") {
    PrinterConfig config;
    config.model = std::move(model);
    config.definitionsPath = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
    return config;
}

// Everything the printer answered to `bytes`, in order.
struct Exchange {
    std::vector<Response> responses;
    std::string Replies() const {
        std::string all;
        for (const Response& r : responses) all += r.reply;
        return all;
    }
};

inline Exchange Send(SimPrinter& printer, CommandDecoder& decoder, const std::string& bytes) {
    Exchange exchange;
    for (const ReceivedCommand& command : decoder.Feed(bytes)) {
        Response response = printer.Handle(command);
        if (!response.reply.empty() || response.restart || response.busyMs > 0)
            exchange.responses.push_back(std::move(response));
    }
    return exchange;
}

// The fields of a data frame (field 0 the header); empty when it is none.
inline std::vector<std::string> Fields(const std::string& frame) {
    std::vector<std::string> fields;
    if (!ParseReplyFields(frame, CodePage::Western1252, fields)) fields.clear();
    return fields;
}

}  // namespace rvq::sim::test
