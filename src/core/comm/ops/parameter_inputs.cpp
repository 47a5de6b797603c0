#include "core/comm/ops/parameter_inputs.h"

namespace rvq {

std::shared_ptr<JobInputs> SetParameterJobInputs(const std::vector<int>& groups) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SetParameter;
    inputs->numbers.assign(groups.begin(), groups.end());
    return inputs;
}

}  // namespace rvq
