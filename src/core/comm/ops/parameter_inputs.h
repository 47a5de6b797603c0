#pragma once

#include <memory>
#include <vector>

#include "core/comm/job/job_inputs.h"

namespace rvq {

// A Set Parameter run: the groups to write, by check box id, in the order
// they are sent. The desktop page and rvqtool fill it alike.
std::shared_ptr<JobInputs> SetParameterJobInputs(const std::vector<int>& groups);

// A Get Parameter run: the get commands to send, by id, in that order.
std::shared_ptr<JobInputs> GetParameterJobInputs(const std::vector<int>& commandIds);

}  // namespace rvq
