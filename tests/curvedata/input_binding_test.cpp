// Connecting formula variables to their input curves in a real database:
// the database slots, the fallback paths, depth against time, extents and
// units, and every message with nothing left open once the run closes; then
// the run's reader taking samples from a connected input.
#include "curvedata/input_binding.h"

#include "curvedata/dorvex_sample_reader.h"
#include "curvedata/output_curves.h"
#include "tests/curvedata/binding_fixture.h"

namespace quillex {

namespace {

constexpr double kUntouched = -777.0;

class InputBindingTest : public BindingTest {
 protected:
  void SetUp() override {
    BindingTest::SetUp();
    int32_t api = dorvex::DorvexUnitCode(context_.dorvex, "GAPI");
    PutCurve("/A/B/C/SET/GR/1", dorvex::SampleCurveInfo("", 0, false, api, 0, 3000, 1500), {1, 2, 3});
    PutCurve("/A/B/C/SET/GR/2", dorvex::SampleCurveInfo("", 0, false, api, 3000, 6000, 750),
             {1, 2, 3, 4, 5});
    PutCurve("/A/B/C/SET/_vars_/K", dorvex::SampleCurveInfo("", 0, false, 0, 0, 0, 100), {7});
    PutCurve("/A/B/C/TIME/TT/1", dorvex::SampleCurveInfo("", 0, true, dorvex::kUnitSeconds, 0, 200, 100), {1});
    dorvex::CurveInfo odd = dorvex::SampleCurveInfo("", 0, false, api, 0, 0, 100);
    odd.timeWord = 0x00FF;  // a zero high byte: depth
    PutCurve("/A/B/C/SET/LOW/1", odd, {1});
    odd.typeA = 10;
    PutCurve("/A/B/C/SET/BADA/1", odd, {1});
    odd.typeA = 0;
    odd.typeB = 3;
    PutCurve("/A/B/C/SET/BADB/1", odd, {1});
    PutCurve("/A/B/C/SET/ONE/1", dorvex::SampleCurveInfo("", 0, false, api, 0, 0, 0), {4});
    dorvex::CurveInfo recording = dorvex::SampleCurveInfo("", 0, false, api, 6000, 7500, 1500);
    PutCurve("/A/B/C/SET/REC/1", recording, {1, 2}, true);
    PutCurve("/A/B/C/SET/NEW/1", recording, {}, true);
    PutCurve("/A/B/C/SET/DEPT/1", dorvex::SampleCurveInfo("", 0, false, dorvex::kUnitFeet, 0, 400, 100),
             {1.0F, 2.5F, -3.0F, 10.0F, 0.3048F});
  }

  OutputDef& output_ = AddOutput("OUT");
};

TEST_F(InputBindingTest, DatabasesShareThreeSlotsByNameWithoutRegardToCase) {
  for (const char* name : {"B", "C", "D"}) MakeDatabase(name);
  EXPECT_EQ(OpenDatabaseByName(context_, ""), 0U);
  EXPECT_EQ(OpenDatabaseByName(context_, home_ + "/db/NOPE.db"), 0U);
  uint32_t well = OpenDatabaseByName(context_, "/any/folder/WELL.db");
  ASSERT_NE(well, 0U) << "databases come from the library's folder";
  EXPECT_EQ(context_.slots[2].name, "WELL") << "the last free slot, the failed one included";
  EXPECT_EQ(OpenDatabaseByName(context_, "C:\\DATA\\well.DB"), well);
  EXPECT_NE(OpenDatabaseByName(context_, "B.db"), 0U);
  EXPECT_NE(OpenDatabaseByName(context_, "C"), 0U);
  EXPECT_EQ(OpenDatabaseByName(context_, "D.db"), 0U);
  EXPECT_EQ(OpenDatabaseByName(context_, "Well"), well);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Can't open database: NOPE.db.",
                                                "Can only use 3 different databases at a time."}));
  CloseAllCurves(context_);
  EXPECT_TRUE(NothingOpen());
  EXPECT_EQ(context_.slots[2].name, "WELL") << "names stay when the slots are freed";
  EXPECT_NE(OpenDatabaseByName(context_, "D"), 0U);
}

