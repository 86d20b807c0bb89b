// The two smoothing filters, FILTSQUARE and FILTGAUS, over the filter library.
//
// Each call of a filter in a formula has an instance of its own, created when
// the formula is compiled, started afresh by PrepareFilters at the start of
// each run, fed once per sample, and released with the compiled form. The
// instance's interval is fixed when the formula is compiled: the call's second
// argument is evaluated once, with the nodes as they stand then.
#pragma once

#include <cstdint>

#include "libs/sift32/sift32.h"
#include "model/job.h"

namespace quillex {

struct Context;

// Creates the instance of a filter node from its second argument and makes
// the node a filter node. The filter is described to the library by the text
// "%s,%f" with the type ("Square" or "Gaussian") and the interval.
void CreateFilter(Context& context, OutputDef& output, VariableBinding& node);

// At the start of a run: for every output and node in list order, clears the
// read-ahead and prepares the node's instance for the output's step. Stops and
// returns 0 at the first instance the library refuses; else returns 1.
int PrepareFilters(Context& context);

// The same for the nodes of one output.
int PrepareOutputFilters(Context& context, OutputDef& output);

// The filter handler: while a run is on the instance replaces the value by the
// filtered one; in a formula test the value passes unchanged. The index is the
// output's: a sample evaluated again after a hold feeds the filter again for
// the same index, which replaces the value fed the first time.
double ApplyFilter(Context& context, double value, uint32_t filter, int32_t index);

// Releasing an output releases its filter instances first: those belong to
// the filter library, not to the output.

// Releases the filter instance of every node of an output. The library is
// told about every node, 0 standing for a node without a filter.
void ReleaseFilters(sift32::Sift32Library& filters, OutputDef& output);

// The same for every output of the job.
void ReleaseAllFilters(sift32::Sift32Library& filters, Job& job);

// Unlinks an output, releases its filters, nodes and texts. Returns false
// when the output is not in the list.
bool DeleteOutput(sift32::Sift32Library& filters, Job& job, const OutputDef* output);

// Releases every output; the list becomes empty.
void ReleaseAllOutputs(sift32::Sift32Library& filters, Job& job);

}  // namespace quillex
