// The two reserved index values of the log database.
//
// Every real depth or time lies strictly between them, so a range can use
// them as "not given" and "open end": DorvexQueryState asks about an open top
// with kIndexUnset and about an open bottom with kIndexLimit, and the
// programs over the library use the same two values for an interval not
// given and a range without end. Kept apart from dorvex.h so that code that
// needs only the numbers (the job model) includes nothing else.
#pragma once

#include <cstdint>

namespace dorvex {

constexpr int32_t kIndexUnset = -1073741400;
constexpr int32_t kIndexLimit = +1073741400;

}  // namespace dorvex