TEST_F(InputBindingTest, FallbackPathsExtentsAndSteps) {
  struct Case {
    const char* name;
    const char* path;
    const char* connected;  // the path the binding keeps
    int32_t top, bottom, step, kind;
  } cases[] = {
      {"GR", "/A/B/C/SET/GR/1", "/A/B/C/SET/GR/1", 0, 3000, 1500, kNodeInput},
      {"GR", "/A/B/C/SET/GR/9", "A/B/C/SET/GR/*", 3000, 6000, 750, kNodeInput},  // highest pass
      {"gr", "/A/B/C/SET/XX/1", "A/B/C/SET/gr/*", 3000, 6000, 750, kNodeInput},
      {"GR", "/A/B/C/SET", "A/B/C/SET/GR/*", 3000, 6000, 750, kNodeInput},
      {"K", "/A/B/C/SET/K/1", "A/B/C/SET/_vars_/K", 0, 0, 100, kNodeInput},
      {"LOW", "/A/B/C/SET/LOW/1", "/A/B/C/SET/LOW/1", 0, 0, 100, kNodeInput},
      {"X", "/A/B/C/SET/REC/1", "/A/B/C/SET/REC/1", 6000, IndexLimit, 1500, kNodeInput},
      {"X", "/A/B/C/SET/NEW/1", "/A/B/C/SET/NEW/1", IndexUnset, IndexLimit, 1500, kNodeInput},
      {"X", "/A/B/C/SET/ONE/1", "/A/B/C/SET/ONE/1", 0, 0, kDefaultStep, kNodeSingleValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    VariableBinding& node = AddNode(output_, c.name, c.path);
    ASSERT_TRUE(ConnectInput(context_, node));
    EXPECT_EQ(node.path, c.connected);
    EXPECT_NE(node.curve, 0U);
    EXPECT_EQ(node.top, c.top);
    EXPECT_EQ(node.bottom, c.bottom);
    EXPECT_EQ(node.step, c.step);
    EXPECT_EQ(node.kind, c.kind);
  }
  for (int32_t kind : {kNodeFunction, kNodeListFunction, kNodeConstant, kNodeFilter}) {
    VariableBinding& node = AddNode(output_, "", "", kind);
    node.curve = 77;
    EXPECT_TRUE(ConnectInput(context_, node)) << "no curve read by kind " << kind;
    EXPECT_EQ(node.curve, 0U);
  }
  EXPECT_TRUE(screen_.boxes().empty());
  CloseAllCurves(context_);
  EXPECT_TRUE(NothingOpen());
  for (const auto& node : output_.variables) EXPECT_EQ(node->curve, 0U);
}

TEST_F(InputBindingTest, EachFailureIsToldAndLeavesNothingOpen) {
  const std::string unsuitable = " is not suitable for use as a Quillex Input";
  struct Case {
    const char* name;
    int32_t kind;
    std::string database;
    const char* path;
    std::string message;
    const char* pathAfter;
  } cases[] = {
      {"GR", kNodeInput, "", "/A/B/C/SET/GR/1", "Must specify pass for Input GR",
       "/A/B/C/SET/GR/1"},
      {"GR", kNodeSingleValue, file_, "", "Must specify pass for Input GR", ""},
      {"GR", kNodeInput, home_ + "/db/NOPE.db", "/A/B/C/SET/GR/1", "Can't open database: NOPE.db.",
       "/A/B/C/SET/GR/1"},
      {"Z", kNodeInput, file_, "/A/B/C/SET/Z/1",
       "Unable to connect to input Z in " + file_ + ": A/B/C/SET/Z/*", "A/B/C/SET/Z/*"},
      {"GR", kNodeInput, file_, "/A/B/C", "Unable to connect to input GR in " + file_ + ": /A/B/C",
       "/A/B/C"},
      {"BADA", kNodeInput, file_, "/A/B/C/SET/BADA/1",
       "The data in " + file_ + ": /A/B/C/SET/BADA/1/BADA" + unsuitable, "/A/B/C/SET/BADA/1"},
      {"BADB", kNodeSingleValue, file_, "/A/B/C/SET/BADB/1",
       "The data in " + file_ + ": /A/B/C/SET/BADB/1/BADB" + unsuitable, "/A/B/C/SET/BADB/1"},
  };
  for (const Case& c : cases) {
    screen_.Clear();
    VariableBinding& node = AddNode(output_, c.name, c.path, c.kind);
    node.database = c.database;
    EXPECT_FALSE(ConnectInput(context_, node));
    EXPECT_EQ(Errors(), std::vector<std::string>{c.message});
    EXPECT_EQ(node.path, c.pathAfter) << c.message;
    CloseAllCurves(context_);
    EXPECT_TRUE(NothingOpen()) << c.message;
  }
}

TEST_F(InputBindingTest, TheFirstInputDecidesDepthOrTime) {
  struct Case {
    const char* first;
    const char* second;
    int32_t mode;  // 1 depth, 0 time
  } cases[] = {{"/A/B/C/TIME/TT/1", "/A/B/C/SET/GR/1", 0},
               {"/A/B/C/SET/GR/1", "/A/B/C/TIME/TT/1", 1}};
  for (const Case& c : cases) {
    screen_.Clear();
    context_.firstInput = true;
    context_.runMode = 1 - c.mode;  // left from an earlier run
    ASSERT_TRUE(ConnectInput(context_, AddNode(output_, "A", c.first)));
    EXPECT_EQ(context_.runMode, c.mode);
    EXPECT_FALSE(context_.firstInput);
    EXPECT_FALSE(ConnectInput(context_, AddNode(output_, "B", c.second)));
    EXPECT_EQ(Errors(),
              std::vector<std::string>{"You can not mix depth based and time based data"});
    EXPECT_EQ(context_.runMode, c.mode);
    CloseAllCurves(context_);
    EXPECT_TRUE(NothingOpen());
  }
}

TEST_F(InputBindingTest, UnitsFollowTheSystemUnlessGivenOrKeptFromAnEarlierRun) {
  UseSettings("Units=1");
  dorvex::DorvexLibrary& dorvex = context_.dorvex;
  uint32_t earlier = dorvex::DorvexMakeConversion(dorvex, dorvex::kUnitFeet, dorvex::kUnitMetres);
  struct Case {
    int32_t units, sourceUnits;
    uint32_t conversion;
    int32_t unitsAfter;
    double hundredReadsAs;
  } cases[] = {
      {0, 0, 0, dorvex::kUnitMetres, 30.48},                      // the metric system's unit
      {dorvex::kUnitFeet, 0, 0, dorvex::kUnitFeet, 100.0},                // the job's own unit
      {dorvex::kUnitFeet, dorvex::kUnitFeet, earlier, dorvex::kUnitFeet, 30.48},  // kept from an earlier run
  };
  for (const Case& c : cases) {
    VariableBinding& node = AddNode(output_, "DEPT", "/A/B/C/SET/DEPT/1");
    node.units = c.units;
    node.sourceUnits = c.sourceUnits;
    node.conversion = c.conversion;
    ASSERT_TRUE(ConnectInput(context_, node));
    EXPECT_EQ(node.units, c.unitsAfter);
    EXPECT_EQ(node.sourceUnits, dorvex::kUnitFeet);
    EXPECT_NEAR(dorvex::DorvexConvert(dorvex, 100.0, node.conversion), c.hundredReadsAs, 1e-9);
  }
  CloseAllCurves(context_);
  EXPECT_TRUE(NothingOpen());
  EXPECT_NEAR(dorvex::DorvexConvert(dorvex, 100.0, output_.variables[0]->conversion), 30.48, 1e-9)
      << "the conversion outlives the close";
}

TEST_F(InputBindingTest, TheReaderGivesSamplesAsStoredOrInTheFormulaUnits) {
  VariableBinding& node = AddNode(output_, "DEPT", "/A/B/C/SET/DEPT/1");
  node.units = dorvex::kUnitMetres;
  ASSERT_TRUE(ConnectInput(context_, node));
  uint32_t toMetres = node.conversion;
  ASSERT_NE(toMetres, 0U);
  struct Case {
    int32_t index;
    double feet;
  } cases[] = {
      {0, 1.0},     {100, 2.5},    {200, -3.0}, {300, 10.0}, {400, static_cast<double>(0.3048F)},
      {50, 1.75},   // between two samples
      {-500, 1.0},  // above the top of a finished curve: the top sample
      {900, static_cast<double>(0.3048F)},
  };
  for (uint32_t conversion : {0U, toMetres}) {
    node.conversion = conversion;
    for (const Case& c : cases) {
      double value = kUntouched;
      EXPECT_EQ(context_.dorvexReader.ReadSample(node, c.index, &value), 0) << c.index;
      EXPECT_DOUBLE_EQ(value, conversion == 0 ? c.feet : c.feet * 0.3048) << c.index;
    }
  }
}

TEST_F(InputBindingTest, AFailedReadIsReportedAndLeavesTheValue) {
  VariableBinding& node = AddNode(output_, "REC", "/A/B/C/SET/REC/1");
  ASSERT_TRUE(ConnectInput(context_, node));
  DorvexSampleReader& reader = context_.dorvexReader;
  double value = kUntouched;
  EXPECT_EQ(reader.ReadSample(node, 7500, &value), 0);
  EXPECT_EQ(value, 2.0);
  value = kUntouched;
  EXPECT_EQ(reader.ReadSample(node, 9000, &value), kStatusNotYetAvailable) << "not yet recorded";
  EXPECT_EQ(value, kUntouched);

  uint32_t closed = node.curve;
  EXPECT_EQ(dorvex::DorvexCloseCurve(context_.dorvex, closed), 0);
  for (uint32_t curve : {closed, 0U, 9999U}) {
    node.curve = curve;
    int result = reader.ReadSample(node, 0, &value);
    EXPECT_NE(result, 0) << curve;
    EXPECT_NE(result, kStatusNotYetAvailable) << curve;
    EXPECT_EQ(value, kUntouched) << curve;
  }
}

}  // namespace

}  // namespace quillex
