// Output curves: when a curve run starts every output gets a new curve in
// the output destination, opened for writing; each computed sample is
// converted to the stored units and written at its index; at the end every
// curve and database is closed.
//
// The destination data set also carries the run settings item
// "_defaults_/1": one 32-byte RunDefaults element that tells the plotting
// program the presentation file and the display settings of the run.
#pragma once

#include <cstdint>
#include <string>

#include "libs/dorvex/run_defaults.h"

namespace quillex {

struct Context;
struct DataSource;
struct OutputDef;

// The element of the run settings item; its layout is shared with the
// plotting program.
using dorvex::RunDefaults;

// Creates the output's curve "%s/%s/1" in the destination data set and opens
// it for writing; the output keeps the handle and the conversion from its
// units to the stored ones. False after a message.
bool CreateOutputCurve(Context& context, OutputDef& output, const std::string& databaseFile,
                       const DataSource& destination);

// Creates every output's curve in job order. At the first failure closes
// everything and marks the run failed. A job without outputs succeeds.
bool CreateAllOutputs(Context& context);

// Closes every input and output curve and every database of the slots (their
// names stay), and forgets the run's output database. An output whose last
// samples could not be stored is told as TellOutputNotStored tells it.
void CloseAllCurves(Context& context);

// An output's samples could not be stored (a full disk, an I/O error): the
// run is marked failed and asked to stop, and the first such loss of a run is
// told in an error box "Unable to write output NAME: REASON". What was
// committed before stays in the database.
void TellOutputNotStored(Context& context, const OutputDef& output);

// Whether the destination already has a settings item naming a presentation;
// that name then becomes the job's presentation.
bool ReadRunDefaults(Context& context);

// Writes the run settings item, unless the destination has one already or
// the job has no presentation.
void WriteRunDefaults(Context& context);

// Writes one computed value at the output's index, converted to the stored
// units. A write the library refuses (off the curve's grid, say) is not
// looked at, as the system never looked at it; but the library buffers the
// samples and commits them now and then, and a commit that fails loses data:
// then false, after TellOutputNotStored.
[[nodiscard]] bool WriteOutputSample(Context& context, const OutputDef& output, double value);

// Commits what an output's curve has buffered (a run held by an input not
// yet recorded shows its readers what it has). A failure stops the run as
// TellOutputNotStored says.
void FlushOutputCurve(Context& context, const OutputDef& output);

// Writes `count` computed values at the output's index and the count-1
// indexes a step apart after it, each as WriteOutputSample writes one (the
// value first held as a float, as the run holds it). A curve stepping down
// in index is written one sample after the other.
[[nodiscard]] bool WriteOutputSamples(Context& context, const OutputDef& output,
                                      const double* values, int32_t count);

}  // namespace quillex
