#include "libs/profile/profile_storage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace profile {

namespace {

bool ReadAll(int fd, std::string& bytes) {
  char chunk[1 << 16];
  for (;;) {
    ssize_t count = ::read(fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return count == 0;
    bytes.append(chunk, static_cast<size_t>(count));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

// umask() can only be read by setting it, which would race with threads
// creating files; Linux shows it in /proc instead.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("Umask:"))
      return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  return 022;
}

// mkstemp makes the file private; a new profile gets the mode an ordinary
// file would get, a rewritten one keeps its own.
mode_t ModeFor(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  return 0666 & ~CurrentUmask();
}

// Renaming over a symbolic link would replace the link; write its target.
std::string Target(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
  return error ? path : target.string();
}

// The rename survives a power cut only once the folder is on disk too.
void SyncFolder(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing : FileRead::kFailed;
  bool read = ReadAll(fd, bytes);
  ::close(fd);
  return read ? FileRead::kRead : FileRead::kFailed;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, const ReplaceStop* stop) {
  auto stopAt = [stop](ReplaceStop::Stage stage) {
    if (stop != nullptr && stop->stage == stage && stop->stop != nullptr) stop->stop();
  };
  std::string target = Target(path);
  std::string temporary = target + ".tmp-XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  bool written = true;
  if (stop != nullptr && stop->stage == ReplaceStop::kWriting && stop->atByte < bytes.size()) {
    written = WriteAll(fd, bytes.substr(0, stop->atByte));
    stopAt(ReplaceStop::kWriting);
    bytes.remove_prefix(stop->atByte);
  }
  written = written && WriteAll(fd, bytes) && ::fchmod(fd, ModeFor(target)) == 0;
  stopAt(ReplaceStop::kBeforeSync);
  written = written && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written) stopAt(ReplaceStop::kBeforeRename);
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  stopAt(ReplaceStop::kAfterRename);
  SyncFolder(target);
  return true;
}

}  // namespace profile
