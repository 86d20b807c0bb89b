#include "curvedata/commit_pacing.h"

#include "curvedata/context.h"

namespace quillex {

void CommitNextOutput(Context& context, size_t& turn) {
  auto& outputs = context.job.outputs;
  for (size_t tried = 0; tried < outputs.size(); ++tried) {
    turn = (turn + 1) % outputs.size();
    uint32_t curve = outputs[turn]->curve;
    if (curve == 0) continue;
    // A failure is left to the run's own writes (see the header).
    static_cast<void>(dorvex::DorvexFlush(context.dorvex, curve));
    return;
  }
}

}  // namespace quillex
