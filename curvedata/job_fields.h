// The job-wide settings as the main window shows them.
#pragma once

#include <string>

struct Context;

// New and Open: the presentation, the main input source and the output
// destination become empty and their fields blank; the scale becomes 240 and
// its field shows "240". The job file path and the interval stay.
void ClearJobFields(Context& context);

// The scale typed in the main window, as a run takes it: a value above 0, or
// else 240.
double ScaleForRun(const std::string& text);

// The scale as Save takes it: 0 (or text that reads as 0) gives 240, any
// other value, a negative one too, is kept.
double ScaleForSave(const std::string& text);
