// List operations on the job's outputs.
//
// Outputs are addressed two ways: by their 0-based place (the selection in
// the main window's list) and by their 1-based number (the job file's section
// number). Releasing an output releases its filter instances first: those
// belong to the filter library, not to the output.
#pragma once

#include <cstddef>
#include <memory>

#include "job/job.h"

class Sift32Library;

// Appends an output at the end of the list and returns it.
OutputDef& AppendOutput(Job& job, std::unique_ptr<OutputDef> output);

// The output at a 0-based place, or null when there is none.
OutputDef* OutputAt(Job& job, size_t place);

// The output with a 1-based number, or null when there is none.
OutputDef* OutputNumbered(Job& job, int number);

// The 1-based number of an output; an output that is not in the list counts
// as the list's length plus one (where a new output will go).
int OutputNumber(const Job& job, const OutputDef* output);

// Releases the filter instance of every node of an output. The library is
// told about every node, 0 standing for a node without a filter.
void ReleaseFilters(Sift32Library& filters, OutputDef& output);

// The same for every output of the job.
void ReleaseAllFilters(Sift32Library& filters, Job& job);

// Unlinks an output, releases its filters, nodes and texts. Returns false
// when the output is not in the list.
bool DeleteOutput(Sift32Library& filters, Job& job, const OutputDef* output);

// Releases every output; the list becomes empty.
void ReleaseAllOutputs(Sift32Library& filters, Job& job);
