// Lines of a LAS file, numbered from 1 as an editor shows them.
//
// A line ends at LF, CR LF or a lone CR, so files from every platform read
// alike and a line number in a message points at the line a user sees. The
// text is not copied: lines are views into it, which keeps reading a large
// data section down to one pass over its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace las {

class LasLines {
 public:
  explicit LasLines(std::string_view text) : text_(text) {}

  // The next line without its ending; false after the last one.
  bool Next(std::string_view* line);
  // The number of the line last returned (0 before the first).
  int32_t Number() const { return number_; }
  // Where the line last returned begins in the text.
  size_t Offset() const { return start_; }
  // How much text follows the line last returned.
  size_t Remaining() const { return next_ < text_.size() ? text_.size() - next_ : 0; }

 private:
  std::string_view text_;
  size_t next_ = 0;
  size_t start_ = 0;
  int32_t number_ = 0;
};

// Spaces, tabs and every other control character: the LAS standard allows
// only printable ASCII and asks readers to take the rest as spaces.
inline bool IsLasBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimLas(std::string_view text);
std::string_view TrimLasStart(std::string_view text);

// The text up to its first blank, leading blanks skipped.
std::string_view FirstLasWord(std::string_view text);

// Equal without regard to ASCII case, as LAS mnemonics and the database's
// path components compare.
bool SameLasText(std::string_view a, std::string_view b);
std::string UpperLas(std::string text);

}  // namespace las
