// Runs driven many steps at a time against the same runs driven one step at
// a time: the curves must agree bit for bit, and so must the math errors,
// the dialogs, the place a run stops at when the user says No or cancels,
// and a hold on a recording. Formulas come from a table of awkward cases and
// from a seeded generator.
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <thread>

#include "run/block_steps.h"
#include "tests/run/engine_fixture.h"

namespace quillex {

namespace {

// What a run left behind, for comparing two ways of driving it.
struct Outcome {
  std::vector<std::vector<uint32_t>> curves;  // each output's samples, as bits
  std::string status;
  int32_t samplesDone = 0;
  int32_t mathErrors = 0;
  int dialogs = 0;

  bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& outcome) {
  std::string text = outcome.status + " after " + std::to_string(outcome.samplesDone) +
                     " samples, " + std::to_string(outcome.mathErrors) + " math errors, " +
                     std::to_string(outcome.dialogs) + " dialogs; lengths";
  for (const auto& curve : outcome.curves) text += " " + std::to_string(curve.size());
  return text;
}

std::vector<float> Wave(size_t count, float scale, int zeroEvery, int missingEvery) {
  std::vector<float> values;
  for (size_t n = 0; n < count; ++n) {
    float value = scale * static_cast<float>(std::sin(0.37 * double(n)) * 3.0 + 0.5);
    if (zeroEvery > 0 && n % static_cast<size_t>(zeroEvery) == 7) value = 0.0F;
    if (missingEvery > 0 && n % static_cast<size_t>(missingEvery) == 3) value = std::nanf("");
    values.push_back(value);
  }
  return values;
}

// Inputs of set SET1, from 1000 ft: GR every half foot, Z with zeros and N
// with missing values on the same grid, H half a step off it (read between
// samples), L every 0.3 ft in metres (converted to feet by the job, and on
// another grid), S a single value.
class BlockStepsTest : public EngineTest {
 public:
  void SetUp() override {
    EngineTest::SetUp();
    PutCurve("/A/B/C/SET1/GR/1", "GAPI", 1000, 0.5, Wave(1201, 20, 0, 0));
    PutCurve("/A/B/C/SET1/Z/1", "GAPI", 1000, 0.5, Wave(1201, 1, 150, 0));
    PutCurve("/A/B/C/SET1/N/1", "GAPI", 1000, 0.5, Wave(1201, 2, 0, 170));
    PutCurve("/A/B/C/SET1/H/1", "GAPI", 1000.25, 0.5, Wave(1201, 5, 0, 0));
    PutCurve("/A/B/C/SET1/L/1", "M", 1000, 0.3, Wave(2001, 0.5, 0, 0));
    PutCurve("/A/B/C/SET1/S/1", "GAPI", 1000, 0, {4.25F});
  }

  // Runs a job over 1000 to 1500 ft, by single steps (budget 0) or by
  // StepMany with the budget, after `during` has had its say every call.
  Outcome RunJob(const std::string& job, int32_t budget,
                 const std::function<void()>& during = nullptr) {
    Load("JOB.QXJ", job);
    ChooseInput();
    Interval("1000", "1500");
    int dialogsBefore = screen_.mathErrorDialogs();
    quillex::Run(context_);
    EXPECT_TRUE(context_.run.running) << screen_.BoxTexts().back();
    std::string destination = context_.job.destination.path;
    BlockStepper stepper;
    for (int calls = 0; calls < 1000000; ++calls) {
      if (during) during();
      if (!(budget == 0 ? Step(context_) : stepper.StepMany(context_, budget))) break;
    }
    Outcome outcome{{}, context_.run.statusText, context_.run.samplesDone,
                    context_.run.mathErrors, screen_.mathErrorDialogs() - dialogsBefore};
    for (const auto& output : context_.job.outputs) {
      auto stored = ReadCurve(destination + "/" + output->name + "/1");
      std::vector<uint32_t> bits(stored ? stored->values.size() : 0);
      if (stored && !bits.empty()) std::memcpy(bits.data(), stored->values.data(), bits.size() * 4);
      outcome.curves.push_back(bits);
    }
    EXPECT_TRUE(NothingOpen());
    return outcome;
  }

