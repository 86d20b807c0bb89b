// Whole runs on a real database, driven one step at a time: what the
// preparation tells, the refusals, the interval, the order of turns, a run
// held by a recording, cancelling, math errors and the plotted run.
#include <chrono>
#include <thread>

#include "model/controls.h"
#include "tests/run/engine_fixture.h"

namespace quillex {

namespace {

const std::vector<float> kGamma = {10, 12, 15, 19, 24, 30, 37, 45, 54, 64, 75};
const char kNote[] = "Presentation file not selected, plot will not run.";
const std::string kDoubled = JobFile({{"GR2,GAPI,0,doubled,0", "GR*2", "GRunits=GAPI\n"}});

std::vector<float> Doubled(size_t from, size_t count) {
  std::vector<float> values;
  for (size_t n = from; n < from + count; ++n) values.push_back(kGamma[n] * 2);
  return values;
}

class RunTest : public EngineTest {
 public:
  void SetUp() override {
    EngineTest::SetUp();
    PutCurve("/A/B/C/SET1/GR/1", "GAPI", 1000, 0.5, kGamma);
  }
};

// ---- Preparation: every failure is told, closes everything and aborts.

struct Failure {
  const char* why;
  std::string job;                 // empty: no job file loaded
  void (*setUp)(RunTest&);         // after loading
  std::vector<std::string> boxes;  // "{WELL}" stands for the database file
  std::string asked;  // "open"/"save" file dialog, or the title of the last browse
};

class PreparationFailure : public RunTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(PreparationFailure, IsToldAndAborts) {
  const Failure& failure = GetParam();
  if (!failure.job.empty()) Load("JOB.QXJ", failure.job);
  if (failure.setUp != nullptr) failure.setUp(*this);
  quillex::Run(context_);

