// A fresh context with a recording screen and one empty output, the starting
// point of most formula tests.
#pragma once

#include <memory>
#include <string>

#include "curvedata/context.h"
#include "curvedata/recording_screen.h"
#include "formula/compiler.h"
#include "job/job_list.h"

struct FormulaFixture {
  RecordingScreen screen;
  Context context{screen};
  OutputDef& output = AppendOutput(context.job, std::make_unique<OutputDef>());

  // Resets the output and compiles text into it; returns CompileFormula's flag.
  int Compile(const std::string& text) {
    ResetCompiledFormula(context, &output);
    output.formula = text;
    return CompileFormula(context, text, output.compiled, output);
  }

  VariableBinding& Node(size_t place) { return *output.variables.at(place); }
};
