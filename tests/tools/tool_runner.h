// Runs a built tool with arguments and standard input, and collects its exit
// status, standard output and standard error.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

inline ToolResult RunTool(const std::string& tool, const std::vector<std::string>& arguments,
                          const std::string& input = "") {
  auto folder = std::filesystem::temp_directory_path();
  std::string tag = std::to_string(::getpid()) + "_" + tool;
  auto in = folder / ("tool_in_" + tag);
  auto out = folder / ("tool_out_" + tag);
  auto err = folder / ("tool_err_" + tag);
  std::ofstream(in, std::ios::binary) << input;
  std::string command = ToolPath(tool);
  for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
  command += " <" + in.string() + " >" + out.string() + " 2>" + err.string();
  int raw = std::system(command.c_str());
  ToolResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadWhole(out);
  result.err = ReadWhole(err);
  for (const auto& file : {in, out, err}) std::filesystem::remove(file);
  return result;
}
