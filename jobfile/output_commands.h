// The Output menu's Delete, as the main window and its list's Delete key
// call it.
//
// Deleting is final and immediate: the output leaves the job, its line
// leaves the list and its section leaves the job file (the later sections
// move down by one) without a Save, because the job file is live storage
// that the editor and every run read bindings back from. So the one
// question asked comes before anything changes, and nothing at all happens
// while a run is on: the run is evaluating that very output.
#pragma once

namespace quillex {

struct Context;

// Deletes the output selected in the output list after asking "Delete output
// NAME?". With no line selected, or no output at that place, nothing happens
// and nothing is asked.
void DeleteSelectedOutput(Context& context);

}  // namespace quillex