  std::vector<std::string> expected;
  for (std::string text : failure.boxes) {
    if (size_t at = text.find("{WELL}"); at != std::string::npos) text.replace(at, 6, well_);
    expected.push_back(text);
  }
  EXPECT_EQ(screen_.BoxTexts(), expected);
  for (const RecordedBox& shown : screen_.boxes()) {
    EXPECT_EQ(shown.caption, "Quillex");
    EXPECT_TRUE(shown.text == kNote ? shown.IsInfo() : shown.IsError()) << shown.text;
  }
  if (failure.asked == "open" || failure.asked == "save") {
    ASSERT_EQ(screen_.fileDialogs().size(), 1U);
    EXPECT_EQ(screen_.fileDialogs()[0].save, failure.asked == "save");
  } else if (!failure.asked.empty()) {
    EXPECT_EQ(screen_.browseRequests().back().title, failure.asked);
  }
  EXPECT_FALSE(context_.run.running);
  EXPECT_EQ(context_.run.statusText, "Aborted.");
  EXPECT_EQ(Progress(), "Aborted.");
  EXPECT_FALSE(screen_.TimerRunning(control::kProgressTimer));
  EXPECT_TRUE(NothingOpen());
}

void Input(RunTest& t) { t.ChooseInput(); }

INSTANTIATE_TEST_SUITE_P(
    Engine, PreparationFailure,
    ::testing::Values(
        Failure{"job with outputs but no file", kDoubled,
                [](RunTest& t) { t.context_.job.filePath.clear(); },
                {"Must specify Script File"}, "save"},
        Failure{"no job at all", "", nullptr, {"Must specify Script File"}, "open"},
        Failure{"no outputs", "[0]\nformat=\nscale=240\n", nullptr,
                {"No outputs have been created"}, ""},
        Failure{"formula does not compile", JobFile({{"BAD,GAPI,0, ,0", "GR*(", ""}}), Input,
                {"The formula of output BAD does not compile. Correct it in the editor before "
                 "running."}, ""},
        Failure{"no input source", kDoubled, nullptr, {"Must specify pass for Input"},
                "Input Source"},
        Failure{"no destination", kDoubled,
                [](RunTest& t) { t.screen_.SetText(control::kInputSource, "WELL: /A/B/C/SET1"); },
                {"Must specify pass for Output"}, "Output Destination"},
        Failure{"variable without a source", kDoubled,
                [](RunTest& t) {
                  t.screen_.SetText(control::kInputSource, "WELL: /A/B/C/SET1");
                  t.screen_.SetText(control::kDestination, "WELL: /A/B/C/OUT");
                },
                {kNote, "Must specify pass for Input GR"}, ""},
        Failure{"no such curve", JobFile({{"N2,GAPI,0, ,0", "NOPE*2", ""}}), Input,
                {kNote, "Unable to connect to input NOPE in {WELL}: A/B/C/SET1/NOPE/*"}, ""},
        Failure{"depth and time mixed", JobFile({{"GT,GAPI,0, ,0", "GR+T", ""}}),
                [](RunTest& t) {
                  t.PutCurve("/A/B/C/SET1/T/1", "S", 0, 1, {1, 2}, false, true);
                  t.ChooseInput();
                },
                {kNote, "You can not mix depth based and time based data"}, ""},
        Failure{"output database missing", kDoubled,
                [](RunTest& t) {
                  t.ChooseInput();
                  t.screen_.SetText(control::kDestination, "NOPE: /A/B/C/OUT");
                },
                {kNote, "Can't open database: NOPE.db."}, ""},
        Failure{"no sample rate", JobFile({{"K,GAPI,0, ,0", "2*3", ""}}), Input,
                {kNote, "Output K has no sample rate and no input curve to take one from. Give "
                        "it a sample rate in the editor."}, ""},
        Failure{"filter the library cannot run", JobFile({{"F,GAPI,0, ,0", "FILTSQUARE(GR,3)", ""}}),
                [](RunTest& t) {
                  t.ChooseInput();
                  // The library no longer knows the instance, so it refuses it.
                  sift32::Sift32Release(t.context_.filters, t.Output(0).variables.back()->filter);
                },
                {kNote, "The filter in output F cannot run: its window does not fit in memory. "
                        "Give it a smaller interval in the editor."}, ""},
        Failure{"output curve exists", JobFile({{"GR,GAPI,0, ,0", "GR*2", ""}}),
                [](RunTest& t) {
                  t.ChooseInput();
                  t.screen_.SetText(control::kDestination, "WELL: /A/B/C/SET1");
                },
                {kNote, "Unable to create output {WELL}: /A/B/C/SET1/GR/1 "}, ""}));

// ---- The interval: refusals, and the range each output runs over.

TEST_F(RunTest, RefusedIntervalsAreNotesAndLeaveTheStatus) {
  struct Case {
    std::string job, from, to, box;
  } cases[] = {
      {JobFile({{"K,GAPI,0, ,1500", "2*3", ""}}), "*", "*",
       "This processing run will be cancelled because a Processing Range needs to be selected."},
      {kDoubled, "1000", "1000.5",
       "This processing run will be cancelled because the interval is too small."},
      {kDoubled, "2000", "3000",
       "This processing run will be cancelled because the Processing Range lies outside the "
       "input data of output GR2."},
  };
  for (const Case& c : cases) {
    Load("JOB.QXJ", c.job);
    ChooseInput();
    Interval(c.from, c.to);
    context_.run.statusText = "Done.";
    screen_.SetText(control::kProgress, "Done.");
    quillex::Run(context_);
    EXPECT_EQ(screen_.BoxTexts(), (std::vector<std::string>{kNote, c.box}));
    EXPECT_TRUE(screen_.boxes().back().IsInfo());
    EXPECT_FALSE(context_.run.running) << c.box;
    EXPECT_EQ(context_.run.statusText, "Done.");
    EXPECT_EQ(Progress(), "Done.");
    EXPECT_FALSE(Exists(context_.job.destination.path + "/GR2")) << "no output curve yet";
    Finish(context_);  // closes what the refused run had connected
    EXPECT_TRUE(NothingOpen());
  }
}

TEST_F(RunTest, OutputsRunFromTheIntervalNarrowedByTheirInputs) {
  struct Case {
    std::string from, to;
    int32_t step;
    double top, bottom;
    int32_t remaining;
  } cases[] = {
      {"1001", "1003", 0, 1001, 1003, 4},   {"1003", "1001", 0, 1001, 1003, 4},
      {"*", "1002", 0, 1000, 1002, 4},      {"1002", "*", 0, 1000, 1002, 4},
      {"*", "*", 0, 1000, 1005, 10},        {"999", "1010", 0, 1000, 1005, 10},
      {"1000", "1002", 6000, 1000, 1002, 2},  // the sample at the bottom is not computed
  };
  for (const Case& c : cases) {
    std::string why = c.from + " to " + c.to;
    Load("JOB.QXJ", JobFile({{"GR2,GAPI,0, ," + std::to_string(c.step), "GR*2", ""}}));
    ChooseInput();
    Interval(c.from, c.to);
    quillex::Run(context_);
    ASSERT_TRUE(context_.run.running) << why;
    EXPECT_EQ(Output(0).top, c.top * kFoot) << why;
    EXPECT_EQ(Output(0).bottom, c.bottom * kFoot) << why;
    EXPECT_EQ(Output(0).index, c.top * kFoot) << why;
    EXPECT_EQ(Output(0).remaining, c.remaining) << why;
    EXPECT_EQ(context_.run.samplesTotal, c.remaining) << why;
    std::string destination = context_.job.destination.path;
    StepToEnd();
    auto curve = ReadCurve(destination + "/GR2/1");
    ASSERT_TRUE(curve) << why;
    EXPECT_EQ(curve->top, c.top * kFoot) << why;
    std::vector<float> expected;
    for (int32_t n = 0; n < c.remaining; ++n) {
      auto sample = static_cast<size_t>((c.top - 1000) * 2 + n * (c.step ? c.step / 3000 : 1));
      expected.push_back(2 * kGamma[sample]);
    }
    EXPECT_EQ(curve->values, expected) << why;
  }
}

// A window far wider than the data runs like any other: centred on each
// sample, it reads ahead past the end of the curve (the end sample), and
// until it is full it is the mean of the values fed. The filter after it
// runs as well.
TEST_F(RunTest, WideFilterWindowsRun) {
  Load("JOB.QXJ", JobFile({{"W,GAPI,0, ,0", "FILTSQUARE(GR,200001)", ""},
                           {"N,GAPI,0, ,0", "FILTSQUARE(GR,3)", ""}}));
  ChooseInput();
  Interval("1000", "1004");
  quillex::Run(context_);
  std::string destination = context_.job.destination.path;
  StepToEnd();
  EXPECT_EQ(context_.run.statusText, "Done.");
  std::vector<float> wide, narrow;
  for (size_t k = 0; k < 8; ++k) {
    wide.push_back(kGamma.back());
    size_t first = k < 2 ? 1 : k - 1;  // the window reads one sample ahead
    double sum = 0;
    for (size_t n = k + 1; n + 1 > first; --n) sum += kGamma[n];  // newest first
    narrow.push_back(static_cast<float>(sum / static_cast<double>(k + 2 - first)));
  }
  EXPECT_EQ(ReadCurve(destination + "/W/1")->values, wide);
  EXPECT_EQ(ReadCurve(destination + "/N/1")->values, narrow);
}

// ---- Turns, progress and the end of a run.

TEST_F(RunTest, OutputsTakeTurnsAndTheFinishedOneIsSkipped) {
  Load("JOB.QXJ", JobFile({{"A,GAPI,0, ,0", "GR", ""}, {"B,GAPI,0, ,9000", "GR*10", ""}}));
  ChooseInput();
  Interval("1000", "1001.5");
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running);
  EXPECT_TRUE(screen_.TimerRunning(control::kProgressTimer));
  EXPECT_EQ(context_.run.samplesTotal, 4);
  std::string turns;
  std::vector<std::string> progress;
  std::string destination = context_.job.destination.path;
  while (context_.run.samplesDone < 4) {
    int32_t a = Output(0).remaining;
    ASSERT_TRUE(Step(context_));
    turns += Output(0).remaining < a ? "A" : "B";
    ShowProgress(context_);
    progress.push_back(Progress());
    if (turns == "AB") quillex::Run(context_);  // ignored while a run is on
  }
  EXPECT_EQ(turns, "ABAA");
  EXPECT_EQ(progress, (std::vector<std::string>{"25%", "50%", "75%", "100%"}));
  EXPECT_TRUE(Step(context_)) << "finds nothing left";
  EXPECT_TRUE(context_.run.finished);
  EXPECT_FALSE(Step(context_)) << "finishes";
  EXPECT_EQ(context_.run.statusText, "Done.");
  EXPECT_EQ(Progress(), "Done.");
  EXPECT_EQ(screen_.Text(control::kExitButton), "Exit");
  EXPECT_FALSE(screen_.TimerRunning(control::kProgressTimer));
  EXPECT_TRUE(NothingOpen());
  EXPECT_EQ(screen_.BoxTexts(), std::vector<std::string>{kNote});
  EXPECT_EQ(ReadCurve(destination + "/A/1")->values, (std::vector<float>{10, 12, 15}));
  EXPECT_EQ(ReadCurve(destination + "/B/1")->values, std::vector<float>{100});
  EXPECT_EQ(context_.job.destination.path, "/A/B/C/_qxj2_") << "a fresh set for the next run";
  EXPECT_TRUE(Exists("/A/B/C/_qxj2_"));
}

TEST_F(RunTest, OutputsWithoutSamplesAreNeverEvaluated) {
  Load("JOB.QXJ", JobFile({{"Z,GAPI,0, ,12000", "GR/0", ""}}));
  ChooseInput();
  Interval("1000", "1001.5");
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running);
  EXPECT_EQ(Output(0).remaining, 0);
  std::string destination = context_.job.destination.path;
  EXPECT_TRUE(Step(context_));
  EXPECT_TRUE(context_.run.finished);
  EXPECT_FALSE(Step(context_));
  EXPECT_EQ(context_.run.statusText, "Done.");
  EXPECT_EQ(context_.run.mathErrors, 0);
  EXPECT_EQ(screen_.mathErrorDialogs(), 0);
  auto curve = ReadCurve(destination + "/Z/1");
  ASSERT_TRUE(curve) << "the curve was created all the same";
  EXPECT_TRUE(curve->values.empty());
}

