#pragma once

#include "core/app/app_context.h"
#include "core/app/printer_model.h"

namespace rvq::params {

// What decides whether an item may be sent besides its own flags.
struct SendContext {
    ServiceMode serviceMode = ServiceMode::Off;
    bool multiLan = false;  // the interface is "Multi LAN"
};

enum class ItemSendState {
    Send,
    DoNotSend,  // held back (service items); a set's verification adopts the printer's value
    Skip,       // not on this printer, or a per-printer item in a Multi-LAN run
};

// The first rule that applies: unavailable -> skip; a service item without
// the service mode (or a restricted item in the restricted mode) -> do not
// send; a per-printer item in a Multi-LAN run -> skip, and its read text
// goes back to its default.
ItemSendState SendState(ParamItem& item, const SendContext& context);

}  // namespace rvq::params
