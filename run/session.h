// The program around its main window: what happens once the window is up,
// what Exit does, and what happens after the window has gone.
//
// The desktop program calls these in the order of its start-up and
// shut-down; the window itself only turns them into widgets. They live in
// the core because they are rules of the program (a job named on the
// command line runs at once; Exit during a run asks before it stops the
// run, and never closes the window while a run is on), and the same rules
// hold whatever draws the window.
#pragma once

namespace quillex {

struct Context;

// Once the main window is shown: loads the unit list; then, when the
// command line named a job, loads it, clears its input paths, shows it and
// runs it; otherwise offers the Open dialog. Shows the index unit beside the
// interval fields last.
void StartMainWindow(Context& context);

// Exit (the button, Esc, File Exit, closing the window). With no run on,
// returns true: the window may close and the program end. During a run asks
// "Abort current processing?"; Yes asks the run to stop. Either way the
// window stays: the run ends at its next step ("Cancelled.").
[[nodiscard]] bool ExitCommand(Context& context);

// After the window has gone: frees the unit list, releases every output and
// writes the settings ("Drive", "Script"). A run still on must have been
// ended by Finish before the window went.
void EndSession(Context& context);

}  // namespace quillex
