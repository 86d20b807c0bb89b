// A fresh context with a recording screen and one empty output, the starting
// point of most formula tests, and a sample source for runs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "curvedata/context.h"
#include "curvedata/sample_reader.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "model/job_list.h"
#include "tests/support/scripted_screen.h"

namespace quillex {

// Answers each read from a function of the variable's name and the index, and
// remembers every read in order.
class FakeReader : public SampleReader {
 public:
  using Source = std::function<int(const std::string& name, int32_t index, double* value)>;
  explicit FakeReader(Source source) : source_(std::move(source)) {}

  int ReadSample(const VariableBinding& node, int32_t index, double* value) override {
    reads.emplace_back(node.name, index);
    return source_(node.name, index, value);
  }

  std::vector<std::pair<std::string, int32_t>> reads;

 private:
  Source source_;
};

struct FormulaFixture {
  ScriptedScreen screen;
  Context context{screen};
  OutputDef& output = AppendOutput(context.job, std::make_unique<OutputDef>());
  std::unique_ptr<FakeReader> reader;

  // Resets the output and compiles text into it; returns CompileFormula's flag.
  int Compile(const std::string& text) {
    ResetCompiledFormula(context, &output);
    output.formula = text;
    return CompileFormula(context, text, output.compiled, output);
  }

  // Compiles a good formula and drops the boxes the compiler showed (the note
  // on unary minus), so that only later boxes remain.
  void CompileClean(const std::string& text) {
    ASSERT_EQ(Compile(text), 1) << text;
    screen.Clear();
  }

  VariableBinding& Node(size_t place) { return *output.variables.at(place); }

  VariableBinding& Variable(const std::string& name) {
    for (auto& node : output.variables) {
      if (node->name == name) return *node;
    }
    ADD_FAILURE() << "no variable " << name;
    return *output.variables.at(0);
  }

  double Evaluate(int32_t offset = 0) {
    return EvaluateFormula(context, output, *output.compiled, offset);
  }

  // Starts a run reading from the source.
  FakeReader& Run(FakeReader::Source source) {
    reader = std::make_unique<FakeReader>(std::move(source));
    context.sampleReader = reader.get();
    context.run.running = true;
    return *reader;
  }
};

}  // namespace quillex
