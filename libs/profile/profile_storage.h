// Reading a profile file whole, and replacing it whole so that a reader or a
// crash never sees it half written.
#pragma once

#include <string>
#include <string_view>

namespace profile {

enum class FileRead { kRead, kMissing, kFailed };

FileRead ReadWholeFile(const std::string& path, std::string& bytes);

// A place where a replacement can be stopped, for tests that act out a
// process killed there: `stop` is called (a test's child process exits in
// it) once `atByte` bytes of the new text are written, or at `stage`.
struct ReplaceStop {
  enum Stage { kWriting, kBeforeSync, kBeforeRename, kAfterRename };
  Stage stage = kWriting;
  size_t atByte = 0;  // with kWriting
  void (*stop)() = nullptr;
};

// Writes `bytes` to a temporary file beside `path` (named path + ".tmp-" and
// six characters), flushes it to disk and renames it over `path`, keeping
// the old file's permission bits. On failure the temporary file is removed
// and `path` is untouched. A process killed midway can leave the temporary
// file behind, never a partial `path`.
[[nodiscard]] bool ReplaceFile(const std::string& path, std::string_view bytes,
                               const ReplaceStop* stop = nullptr);

}  // namespace profile
