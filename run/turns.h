// Whose turn it is, and one turn: the engine's inside, shared by the single
// step and the block of steps. Outputs take turns one sample each, in list
// order; an output with no samples left is skipped.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillex {

struct Context;
struct OutputDef;

// The output the next sample comes from, in turns: from the current output
// on, the first with samples left; at the end of the list a new cycle from
// the head. Null (and the run finished) when none has samples left.
OutputDef* ChooseOutput(Context& context);

// Whether ChooseOutput would begin a new cycle at the head of the list.
bool AtCycleStart(const Context& context);

// Moves the output, the current output at place `place`, on by `samples`
// samples and hands the turn to the next place.
void AdvanceOutput(Context& context, size_t place, OutputDef& output, int32_t samples);

// One turn of the current output: a sample evaluated, then written to the
// curve or kept for the report. An input not yet recorded ends the turn
// without advancing.
void TakeTurn(Context& context, OutputDef& output);

}  // namespace quillex
