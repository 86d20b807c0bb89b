// The formula compiler: one line of formula text to a compiled text and a
// list of nodes.
//
// A single left-to-right pass with no look-ahead beyond the current character
// and no tree. Every operand (variable, number, function call) becomes a node
// of the output's list and is written to the compiled text as one byte, the
// node's code (128 to 255); operators and parentheses are copied as they
// stand. The compiler checks the order of operands and operators, but keeps
// the source order of operators: the evaluator applies them strictly from
// left to right, so no precedence is ever needed.
//
// A function call compiles each argument as a formula of its own into the
// same node list, so argument nodes come before the call's node.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillex {

struct Context;
struct OutputDef;

// The node list of one output holds at most this many nodes: a node's code is
// one byte of the compiled text above the 128 ASCII characters that operators
// and parentheses use.
constexpr size_t kMaxNodes = 128;

// The compiler's messages.
namespace compile_message {
inline constexpr const char* kNoMemory = "Error allocating memory";
inline constexpr const char* kEllipsis = "Error in Formula - please remove ', ...'";
inline constexpr const char* kInvalid = "Error in Formula - invalid operation";
inline constexpr const char* kParenthesis = "Error in Formula - parenthesis do not match";
inline constexpr const char* kTooMany = "Error in Formula - too many variables";
inline constexpr const char* kNodeMemory = "Memory allocation error";
inline constexpr const char* kNegation =
    "Make sure parenthesis are around item to be negated, or results may not be correct";
}  // namespace compile_message

// Compiles text into the slot and appends the nodes it makes to the output's
// list. Returns 1 on success; 0 after the error has been shown. Callers reset
// the compiled form first, and discard a failed one the same way.
int CompileFormula(Context& context, std::string_view text, std::optional<std::string>& slot,
                   OutputDef& output);

// Releases the output's filter instances, compiled text and nodes, and starts
// the grid's control ids again at 20200. Everything else of the output, its
// formula text included, stays. With no output only the counter is reset.
void ResetCompiledFormula(Context& context, OutputDef* output);

// Releases every output of the job and empties the editor's grid list.
void DiscardAllOutputs(Context& context);

// Finds the first occurrence of part in text; returns its position (npos when
// absent) and closes the gap when present.
size_t RemoveFirstOccurrence(std::string& text, std::string_view part);

}  // namespace quillex