  // The job run by single steps, then by blocks of several budgets; every
  // way must leave the same outcome.
  void ExpectSameEveryWay(const std::string& job, const std::string& why,
                          const std::vector<MathErrorAnswer>& answers = {}) {
    auto script = [&] {
      for (const MathErrorAnswer& answer : answers) screen_.ScriptMathError(answer);
      screen_.SetDefaultMathError({MathErrorAnswer::kYes, false});
    };
    script();
    Outcome single = RunJob(job, 0);
    for (int32_t budget : {1, 3, 700, 1 << 15}) {
      script();
      Outcome many = RunJob(job, budget);
      EXPECT_EQ(many, single) << why << " with " << budget << " steps a call:\n  single: "
                              << Describe(single) << "\n  many:   " << Describe(many);
    }
  }
};

// Outputs O0, O1, ... of the formulas, with a step of `step` index units (0:
// the largest of their inputs).
std::string Outputs(const std::vector<std::string>& formulas, int32_t step = 0) {
  std::vector<JobOutput> outputs;
  for (size_t n = 0; n < formulas.size(); ++n) {
    outputs.push_back({"O" + std::to_string(n) + ",GAPI,0, ," + std::to_string(step),
                       formulas[n], "Lunits=F\n"});
  }
  return JobFile(outputs);
}

TEST_F(BlockStepsTest, AwkwardFormulasGiveTheSameSamples) {
  const char* formulas[] = {
      "GR+N*Z",           "(GR-Z)/3",         "-GR*-2",          "((GR))",
      "2*3+GR",           "GR/Z",
      "GR/N",             "N/(Z-Z)",          "SQRT(GR)",        "LN(N)+LOG10(GR)",
      "POW(GR, 0.5)",     "POW(Z, -1)",       "POW(GR*100, 400)", "MIN(GR, N, 3)",
      "MAX(N, GR)",       "AVG(GR, Z, N, H)", "ABS(SIN(GR)-COS(N))*TAN(Z)",
      "H*L",              "L",                "S*GR",            "AVERAGE(GR, Z)",
      "FILTGAUS(GR, 3)+1", "MAXIMUM(N)-MINIMUM(Z)",
  };
  for (const char* formula : formulas) ExpectSameEveryWay(Outputs({formula}), formula);
}

TEST_F(BlockStepsTest, OutputsOfDifferentLengthsAndStepsTakeTheSameTurns) {
  std::string job = JobFile({{"A,GAPI,0, ,0", "GR*2", ""},
                             {"B,GAPI,0, ,9000", "GR/Z", ""},
                             {"C,GAPI,0, ,0", "L+1", "Lunits=F\n"},
                             {"D,GAPI,0, ,1000", "H-GR", ""},
                             {"E,GAPI,0, ,-3000", "GR+1", ""}});
  ExpectSameEveryWay(job, "five outputs");
}

TEST_F(BlockStepsTest, TheAnswerToAMathErrorStopsTheRunAtTheSameSample) {
  std::string job = Outputs({"GR+1", "10/Z", "POW(Z, -1)", "N*2"});
  ExpectSameEveryWay(job, "no at the third error",
                     {{MathErrorAnswer::kYes, false}, {MathErrorAnswer::kYes, false},
                      {MathErrorAnswer::kNo, false}});
  ExpectSameEveryWay(job, "no more dialogs after the first", {{MathErrorAnswer::kYes, true}});
}

// Formulas drawn from the language's grammar: names, numbers, the four
// operators, parentheses and calls, nested a few levels.
class FormulaMaker {
 public:
  explicit FormulaMaker(uint32_t seed) : random_(seed) {}

  std::string Make(int depth) {
    std::string text = Operand(depth);
    for (int n = Pick(3); n > 0; --n) text += std::string(1, "+-*/"[Pick(4)]) + Operand(depth);
    return text;
  }

 private:
  int Pick(int count) { return static_cast<int>(random_() % static_cast<uint32_t>(count)); }

