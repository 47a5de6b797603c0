#include "core/comm/ops/parameter_inputs.h"

namespace rvq {

std::shared_ptr<JobInputs> SetParameterJobInputs(const std::vector<int>& groups) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SetParameter;
    inputs->args = SetParameterArgs{groups};
    return inputs;
}

std::shared_ptr<JobInputs> GetParameterJobInputs(const std::vector<int>& commandIds) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::GetParameter;
    inputs->args = GetParameterArgs{commandIds};
    return inputs;
}

}  // namespace rvq
