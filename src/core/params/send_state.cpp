#include "core/params/send_state.h"

namespace rvq::params {

ItemSendState SendState(ParamItem& item, const SendContext& context) {
    if ((item.flag & item_flag::kNotOnPrinter) != 0) return ItemSendState::Skip;
    const bool serviceItem = (item.flag & (item_flag::kService | item_flag::kServiceToo)) != 0;
    if (context.serviceMode == ServiceMode::Off && serviceItem) return ItemSendState::DoNotSend;
    if (context.serviceMode == ServiceMode::Restricted &&
        (item.flag & item_flag::kNotRestrictedService) != 0) {
        return ItemSendState::DoNotSend;
    }
    if (context.multiLan && (item.flag & item_flag::kNotMultiLan) != 0) {
        item.textRead = item.textDefault;
        return ItemSendState::Skip;
    }
    return ItemSendState::Send;
}

}  // namespace rvq::params