// A curve still being recorded holds the run at its end; the run goes on as
// samples arrive.
TEST_F(EngineTest, ARecordingHoldsTheRunUntilItsSamplesArrive) {
  uint32_t recording = PutCurve("/A/B/C/SET1/GR/1", "GAPI", 1000, 0.5, {10, 12, 15}, true);
  Load("JOB.QXJ", kDoubled);
  ChooseInput();
  Interval("1000", "1003");
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running);
  ASSERT_EQ(Output(0).remaining, 6);
  for (int n = 0; n < 50; ++n) ASSERT_TRUE(Step(context_));
  EXPECT_EQ(context_.run.samplesDone, 3);
  EXPECT_EQ(Output(0).index, 1001.5 * kFoot);
  ShowProgress(context_);
  EXPECT_EQ(Progress(), "50%");
  std::string destination = context_.job.destination.path;

  std::vector<float> more = {19, 24, 30};
  ASSERT_EQ(dorvex::DorvexWriteSamples(data_, recording, 1001 * kFoot + kFoot / 2, 3, more.data()), 0);
  ASSERT_EQ(dorvex::DorvexFlush(data_, recording), 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (Step(context_) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(context_.run.statusText, "Done.");
  EXPECT_EQ(ReadCurve(destination + "/GR2/1")->values, Doubled(0, 6));
}

TEST_F(RunTest, CancellingKeepsWhatWasWrittenAndTheNextRunStartsAfresh) {
  Load("JOB.QXJ", kDoubled);
  ChooseInput();
  quillex::Run(context_);
  std::string first = context_.job.destination.path;
  for (int n = 0; n < 3; ++n) ASSERT_TRUE(Step(context_));
  RequestStop(context_);
  EXPECT_TRUE(context_.run.running) << "the next step finishes the run";
  EXPECT_FALSE(Step(context_));
  EXPECT_EQ(context_.run.statusText, "Cancelled.");
  EXPECT_EQ(Progress(), "Cancelled.");
  EXPECT_TRUE(NothingOpen());
  EXPECT_EQ(ReadCurve(first + "/GR2/1")->values, Doubled(0, 3));
  std::vector<std::string> problems;
  EXPECT_EQ(dorvex::DorvexCheckDatabase(data_, well_, &problems), 0);

  quillex::Run(context_);
  EXPECT_EQ(context_.job.destination.path, "/A/B/C/_qxj2_");
  StepToEnd();
  EXPECT_EQ(context_.run.statusText, "Done.");
  EXPECT_EQ(ReadCurve("/A/B/C/_qxj2_/GR2/1")->values, Doubled(0, 10));
}

TEST_F(RunTest, MathErrorsGiveZeroAndTheAnswerDecidesWhetherTheRunGoesOn) {
  PutCurve("/A/B/C/SET1/M/1", "GAPI", 1000, 0.5, {2, 1, 2, 4, 5});
  struct Case {
    MathErrorAnswer answer;
    int dialogs;
    const char* status;
    std::vector<float> values;
  } cases[] = {
      {{MathErrorAnswer::kYes, true}, 1, "Done.", {0, -10, 0, 5}},
      {{MathErrorAnswer::kYes, false}, 2, "Done.", {0, -10, 0, 5}},
      {{MathErrorAnswer::kClose, true}, 2, "Done.", {0, -10, 0, 5}},
      {{MathErrorAnswer::kNo, false}, 1, "Cancelled.", {0}},
  };
  int dialogsBefore = 0;
  for (const Case& c : cases) {
    Load("JOB.QXJ", JobFile({{"Q,GAPI,0, ,0", "10/(M-2)", ""}}));
    ChooseInput();
    Interval("1000", "1002");
    screen_.ScriptMathError(c.answer);
    screen_.SetDefaultMathError({MathErrorAnswer::kClose, false});
    quillex::Run(context_);
    std::string destination = context_.job.destination.path;
    StepToEnd();
    EXPECT_EQ(screen_.mathErrorDialogs() - dialogsBefore, c.dialogs) << c.status;
    dialogsBefore = screen_.mathErrorDialogs();
    EXPECT_EQ(context_.run.statusText, c.status);
    EXPECT_FALSE(context_.run.mathWarningsSuppressed);
    EXPECT_EQ(ReadCurve(destination + "/Q/1")->values, c.values) << c.status;
  }
}

TEST_F(RunTest, APlottedRunOffersCancelAndLeavesItsSettings) {
  Load("JOB.QXJ", JobFile({{"GR2,GAPI,0, ,0", "GR*2", ""}}, 0, "PLOT"));
  ChooseInput();
  quillex::Run(context_);
  ASSERT_TRUE(context_.run.running);
  EXPECT_EQ(screen_.Text(control::kExitButton), "Cancel");
  EXPECT_TRUE(screen_.BoxTexts().empty()) << "a presentation is set";
  EXPECT_TRUE(Exists("/A/B/C/_qxj1_/_defaults_/1"));
  StepToEnd();
  EXPECT_EQ(screen_.Text(control::kExitButton), "Exit");
  EXPECT_EQ(context_.run.statusText, "Done.");
}

}  // namespace

}  // namespace quillex
