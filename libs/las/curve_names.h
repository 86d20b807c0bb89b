// Item names for the curves of a LAS file.
//
// A curve item's name is a path component: at most 10 characters, unique in
// its data set without regard to case, no "/". LAS mnemonics may be longer,
// repeated, or hold characters a path cannot. A mnemonic that fits keeps its
// name; the others get a short unique one made from it (DPHI_SANDSTONE
// becomes DPHI_SANDS, a second GR becomes GR_2). Names that fit are given
// first, so a mnemonic never loses its own name to another one's shortened
// form, whatever their order in the file. The original mnemonic is kept in
// the curve's description (curve_description.h).
#pragma once

#include <string>
#include <vector>

namespace las {

// The component limit of the database's paths.
constexpr size_t kLasNameLimit = 10;

// The name kept for the data set's LAS header item; no curve takes it.
extern const char kLasHeaderName[];

std::vector<std::string> CurveItemNames(const std::vector<std::string>& mnemonics);

}  // namespace las
