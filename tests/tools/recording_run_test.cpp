// Runs over a recording in progress, made by `dorvex record` at a few rates:
// each run waits for the samples still to come, and writes, bit for bit,
// what the same run writes once the recording has ended (filters and
// interval functions included); the ended recording is as long as its
// samples.
#include <fcntl.h>
#include <signal.h>

#include <cstdint>
#include <cstring>

#include "tests/tools/tool_runner.h"

namespace quillex {

namespace {

// A program started in the background, its standard input a pipe the test
// writes to (or nothing), its output and errors in files.
class Background {
 public:
  Background(const std::string& command, const std::string& output, bool input) {
    // Closed on exec, so that no other program started meanwhile holds the
    // pipe open: the program sees the end of its input when the test closes it.
    int pipeEnds[2] = {-1, -1};
    if (input && ::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    std::string line = "exec " + command + (input ? "" : " </dev/null") + " >" +
                       ShellQuote(output) + " 2>&1";
    pid_ = ::fork();
    if (pid_ == 0) {
      if (input) {
        ::dup2(pipeEnds[0], 0);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
      }
      ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (input) {
      ::close(pipeEnds[0]);
      input_ = pipeEnds[1];
    }
  }
  ~Background() {
    CloseInput();
    if (pid_ > 0 && status_ < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  void Write(const std::string& text) {
    ASSERT_EQ(::write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }
  // The exit status, once the program has ended (within 10 s); -1 if not.
  int Wait() {
    int raw = 0;
    if (pid_ > 0 && status_ < 0 && WaitFor([&] { return ::waitpid(pid_, &raw, WNOHANG) == pid_; })) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128;
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int status_ = -1;
};

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
      return ToolCommand("quillex-run", arguments);
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
    Background curves(run("c.qxj", set + "LIVE"), home_ + "/curves", false);
    Background report(run("r.qxj", ""), home_ + "/report", false);
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
    ToolResult after = RunTool("quillex-run", {"--home", home_, "c.qxj", "--input", "WELL: " + set,
                                               "--from", "1000", "--to", to, "--output",
                                               "WELL: " + set + "AFTER"});
    ASSERT_EQ(after.status, 0) << after.err;
    for (const char* name : kOutputs) {
      std::vector<float> live = Curve(set + "LIVE/" + name + "/1");
      EXPECT_FALSE(live.empty()) << name;
      EXPECT_EQ(Bits(live), Bits(Curve(set + "AFTER/" + name + "/1"))) << name;
    }
    ToolResult again = RunTool("quillex-run", {"--home", home_, "r.qxj", "--input", "WELL: " + set,
                                               "--from", "1000", "--to", to});
    ASSERT_EQ(again.status, 0) << again.err;
    std::string live = ReadWhole(home_ + "/report");
    EXPECT_FALSE(Results(again.out).empty());
    EXPECT_TRUE(Holds(live, Results(again.out)));
  }
}

}  // namespace

}  // namespace quillex
