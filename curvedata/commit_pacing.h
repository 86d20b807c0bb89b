// Commits of a curve run spread over its time.
//
// An output curve commits its buffered samples by itself when its window
// is full or half a second has passed. In a run the outputs advance
// together, so their windows fill together and every curve commits in the
// same moment: a long stall for whoever waits on the run's thread (a window
// waiting to draw, a user waiting for a key). A driver that hands back
// control now and then (the desktop program, once a slice) can instead
// commit one curve a time, taking the outputs in turn: each commit is small,
// the windows never fill, and the file holds the samples sooner.
#pragma once

#include <cstddef>

namespace quillex {

struct Context;

// Commits what is buffered of the next output curve after `turn` (a place
// in the output list, kept by the caller from one call to the next). A
// commit that fails leaves the samples buffered: the run's own writes meet
// the same failure at their next commit and end the run there.
void CommitNextOutput(Context& context, size_t& turn);

}  // namespace quillex
