// Reading a profile file whole, and replacing it whole so that a reader or a
// crash never sees it half written.
#pragma once

#include <string>
#include <string_view>

namespace quillex {

enum class FileRead { kRead, kMissing, kFailed };

FileRead ReadWholeFile(const std::string& path, std::string& bytes);

// Writes `bytes` to a temporary file beside `path` (named path + ".tmp-" and
// six characters), flushes it to disk and renames it over `path`, keeping
// the old file's permission bits. On failure the temporary file is removed
// and `path` is untouched. A process killed midway can leave the temporary
// file behind, never a partial `path`.
bool ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace quillex
