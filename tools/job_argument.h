// A job file named on a tool's command line, checked before it is loaded.
//
// The program's own rule is that a job path without a drive lies in the job
// folder. On a command line a user means a path with a folder in it
// (`./vsh.qxj`, `sub/vsh.qxj`) from the working folder, as every other
// program reads it: such a path is made absolute first, and only a bare name
// goes to the job folder. Then the file must exist and be a job file, and
// what loading it changes without a word is said.
#pragma once

#include <string>

namespace quillex {

struct Context;
struct ToolStart;

// Loads the job named by `argument` into the context as Open does. False
// after a message (the tool then ends with kExitFailure) when there is no
// such file or it is not a job file. Warnings ("TOOL: warning: ...") for
// names cut short and an Option that is no run option.
[[nodiscard]] bool LoadJobArgument(const ToolStart& tool, Context& context,
                                   const std::string& argument);

// Lines "TOOL: output N (NAME): the formula does not compile: FORMULA" for
// every output whose formula did not compile; how many there were.
int TellFormulasThatDoNotCompile(const ToolStart& tool, const Context& context);

}  // namespace quillex
