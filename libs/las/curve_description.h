// A LAS curve line kept as a curve's description.
//
// The description holds the ~C line as a LAS line, "MNEM.UNIT VALUE :
// DESCRIPTION" (for example "DT.US/M 60 520 32 00 : 2 SONIC TRANSIT TIME"):
// an analyst reads it as the file wrote it, it keeps the original mnemonic
// of a curve whose item name had to be shortened, and an export takes it
// apart again with the same line splitter the reader uses. A description
// typed by a user is no such line; an export then takes the item's name as
// the mnemonic and the whole text as the description.
#pragma once

#include <string>
#include <string_view>

#include "libs/las/header_line.h"

namespace las {

std::string DescribeCurve(const LasHeaderLine& curve);

// False when the description holds no curve line.
bool CurveFromDescription(std::string_view description, LasHeaderLine* curve);

}  // namespace las
