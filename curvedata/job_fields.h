// The job-wide settings as the main window shows them.
#pragma once

#include <cstdint>
#include <string>

namespace quillex {

struct Context;

// New and Open: the presentation, the main input source and the output
// destination become empty and their fields blank; the scale becomes 240 and
// its field shows "240". The job file path and the interval stay.
void ClearJobFields(Context& context);

// Reads the job-wide settings from the main window's fields: presentation,
// scale (with the rule for a run, or for Save), and the main input source and
// output destination from their source labels.
enum class ScaleRule { kRun, kSave };
void ReadJobFields(Context& context, ScaleRule rule);

// Shows the job in the main window: one line per output in the list, the
// source labels and the interval.
void ShowList(Context& context);

// Sets the run option and shows it: the check mark on Generate Curve(s) or
// Generate Report, and the presentation and scale controls enabled only for
// curve runs (a report run draws no plot).
void ApplyRunOption(Context& context, int32_t option);

// The text a unit code is written as in job files: its mnemonic in the unit
// list, else the library's text for it ("" for no unit).
std::string UnitText(Context& context, int32_t code);

// The scale typed in the main window, as a run takes it: a value above 0, or
// else 240.
double ScaleForRun(const std::string& text);

// The scale as Save takes it: 0 (or text that reads as 0) gives 240, any
// other value, a negative one too, is kept.
double ScaleForSave(const std::string& text);

}  // namespace quillex
