// Runs over a recording in progress, made by `dorvex record` at a few rates:
// each run waits for the samples still to come, and writes, bit for bit,
// what the same run writes once the recording has ended (filters and
// interval functions included); the ended recording is as long as its
// samples.
#include <cstdint>
#include <cstring>

#include "tests/tools/tool_runner.h"

namespace quillex {

namespace {

std::vector<uint32_t> Bits(const std::vector<float>& values) {
  std::vector<uint32_t> bits(values.size());
  if (!values.empty()) std::memcpy(bits.data(), values.data(), values.size() * sizeof(float));
  return bits;
}

// The lines of a report after its interval line, which shows the first
// input's extent as the run found it (open, while it was being recorded).
std::string Results(const std::string& report) {
  size_t at = report.find("Output ");
  return at == std::string::npos ? "" : report.substr(at);
}

const char kCurves[] =
    "[Job]\nOption=0\n"
    "[1]\noutput=X,GAPI,0, ,0\nformula=X\n"
    "[2]\noutput=F3,GAPI,0, ,0\nformula=FILTSQUARE(X,3)\n"
    "[3]\noutput=G5,GAPI,0, ,0\nformula=FILTGAUS(X,5)*2+X\n"
    "[4]\noutput=AV,GAPI,0, ,0\nformula=AVERAGE(X,FILTSQUARE(X,5))\n"
    "[5]\noutput=HALF,GAPI,0, ,1500\nformula=SQRT(X)+FILTSQUARE(X,4)\n";
const char kReport[] =
    "[Job]\nOption=1\n"
    "[1]\noutput=AV,GAPI,0, ,0\nformula=AVERAGE(X)\n"
    "[2]\noutput=MN,GAPI,0, ,0\nformula=MINIMUM(X)\n"
    "[3]\noutput=MX,GAPI,0, ,0\nformula=MAXIMUM(FILTSQUARE(X,3))\n"
    "[4]\noutput=AF,GAPI,0, ,0\nformula=AVERAGE(FILTGAUS(X,5))\n";
const char* const kOutputs[] = {"X", "F3", "G5", "AV", "HALF"};

using RecordingRun = ToolTest;

TEST_F(RecordingRun, WritesWhatTheSameRunWritesOnceTheRecordingHasEnded) {
  // At each rate the samples still to come take a fifth of a second or so.
  for (int rate : {25, 125, 625}) {
    SCOPED_TRACE("rate " + std::to_string(rate));
    const std::string set = "/A/B/C/R" + std::to_string(rate);
    const int first = 10;
    const int count = first + rate / 5;
    std::vector<std::string> numbers;
    for (int k = 0; k < count; ++k) numbers.push_back(std::to_string(1 + k * 37 % 101) + "\n");
    const int32_t bottom = 1000 * 6000 + (count - 1) * 3000;
    const std::string to = std::to_string(1000 + (count - 1) * 0.5);
    auto run = [&](const std::string& job, const std::string& output) {
      std::vector<std::string> arguments = {"--home", home_, job, "--input", "WELL: " + set,
                                            "--from", "1000", "--to", to};
      if (!output.empty()) arguments.insert(arguments.end(), {"--output", "WELL: " + output});
      return arguments;
    };

    Background recorder(ToolCommand("dorvex", {"--home", home_, "record", "WELL:" + set + "/X/1",
                                               "--top", "1000", "--step", "0.5", "--units",
                                               "GAPI", "--rate", std::to_string(rate)}),
                        home_ + "/recorder", true);
    for (int k = 0; k < first; ++k) recorder.Write(numbers[k]);
    ASSERT_TRUE(WaitFor([&] { return Curve(set + "/X/1").size() >= size_t{first}; }));

    // Both runs start while the recording is open; each has connected its
    // input once its job file holds the unit the input gave it.
    std::ofstream(home_ + "/jobs/c.qxj", std::ios::binary) << kCurves;
    std::ofstream(home_ + "/jobs/r.qxj", std::ios::binary) << kReport;
    Background curves(ToolCommand("quillex-run", run("c.qxj", set + "LIVE")), home_ + "/curves");
    Background report(ToolCommand("quillex-run", run("r.qxj", "")), home_ + "/report");
    for (const char* job : {"c.qxj", "r.qxj"}) {
      ASSERT_TRUE(WaitFor([&] { return Holds(ReadWhole(home_ + "/jobs/" + job), "Xunits=GAPI"); }));
    }
    EXPECT_LT(Curve(set + "/X/1").size(), size_t(count)) << "the recording is still open";
    for (int k = first; k < count; ++k) recorder.Write(numbers[k]);
    recorder.CloseInput();
    ASSERT_EQ(recorder.Wait(), 0) << ReadWhole(home_ + "/recorder");
    ASSERT_EQ(curves.Wait(), 0) << ReadWhole(home_ + "/curves");
    ASSERT_EQ(report.Wait(), 0) << ReadWhole(home_ + "/report");

    // The ended recording is described as long as it is.
    EXPECT_TRUE(Holds(Dorvex({"info", "WELL:" + set + "/X/1"}).out,
                      "bottom\t" + std::to_string(bottom) + " "));
    ToolResult after = RunTool("quillex-run", run("c.qxj", set + "AFTER"));
    ASSERT_EQ(after.status, 0) << after.err;
    for (const char* name : kOutputs) {
      std::vector<float> live = Curve(set + "LIVE/" + name + "/1");
      EXPECT_FALSE(live.empty()) << name;
      EXPECT_EQ(Bits(live), Bits(Curve(set + "AFTER/" + name + "/1"))) << name;
    }
    ToolResult again = RunTool("quillex-run", run("r.qxj", ""));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_FALSE(Results(again.out).empty());
    EXPECT_TRUE(Holds(ReadWhole(home_ + "/report"), Results(again.out)));
  }
}

}  // namespace

}  // namespace quillex
