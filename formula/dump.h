// A readable dump of a compiled formula, for tests and quillex-formula.
//
//   compiled: #128+#129*(#130)
//   #128 kind=0 name=A value=0
//   #131 kind=6 name=- value=0 function=FILTGAUS args=2 filter="Gaussian,5.000000"
//
// Node codes are written #N, operators and parentheses as they stand; then one
// line per node in list order, values with "%.9g" (enough to tell any two
// floats apart).
#pragma once

#include <string>

namespace quillex {

struct Context;
struct OutputDef;

// The compiled text with each node code written as #N.
std::string DumpCompiledText(const std::string& compiled);

// The "compiled:" line and one line per node, each ending in a newline.
std::string DumpFormula(Context& context, const OutputDef& output);

}  // namespace quillex
