// Runs a built tool with arguments and standard input, and collects its exit
// status, standard output and standard error; and a fixture that gives each
// test a home folder of its own, with the database WELL in it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "libs/dorvex/dorvex.h"
#include "tests/support/temp_folder.h"

namespace quillex {

struct ToolResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ToolPath(const std::string& tool) {
  const char* bin = std::getenv("QUILLEX_BIN");
  return std::string(bin != nullptr ? bin : "tools") + "/" + tool;
}

inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The shell command that runs the tool with these arguments.
inline std::string ToolCommand(const std::string& tool,
                               const std::vector<std::string>& arguments) {
  std::string command = ToolPath(tool);
  for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
  return command;
}

inline ToolResult RunTool(const std::string& tool, const std::vector<std::string>& arguments,
                          const std::string& input = "") {
  auto folder = std::filesystem::temp_directory_path();
  std::string tag = std::to_string(::getpid()) + "_" + tool;
  auto in = folder / ("tool_in_" + tag);
  auto out = folder / ("tool_out_" + tag);
  auto err = folder / ("tool_err_" + tag);
  std::ofstream(in, std::ios::binary) << input;
  std::string command = ToolCommand(tool, arguments) + " <" + in.string() + " >" + out.string() +
                        " 2>" + err.string();
  int raw = std::system(command.c_str());
  ToolResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadWhole(out);
  result.err = ReadWhole(err);
  for (const auto& file : {in, out, err}) std::filesystem::remove(file);
  return result;
}

// Passes when `part` is in `text`; a failure shows the whole text.
inline ::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no '" << part << "' in:\n" << text;
}

// Asks every 10 ms, for up to 10 s, whether another process got there.
template <typename Ready>
bool WaitFor(Ready ready) {
  for (int n = 0; n < 1000; ++n, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
    if (ready()) return true;
  }
  return false;
}

// A tool started in the background (its own process, not a shell's, so a
// signal reaches it), its standard input a pipe the test writes to (or
// nothing), its output and errors in one file; killed, if it is still
// running, when the test is done with it.
class Background {
 public:
  Background(const std::string& command, const std::string& output, bool input = false) {
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
  void Signal(int signal) { ::kill(pid_, signal); }
  void CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }
  // The exit status once the program has ended (within 10 s): 128 when a
  // signal ended it, -1 while it runs.
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

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = folder_.path();
    ASSERT_FALSE(home_.empty());
    ASSERT_EQ(Dorvex({"create", "WELL"}).status, 0);
  }

  ToolResult Run(const std::string& tool, std::vector<std::string> arguments,
                 const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--home", home_});
    return RunTool(tool, arguments, input);
  }
  ToolResult Dorvex(std::vector<std::string> arguments, const std::string& input = "") {
    return Run("dorvex", std::move(arguments), input);
  }

  // The stored samples of a curve of WELL, read through the library as a
  // program would, and its item; empty when there is no such curve.
  std::vector<float> Curve(const std::string& path, dorvex::DorvexItem* item = nullptr) {
    dorvex::DorvexLibrary library;
    uint32_t database = 0;
    uint32_t curve = 0;
    std::vector<dorvex::DorvexItem> items;
    EXPECT_EQ(dorvex::DorvexInitializeAt(library, home_), 1);
    EXPECT_EQ(dorvex::DorvexOpenDatabase(library, home_ + "/db/WELL.db", 0, &database), 0);
    if (dorvex::DorvexListItems(library, database, path, &items) != 0 ||
        dorvex::DorvexOpenCurve(library, database, path, &curve, dorvex::kDorvexRead, nullptr) != 0) {
      return {};
    }
    if (item != nullptr) *item = items[0];
    std::vector<float> values(static_cast<size_t>(items[0].count));
    if (!values.empty()) {
      EXPECT_EQ(dorvex::DorvexReadSamples(library, curve, items[0].top, static_cast<int32_t>(values.size()),
                        values.data()), 0);
    }
    return values;
  }

  test_support::TempFolder folder_{"quillex_tools"};
  std::string home_;
};

}  // namespace quillex
