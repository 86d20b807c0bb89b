// The processing run: every output evaluated over its processing range,
// each sample written to a new curve (Generate Curve(s)) or reduced to one
// value for the results report (Generate Report).
//
// The run is cooperative and exposed step by step: Run prepares and starts
// it, then each Step evaluates one sample of one output, so that a window
// can drive it in time slices from its event loop, a headless runner from a
// loop, and a test one step at a time. Outputs take turns, one sample each,
// in list order (two outputs of 3 and 1 samples go A, B, A, A). A sample
// whose input is not yet recorded holds the run at that output and index
// until the data arrives or the user cancels.
#pragma once

#include <cstdint>

namespace quillex {

struct Context;

// The Run command: reads the job fields, prepares (bindings from the job
// file, sources, input connections, output database), completes each
// output's step, sets up the interval and starts. Ignored while a run is on.
// Every failure has been told to the user when it returns; a failed
// preparation shows "Aborted.", a refused interval leaves the status text.
void Run(Context& context);

// One step of a run that is on: one sample of one output, or Finish once
// the run is finished or asked to stop. Returns whether a run is still on.
bool Step(Context& context);

// A long run is better driven many steps at a time: see job/block_steps.h.

// Asks the run to stop; the next step finishes it ("Cancelled.").
void RequestStop(Context& context);

// Ends a run (and does the end-of-run work when one was on): closes every
// curve, sets the status text, makes the next destination, and after a
// report run writes and shows the report.
void Finish(Context& context);

// The progress text: the percentage done while a run is on, else the status.
void ShowProgress(Context& context);

}  // namespace quillex
