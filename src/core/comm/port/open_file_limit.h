#pragma once

namespace rvq {

// Raises this process's soft limit on open files to its hard limit where
// the system lets it; returns the soft limit in force afterwards.
long RaiseOpenFileLimit();

// The descriptors a sweep leaves to the rest of the program (standard
// streams, the log, the settings files, the poll set).
inline constexpr long kDescriptorsKept = 64;

// How many probes may be open at once under `limit` open files, at most
// `wanted` and at least one.
int ProbesWithinLimit(long limit, int wanted);

}  // namespace rvq
