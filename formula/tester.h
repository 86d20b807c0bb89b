// The formula test of the formula editor: evaluates an output with test
// values and shows the result.
//
// Each input variable takes the number typed into its source field in the
// variable grid when that text begins with a digit or "."; otherwise it takes
// a counter that starts at 1 and goes up each time it is used. Calls are
// evaluated with those values (filters pass their value through, since no run
// is on). The display text is the compiled text with every node replaced by
// its value ("%f"), then " = " and the result: 1.000000+2.000000 = 3.000000.
// The interval functions (AVERAGE, MINIMUM, MAXIMUM) of a report job go on
// from the state the output holds, as one more sample of it: a test neither
// starts that state afresh nor keeps it from changing.
#pragma once

#include <string>

namespace quillex {

struct Context;
struct OutputDef;

// The longest test text read from a source field.
constexpr size_t kTestFieldLimit = 4096;

// Runs the test, shows the text in the editor's result box (control 149) and
// returns it.
std::string TestFormula(Context& context, OutputDef& output);

}  // namespace quillex
