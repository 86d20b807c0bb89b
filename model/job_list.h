// List operations on the job's outputs.
//
// Outputs are addressed two ways: by their 0-based place (the selection in
// the main window's list) and by their 1-based number (the job file's section
// number). Outputs are released with their filter instances (formula/filters.h).
#pragma once

#include <cstddef>
#include <memory>

#include "model/job.h"

namespace quillex {

// Appends an output at the end of the list and returns it.
OutputDef& AppendOutput(Job& job, std::unique_ptr<OutputDef> output);

// The output at a 0-based place, or null when there is none.
OutputDef* OutputAt(Job& job, size_t place);

// The output with a 1-based number, or null when there is none.
OutputDef* OutputNumbered(Job& job, int number);

// The 1-based number of an output; an output that is not in the list counts
// as the list's length plus one (where a new output will go).
int OutputNumber(const Job& job, const OutputDef* output);

}  // namespace quillex
