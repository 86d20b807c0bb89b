// Starting sibling programs and reading argument blocks.
#include <fcntl.h>
#include <unistd.h>
#include <sys/wait.h>

#include <climits>
#include <string>
#include <vector>

#include "libs/dorvex/dorvex.h"

namespace dorvex {

namespace {

// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder() {
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string folder(path, static_cast<size_t>(length));
  return folder.substr(0, folder.rfind('/') + 1);
}

// Splits at blanks; double quotes group blanks and are removed.
std::vector<std::string> SplitArguments(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  bool inWord = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

}  // namespace

int DorvexLaunch(DorvexLibrary& /*library*/, const std::string& program,
                 const std::string& database, const std::string& path,
                 const std::string& switches) {
  std::string name = program;
  if (name.size() > 2 && name.front() == '(' && name.back() == ')') {
    name = ExecutableFolder() + name.substr(1, name.size() - 2);
  }
  if (::access(name.c_str(), X_OK) != 0) return kDorvexFailed;
  std::vector<std::string> words = {name, database, path};
  for (const std::string& word : SplitArguments(switches)) words.push_back(word);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // Twice forked so that the program is nobody's child: it outlives us and
  // never lingers as a zombie.
  pid_t child = ::fork();
  if (child < 0) return kDorvexFailed;
  if (child == 0) {
    ::setsid();
    if (::fork() == 0) {
      int null = ::open("/dev/null", O_RDWR);
      if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
      }
      ::execv(argv[0], argv.data());
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return 0;
}

std::string DorvexParseArgs(const std::string& text) {
  for (const std::string& word : SplitArguments(text)) {
    if (word.find('=') == std::string::npos) return word;
  }
  return "";
}

}  // namespace dorvex
