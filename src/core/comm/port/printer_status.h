#pragma once

#include "core/comm/port/transact_port.h"

namespace rvq {

// Polls for a status frame the printer sent by itself (while busy with a
// download) or in reply to a status request: one short read, then
// ParseStatusFrame. -1 when nothing (or too little) arrived.
int ReadPrinterStatus(TransactPort& port);

}  // namespace rvq