  std::string Operand(int depth) {
    static const char* const kNames[] = {"GR", "Z", "N", "H", "L", "S", "2", "0.5", "-1", "0"};
    static const char* const kCalls[] = {"SQRT", "LN", "LOG10", "ABS", "SIN", "POW",
                                         "MIN",  "MAX", "AVG",  "COS"};
    int kind = depth > 0 ? Pick(6) : 0;
    if (kind <= 2) return kNames[Pick(10)];
    if (kind == 3) return "(" + Make(depth - 1) + ")";
    std::string name = kCalls[Pick(10)];
    int arguments = name == "POW" ? 2 : name == "MIN" || name == "MAX" || name == "AVG" ? 1 + Pick(3) : 1;
    std::string text = name + "(";
    for (int n = 0; n < arguments; ++n) text += (n > 0 ? ", " : "") + Make(depth - 1);
    return text + ")";
  }

  std::mt19937 random_;
};

TEST_F(BlockStepsTest, GeneratedFormulasGiveTheSameSamples) {
  FormulaMaker maker(20261206);
  for (int job = 0; job < 12; ++job) {
    std::vector<std::string> formulas;
    for (int n = 0; n < 6; ++n) formulas.push_back(maker.Make(2));
    std::string why;
    for (const std::string& formula : formulas) why += formula + " ; ";
    ExpectSameEveryWay(Outputs(formulas, job % 2 == 0 ? 3000 : 1700), why);
  }
}

TEST_F(BlockStepsTest, CancellingLeavesWhatAsManySingleStepsLeave) {
  std::string job = Outputs({"GR*2", "L-GR", "SQRT(N)"});
  for (int32_t stopAfter : {1, 2, 700, 1500}) {
    auto stopper = [this, stopAfter] {
      if (context_.run.samplesDone >= stopAfter) RequestStop(context_);
    };
    Outcome single = RunJob(job, 0, stopper);
    Outcome many = RunJob(job, stopAfter, stopper);
    EXPECT_EQ(single.status, "Cancelled.");
    EXPECT_EQ(many, single) << stopAfter << ":\n  single: " << Describe(single)
                            << "\n  many:   " << Describe(many);
  }
}

// A curve still being recorded: the block that reaches past its end is given
// up, the run holds at the same sample, and goes on as samples arrive.
TEST_F(BlockStepsTest, ARecordingHoldsTheRunAtTheSameSample) {
  std::vector<float> samples = Wave(1001, 3, 0, 0);
  uint32_t recording = PutCurve("/A/B/C/SET2/R/1", "GAPI", 1000, 0.5,
                                std::vector<float>(samples.begin(), samples.begin() + 600), true);
  PutCurve("/A/B/C/SET2/GR/1", "GAPI", 1000, 0.5, Wave(1201, 20, 0, 0));
  Load("JOB.QXJ", JobFile({{"A,GAPI,0, ,0", "R*2", ""}, {"B,GAPI,0, ,0", "GR+R", ""}}));
  ChooseInput("/A/B/C/SET2");
  Interval("1000", "1500");
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running) << screen_.BoxTexts().back();
  std::string destination = context_.job.destination.path;
  BlockStepper stepper;
  for (int n = 0; n < 20; ++n) ASSERT_TRUE(stepper.StepMany(context_, 1000));
  EXPECT_EQ(context_.run.samplesDone, 1200) << "both outputs up to the recorded end";
  EXPECT_EQ(Output(0).index, 1300 * kFoot);

  ASSERT_EQ(dorvex::DorvexWriteSamples(data_, recording, 1300 * kFoot, 401, samples.data() + 600), 0);
  ASSERT_EQ(dorvex::DorvexFlush(data_, recording), 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (stepper.StepMany(context_, 1000) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(context_.run.statusText, "Done.");
  std::vector<float> expected;
  for (size_t n = 0; n < 1000; ++n) expected.push_back(samples[n] * 2);
  EXPECT_EQ(ReadCurve(destination + "/A/1")->values, expected);
}

}  // namespace

}  // namespace quillex
