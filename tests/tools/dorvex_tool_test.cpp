// Drives the built dorvex tool, and follows one of its recordings from this
// process as a run would.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "libs/dorvex/dorvex.h"
#include "tests/tools/tool_runner.h"

namespace {

class DorvexTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dorvex_tool_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    home_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(home_); }

  ToolResult Dorvex(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--home", home_});
    return RunTool("dorvex", arguments, input);
  }

  std::string home_;
};

TEST_F(DorvexTool, PutListCatInfoCheck) {
  ASSERT_EQ(Dorvex({"create", "WELL"}).status, 0);
  ToolResult put = Dorvex({"put", "WELL:/A/B/C/SET1/GR/1", "--top", "1000", "--step", "0.5",
                           "--units", "gapi", "--description", "gamma ray"},
                          "10 20\n30\tnan\n50\n");
  ASSERT_EQ(put.status, 0) << put.err;
  EXPECT_EQ(put.out, "5 samples written to /A/B/C/SET1/GR/1\n");

  ToolResult ls = Dorvex({"ls", "WELL:/a/b/c/set1"});
  EXPECT_EQ(ls.out,
            "      /A/B/C/SET1\n"
            "        /A/B/C/SET1/GR\n"
            "          /A/B/C/SET1/GR/1  1000 to 1002 ft  step 0.5  units GAPI  5 samples\n");
  ToolResult cat = Dorvex({"cat", "WELL:/A/B/C/SET1/GR/1", "--from", "1000.5", "--to", "1001.5"});
  EXPECT_EQ(cat.out, "1000.5\t20\n1001\t30\n1001.5\tnan\n");
  ToolResult info = Dorvex({"info", "WELL:/A/B/C/SET1/GR/*"});
  EXPECT_NE(info.out.find("description\tgamma ray\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("bottom\t6012000 (1002 ft)\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("step\t3000 (0.5 ft)\n"), std::string::npos) << info.out;
  EXPECT_EQ(Dorvex({"check", "WELL"}).out, "WELL: ok\n");
}

TEST_F(DorvexTool, MistakesGetAMessageAndAnExitCode) {
  ASSERT_EQ(Dorvex({"create", "WELL"}).status, 0);
  struct Case {
    const char* why;
    std::vector<std::string> arguments;
    std::string input;
    int status;
    const char* message;
  } cases[] = {
      {"create twice", {"create", "WELL"}, "", 1, "cannot create database WELL"},
      {"no such database", {"ls", "NOPE"}, "", 1, "cannot open database NOPE"},
      {"no such curve", {"cat", "WELL:/A/B/C/D/GR/1"}, "", 1, "no curve /A/B/C/D/GR/1"},
      {"not a number", {"put", "WELL:/A/B/C/D/GR/1", "--top", "0", "--step", "1", "--units", "F"},
       "1 2 x 4", 1, "'x' on standard input is not a number; nothing written"},
      {"step too fine", {"put", "WELL:/A/B/C/D/GR/1", "--top", "0", "--step", "0", "--units", "F"},
       "1", 2, "--step must come to between 1 and 65535 index units"},
      {"too few components", {"put", "WELL:/A/B/GR/1", "--top", "0", "--step", "1", "--units", "F"},
       "1", 1, "cannot create curve /A/B/GR/1"},
      {"missing option", {"put", "WELL:/A/B/C/D/GR/1", "--top", "0"}, "", 2, "--step is required"},
      {"unknown command", {"frob", "WELL"}, "", 2, "unknown command 'frob'"},
      {"unknown option", {"cat", "WELL:/A/B/C/D/GR/1", "--bogus", "1"}, "", 2,
       "unknown option '--bogus' for cat"},
      {"path needed", {"info", "WELL"}, "", 2, "info needs NAME:PATH"},
      {"rate needed", {"record", "WELL:/A/B/C/D/GR/1", "--top", "0", "--step", "1", "--units", "F"},
       "", 2, "--rate must be a number of samples a second above 0"},
  };
  for (const Case& c : cases) {
    ToolResult result = Dorvex(c.arguments, c.input);
    EXPECT_EQ(result.status, c.status) << c.why;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.why << ": " << result.err;
  }
  EXPECT_EQ(Dorvex({"ls", "WELL"}).out, "") << "nothing was written by the failures";
  EXPECT_EQ(RunTool("dorvex", {"--help"}).status, 0);
}

// One process records with `dorvex record`; this one reads the curve as it
// grows, and gets 32 past the recorded end until the recording is finished.
TEST_F(DorvexTool, ARecordingIsFollowedFromAnotherProcess) {
  ASSERT_EQ(Dorvex({"create", "WELL"}).status, 0);
  std::string command = ToolPath("dorvex") + " --home " + ShellQuote(home_) +
                        " record WELL:/A/B/C/D/GR/1 --top 100 --step 1 --units GAPI"
                        " --rate 1000 >/dev/null";
  FILE* recorder = ::popen(command.c_str(), "w");
  ASSERT_NE(recorder, nullptr);

  DorvexLibrary library;
  ASSERT_EQ(DorvexInitializeAt(library, home_), 1);
  uint32_t database = 0;
  uint32_t curve = 0;
  ASSERT_EQ(DorvexOpenDatabase(library, home_ + "/db/WELL.db", 0, &database), 0);
  auto waitFor = [&](auto ready) {
    for (int i = 0; i < 500 && !ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ready();
  };
  ASSERT_TRUE(waitFor([&] {
    return DorvexOpenCurve(library, database, "/A/B/C/D/GR/1", &curve, kDorvexRead, nullptr) == 0;
  }));
  float value = 0;
  EXPECT_EQ(DorvexReadSamples(library, curve, 600000, 1, &value), kDorvexNotYetAvailable);
  for (int sample = 0; sample < 3; ++sample) {
    std::fprintf(recorder, "%d.5\n", sample);
    std::fflush(recorder);
    int32_t index = 600000 + sample * 6000;
    ASSERT_TRUE(waitFor([&] { return DorvexReadSamples(library, curve, index, 1, &value) == 0; }))
        << "sample " << sample;
    EXPECT_EQ(value, sample + 0.5F);
    EXPECT_EQ(DorvexReadSamples(library, curve, index + 6000, 1, &value), kDorvexNotYetAvailable);
  }
  EXPECT_EQ(::pclose(recorder), 0);
  ASSERT_TRUE(waitFor([&] {
    return DorvexQueryState(library, curve, 1073741400, 1073741400, 0, 0) == 0;
  })) << "the end closes when the input ends";
  EXPECT_EQ(DorvexReadSamples(library, curve, 700000, 1, &value), 0);
  EXPECT_EQ(value, 2.5F) << "past a finished end: the last sample";
}

}  // namespace
