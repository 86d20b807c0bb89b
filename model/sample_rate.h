// Sample rate and step: the editor shows a rate, the job keeps a step.
//
// rate = IndexFactor / step, a step of 0 being read as kDefaultStep; a rate
// typed by the user becomes step = IndexFactor / rate, truncated toward zero,
// when it is above 0, else kDefaultStep. With feet (6000 index units to the
// foot) the default step is a quarter foot, 4 samples a foot.
#pragma once

#include <cstdint>
#include <string>

#include "model/job.h"

namespace quillex {

double StepToRate(int32_t indexFactor, int32_t step);
int32_t RateToStep(int32_t indexFactor, double rate);

// The output's line in the main window's list: name padded to 11 columns,
// the rate padded to 5 by "%-5g", a blank and the formula.
std::string OutputListLine(int32_t indexFactor, const OutputDef& output);

}  // namespace quillex
