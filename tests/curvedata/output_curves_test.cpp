// Output curves and the run settings item, made in a real database and read
// back byte for byte, and closing everything after a run or a failure.
#include "curvedata/output_curves.h"

#include "curvedata/index_value.h"
#include "curvedata/input_binding.h"
#include "model/controls.h"
#include "tests/curvedata/binding_fixture.h"

namespace quillex {

namespace {

class OutputCurvesTest : public BindingTest {
 protected:
  void SetUp() override {
    BindingTest::SetUp();
    context_.job.destination = {file_, "/A/B/C/_qxj1_"};
  }

  // A started run, its output database open as run preparation leaves it.
  void StartRun(int32_t mode, const std::string& presentation) {
    context_.runMode = mode;
    SetIndexFactor(context_);
    context_.job.presentation = presentation;
    context_.job.scale = 120.5;
    context_.run.runTop = -3000;
    context_.run.runBottom = 600000;
    context_.outputDatabase = OpenDatabaseByName(context_, file_);
  }

  std::string PresentationStored(const std::string& dataSet) {
    Stored stored = Read(dataSet + "/_defaults_/1", 1, sizeof(RunDefaults));
    return stored.found ? reinterpret_cast<const char*>(stored.elements.data() + 18) : "(none)";
  }
};

TEST_F(OutputCurvesTest, CreatedCurvesAreDescribedByteForByte) {
  int32_t api = dorvex::DorvexUnitCode(context_.dorvex, "GAPI");
  std::string longText(200, 'x');
  struct Case {
    const char* name;
    int32_t mode;  // 1 depth, 0 time
    std::string description;
    int32_t top, bottom, step;
    uint16_t timeWord;
    int32_t storedTop, storedBottom;
    uint16_t storedStep;
  } cases[] = {
      {"GR2", 1, "Gamma ray doubled", 9000, 3000, -1500, 0, 3000, 9000, 1500},
      {"TT2", 0, longText, 100, 900, 50, 256, 100, 900, 50},
  };
  for (const Case& c : cases) {
    OutputDef& output = AddOutput(c.name);
    output.description = c.description;
    output.dataId = 4711;
    output.units = api;
    output.top = c.top;
    output.bottom = c.bottom;
    output.step = c.step;
    context_.runMode = c.mode;
    ASSERT_TRUE(CreateOutputCurve(context_, output, file_, context_.job.destination));
    EXPECT_NE(output.curve, 0U);
    RecordBytes<244> expected;
    expected.Text(0, "1").Text(11, c.description.substr(0, 164));
    expected.At<int32_t>(176, 4711).At(182, c.timeWord).At(188, static_cast<uint16_t>(api));
    expected.At(192, c.storedTop).At(196, c.storedBottom).At<uint16_t>(200, 1);
    expected.At(208, 1.0F).At(216, 1.0F).At(220, -1.0F).At(224, 1.0F);
    expected.At<uint16_t>(228, 4).At(230, c.storedStep);
    expected.At<uint16_t>(232, 1024).At<uint16_t>(234, 1024);
    EXPECT_EQ(Read(std::string("/A/B/C/_qxj1_/") + c.name + "/1", 0, 4).info, expected.bytes)
        << c.name;
  }
  EXPECT_TRUE(screen_.boxes().empty());
  CloseAllCurves(context_);
  EXPECT_TRUE(NothingOpen());
}

TEST_F(OutputCurvesTest, SamplesAreStoredInTheOutputsUnitsAndTheRunClosesEverything) {
  UseSettings("Units=2");  // formulas work in feet
  PutCurve("/A/B/C/SET/GR/1", dorvex::SampleCurveInfo("", 0, false, 0, 0, 1500, 1500), {1, 2});
  OutputDef& length = AddOutput("LEN");
  length.units = dorvex::kUnitMetres;
  OutputDef& gamma = AddOutput("GR2");
  gamma.units = dorvex::DorvexUnitCode(context_.dorvex, "GAPI");
  VariableBinding& input = AddNode(gamma, "GR", "/A/B/C/SET/GR/1");
  ASSERT_TRUE(ConnectInput(context_, input));
  StartRun(1, "");
  for (OutputDef* output : {&length, &gamma}) output->step = 1500;
  ASSERT_TRUE(CreateAllOutputs(context_));
  EXPECT_EQ(context_.dorvex.OpenCurveCount(), 3U);
  EXPECT_EQ(context_.dorvex.OpenDatabaseCount(), 1U) << "inputs and outputs share a slot";
  EXPECT_TRUE(WriteOutputSample(context_, length, 100.0));
  EXPECT_TRUE(WriteOutputSample(context_, gamma, 55.5));
  length.index = gamma.index = 1500;
  EXPECT_TRUE(WriteOutputSample(context_, length, 10.0));
  EXPECT_TRUE(WriteOutputSample(context_, gamma, -1.25));
  CloseAllCurves(context_);
  EXPECT_TRUE(NothingOpen());
  EXPECT_EQ(input.curve + length.curve + gamma.curve, 0U);

  struct Case {
    const char* path;
    float first, second;
  } cases[] = {{"/A/B/C/_qxj1_/LEN/1", 30.48F, 3.048F}, {"/A/B/C/_qxj1_/GR2/1", 55.5F, -1.25F}};
  for (const Case& c : cases) {
    float values[2];
    std::memcpy(values, Read(c.path, 2, 4).elements.data(), sizeof values);
    EXPECT_FLOAT_EQ(values[0], c.first) << c.path;
    EXPECT_FLOAT_EQ(values[1], c.second) << c.path;
  }
}

TEST_F(OutputCurvesTest, AFailedCreationAbortsTheRunAndKeepsTheCurvesMadeBefore) {
  EXPECT_TRUE(CreateAllOutputs(context_)) << "a job without outputs";
  PutCurve("/A/B/C/_qxj1_/SP/1", dorvex::SampleCurveInfo("", 0, false, 0, 0, 0, 100), {1});
  for (const char* name : {"GR2", "SP", "RT"}) AddOutput(name);
  struct Case {
    std::string database;
    std::string message;
    bool firstKept;
  } cases[] = {
      {home_ + "/db/GONE.db", "Can't open database: GONE.db.", false},
      {file_, "Unable to create output " + file_ + ": /A/B/C/_qxj1_/SP/1 ", true},
  };
  for (const Case& c : cases) {
    screen_.Clear();
    context_.run.failed = false;
    context_.job.destination.database = c.database;
    EXPECT_FALSE(CreateAllOutputs(context_));
    EXPECT_EQ(Errors(), std::vector<std::string>{c.message});
    EXPECT_TRUE(context_.run.failed);
    EXPECT_TRUE(NothingOpen());
    EXPECT_EQ(Exists(file_, "/A/B/C/_qxj1_/GR2/1"), c.firstKept);
    EXPECT_FALSE(Exists(file_, "/A/B/C/_qxj1_/RT/1"));
  }
}

TEST_F(OutputCurvesTest, TheRunSettingsItemByteForByte) {
  struct Case {
    const char* settings;
    int32_t mode;
    const char* presentation;
    uint16_t indexFactor, flags;
    const char* stored;
  } cases[] = {
      {"Metric=0\nUnits=0", 1, "C:\\PLOTS\\GR.PRS", 6000, 0x00, "GR.PRS"},
      {"Metric=1\nUnits=2", 1, "GR.PRS", 19685, 0x21, "GR.PRS"},
      {"Metric=1\nUnits=1", 0, "D:\\P\\ABCDEFGHIJKLMNOP.PRS", 100, 0x12, "ABCDEFGHIJKLM"},
  };
  RecordBytes<244> info;
  info.Text(0, "1").Text(11, "Quillex run settings").At<uint16_t>(184, 10).At<uint16_t>(186, 3);
  info.At<uint16_t>(200, 1).At<uint16_t>(228, 32).At<uint16_t>(230, 100);
  info.At<uint16_t>(232, 1).At<uint16_t>(234, 2);
  int set = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    UseSettings(c.settings);
    std::string dataSet = "/A/B/C/S" + std::to_string(++set);
    context_.job.destination.path = dataSet;
    StartRun(c.mode, c.presentation);
    WriteRunDefaults(context_);
    CloseAllCurves(context_);
    EXPECT_TRUE(NothingOpen());

    Stored stored = Read(dataSet + "/_defaults_/1", 1, 32);
    EXPECT_EQ(stored.info, info.bytes);
    RecordBytes<32> element;
    element.At(0, c.indexFactor).At(2, c.flags).At(6, 120.5F);
    element.At<int32_t>(10, -3000).At<int32_t>(14, 600000).Text(18, c.stored);
    EXPECT_EQ(stored.elements, std::vector<uint8_t>(element.bytes.begin(), element.bytes.end()));
    EXPECT_TRUE(ReadRunDefaults(context_));
    EXPECT_EQ(context_.job.presentation, c.stored);
    EXPECT_EQ(screen_.Text(control::kPresentation), c.stored);
    EXPECT_TRUE(NothingOpen());
  }
  EXPECT_TRUE(screen_.boxes().empty());
}

TEST_F(OutputCurvesTest, AnExistingNamedSettingsItemWinsAndAFailedWriteIsTold) {
  StartRun(1, "");
  WriteRunDefaults(context_);
  EXPECT_EQ(PresentationStored("/A/B/C/_qxj1_"), "(none)") << "no presentation, no item";
  EXPECT_FALSE(ReadRunDefaults(context_));

  context_.job.presentation = "C:\\PLOTS\\OLD.PRS";
  WriteRunDefaults(context_);
  context_.job.presentation = "NEW.PRS";
  WriteRunDefaults(context_);
  EXPECT_EQ(PresentationStored("/A/B/C/_qxj1_"), "OLD.PRS");
  EXPECT_EQ(context_.job.presentation, "OLD.PRS");
  EXPECT_EQ(screen_.Text(control::kPresentation), "OLD.PRS");

  dorvex::CurveInfo unnamed = dorvex::SampleCurveInfo("", 0, false, 0, 0, 0, 100);
  unnamed.elementSize = sizeof(RunDefaults);
  RunDefaults empty{};
  PutItem("/A/B/C/OTHER/_defaults_/1", unnamed, &empty, 1);
  context_.job.destination.path = "/A/B/C/OTHER";
  context_.job.presentation = "NEW.PRS";
  WriteRunDefaults(context_);
  EXPECT_EQ(PresentationStored("/A/B/C/OTHER"), "NEW.PRS") << "an item naming nothing is replaced";
  EXPECT_TRUE(screen_.boxes().empty());

  PutNodes(file_, {"/A/B/C/NODE/_defaults_/1"});  // a node where the item goes
  context_.job.destination.path = "/A/B/C/NODE";
  screen_.SetMainWindow(true);
  WriteRunDefaults(context_);
  ASSERT_EQ(
      screen_.BoxTexts(),
      std::vector<std::string>{"The run settings for the plotting program could not be written."});
  EXPECT_EQ(screen_.boxes()[0].caption, "Quillex");
  EXPECT_EQ(screen_.boxes()[0].style, box::kTaskModal | box::kIconExclamation);
  EXPECT_TRUE(screen_.boxes()[0].owned);

  context_.job.destination.database = home_ + "/db/GONE.db";
  EXPECT_FALSE(ReadRunDefaults(context_));
  CloseAllCurves(context_);
  EXPECT_TRUE(NothingOpen());
}

}  // namespace

}  // namespace quillex
