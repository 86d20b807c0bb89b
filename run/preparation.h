// Getting a run ready: everything the Run command checks and connects
// before the first sample.
//
// Each part returns false when the run cannot go on, after telling the user
// why. A failed preparation has closed every curve and database and shows
// "Aborted."; a refused interval shows an information box and leaves the
// status text as it was.
#pragma once

namespace quillex {

struct Context;

// Reads the bindings back from the job file, makes sure of a job file,
// outputs that compile, a main input source and (curve runs) an output
// destination, connects every input and writes each output back to the job
// file, and opens the output database.
bool Prepare(Context& context);

// Gives every output without a step of its own the largest step of its
// inputs; refuses the run when an output is left without one.
bool CompleteSteps(Context& context);

// Makes sure the filter library can run every filter at its output's step,
// refusing the run, with the output named, when it cannot. (The start of a
// run prepares the filters again and goes on whatever the answer, so a
// filter that cannot run must be found here.)
bool CheckFilters(Context& context);

// Narrows the interval by each output's inputs and counts the samples;
// refuses an interval not given, one too small, or one outside the data.
bool SetUpInterval(Context& context);

}  // namespace quillex
