// A run whose samples the log database cannot store: the file system is made
// to fail (through the library's fault seam, at a chosen I/O call, never by
// timing) and the run must stop, end "Aborted." with one box naming the
// output and the reason, and leave a sound database holding exactly what was
// committed before.
#include "libs/dorvex/dorvex.h"
#include "model/controls.h"
#include "run/block_steps.h"
#include "tests/run/engine_fixture.h"

namespace quillex {

namespace {

struct Lost {
  const char* why;
  int32_t samples;      // of the input X = 1, 2, 3, ...
  int64_t afterStart;   // the I/O call, counted from the run's start, that fails first
  bool sticky;          // the disk stays full
  int code;             // 13 a full disk, 10 an I/O error
  bool blocks;          // driven as quillex-run drives it, else a step at a time
  const char* reason;
  const char* output = "A";  // the first whose samples were lost
  size_t keptOfA = 0;  // samples of A committed before the failure, at least
};

class LostSamples : public EngineTest, public ::testing::WithParamInterface<Lost> {};

TEST_P(LostSamples, AbortTheRunAndKeepWhatWasCommitted) {
  const Lost& lost = GetParam();
  std::vector<float> x(static_cast<size_t>(lost.samples));
  for (size_t n = 0; n < x.size(); ++n) x[n] = static_cast<float>(n + 1);
  PutCurve("/A/B/C/SET1/X/1", "V/V", 1000, 0.5, x);
  Load("JOB.QXJ", JobFile({{"A,V/V,0, ,0", "X*2", ""}, {"B,V/V,0, ,0", "X+1", ""}}));
  ChooseInput();
  Interval("*", "*");
  // Count the calls of the preparation and the start, then fail from there.
  dorvex::DorvexInjectFaults(context_.dorvex, dorvex::DorvexFaults{});
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running);
  int64_t started = dorvex::DorvexFaultCalls(context_.dorvex);
  screen_.Clear();  // the note that no plot will run
  dorvex::DorvexInjectFaults(context_.dorvex,
                             dorvex::DorvexFaults{lost.afterStart, lost.code, lost.sticky});
  BlockStepper stepper;
  for (int slices = 0; context_.run.running && slices < 1000000; ++slices) {
    if (lost.blocks) {
      stepper.StepMany(context_, 1 << 15);
    } else {
      Step(context_);
    }
  }
  EXPECT_GE(started, 1) << "the start wrote to the database";
  EXPECT_EQ(context_.run.statusText, "Aborted.");
  EXPECT_EQ(Progress(), "Aborted.");
  EXPECT_EQ(screen_.BoxTexts(), std::vector<std::string>{std::string("Unable to write output ") +
                                                         lost.output + ": " + lost.reason});
  EXPECT_TRUE(screen_.boxes().at(0).IsError());
  EXPECT_TRUE(NothingOpen());
  dorvex::DorvexInjectFaults(context_.dorvex, dorvex::DorvexFaults{});

  std::vector<std::string> problems;
  EXPECT_EQ(dorvex::DorvexCheckDatabase(data_, well_, &problems), 0) << problems.at(0);
  std::string set = context_.job.destination.path;
  for (auto [name, twice] : {std::pair{"A", true}, std::pair{"B", false}}) {
    std::optional<Stored> stored = ReadCurve(set.substr(0, set.rfind('/')) + "/_qxj1_/" +
                                             name + "/1");
    ASSERT_TRUE(stored.has_value()) << name;
    if (twice) EXPECT_GE(stored->values.size(), lost.keptOfA) << "A's first commit stays";
    for (size_t n = 0; n < stored->values.size(); ++n) {
      ASSERT_EQ(stored->values[n], twice ? x[n] * 2 : x[n] + 1) << name << " sample " << n;
    }
  }
}

// 300,000 samples fill the window of samples a curve being written keeps
// (262,144), so A commits in the middle of the run, before B does; that
// commit takes some 60 I/O calls, and B's first then fails.
INSTANTIATE_TEST_SUITE_P(
    Engine, LostSamples,
    ::testing::Values(
        Lost{"the last commit, a step at a time", 200, 0, true, 13, false, "disk full"},
        Lost{"the last commit, in blocks", 200, 0, true, 13, true, "disk full"},
        Lost{"an I/O error, once", 200, 0, false, 10, true, "input/output error"},
        Lost{"in the middle of a long run", 300000, 0, true, 13, true, "disk full"},
        Lost{"the middle of a long run, a step at a time", 300000, 0, true, 13, false,
             "disk full"},
        Lost{"after the first commit", 300000, 80, true, 13, true, "disk full", "B", 262144}),
    [](const auto& info) {
      std::string name = info.param.why;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

}  // namespace

}  // namespace quillex
