#include "formula/compiler.h"

#include <new>

#include "curvedata/context.h"
#include "formula/builtin_functions.h"
#include "formula/filters.h"
#include "formula/number_text.h"
#include "model/job_list.h"
#include "model/message_box.h"

namespace quillex {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

// One compilation: the text, the scan position and the output it feeds.
// A failure shows its message at once; the scan then stops.
class Compilation {
 public:
  Compilation(Context& context, std::string_view text, std::string& compiled, OutputDef& output)
      : context_(context), text_(text), compiled_(compiled), output_(output) {}

  bool Run();

 private:
  bool Fail(const char* message) {
    ErrorBox(context_.screen, message);
    return false;
  }
  bool TooManyNodes() const { return output_.variables.size() > kMaxNodes; }
  bool AtEnd() const { return position_ >= text_.size(); }

  bool ScanCharacter(char c);
  bool Number();
  bool EndName(bool* textEnded);
  bool ResolveName(std::string_view name, bool* wasCall);
  bool CompileCall(const BuiltinFunction& function);
  bool CompileArguments(const BuiltinFunction& function, std::string_view callText,
                        VariableBinding& node);
  VariableBinding* NewNode(int32_t kind);
  void AppendNode(std::unique_ptr<VariableBinding> node);

  Context& context_;
  std::string_view text_;
  std::string& compiled_;
  OutputDef& output_;
  size_t position_ = 0;
  bool expectOperand_ = true;
  bool inName_ = false;
  size_t nameStart_ = 0;
  size_t nameLength_ = 0;
  int opened_ = 0;
  int closed_ = 0;
};

// Gives a node the next code and appends it: codes rise by one along the
// list from 128, so a code is also the node's place in the list.
void Compilation::AppendNode(std::unique_ptr<VariableBinding> node) {
  auto& nodes = output_.variables;
  node->code = nodes.empty() ? 128 : static_cast<uint8_t>(nodes.back()->code + 1);
  compiled_.push_back(static_cast<char>(node->code));
  nodes.push_back(std::move(node));
}

VariableBinding* Compilation::NewNode(int32_t kind) {
  try {
    auto node = std::make_unique<VariableBinding>();
    node->kind = kind;
    VariableBinding* made = node.get();
    AppendNode(std::move(node));
    return made;
  } catch (const std::bad_alloc&) {
    Fail(compile_message::kNodeMemory);
    return nullptr;
  }
}

bool Compilation::Run() {
  if (text_.find("...") != std::string_view::npos) return Fail(compile_message::kEllipsis);
  if (text_.empty()) return Fail(compile_message::kInvalid);
  while (!AtEnd()) {
    char c = text_[position_];
    if (inName_ && !IsLetter(c) && !IsDigit(c) && c != '.') {
      bool textEnded = false;
      if (!EndName(&textEnded)) return false;
      if (textEnded) break;
    } else if (!ScanCharacter(c)) {
      return false;
    }
    if (TooManyNodes()) return Fail(compile_message::kTooMany);
    ++position_;
  }
  if (inName_) {
    bool wasCall = false;
    inName_ = false;
    if (!ResolveName(text_.substr(nameStart_, nameLength_), &wasCall)) return false;
  }
  if (TooManyNodes()) return Fail(compile_message::kTooMany);
  if (opened_ != closed_) return Fail(compile_message::kParenthesis);
  if (expectOperand_) return Fail(compile_message::kInvalid);
  return true;
}

// Every character but the one that ends an open name.
bool Compilation::ScanCharacter(char c) {
  if (IsLetter(c)) {
    if (!expectOperand_ && !inName_) return Fail(compile_message::kInvalid);
    if (!inName_) {
      inName_ = true;
      nameStart_ = position_;
      nameLength_ = 0;
    }
    ++nameLength_;
    expectOperand_ = false;
    return true;
  }
  if (IsDigit(c) || c == '.') {
    if (inName_) {
      ++nameLength_;
      return true;
    }
    if (!expectOperand_) return Fail(compile_message::kInvalid);
    return Number();
  }
  if (c == ' ') return true;
  if (IsOperator(c) && expectOperand_) {
    if (c == '*' || c == '/') return Fail(compile_message::kInvalid);
    if (c == '-') {
      VariableBinding* minusOne = NewNode(kNodeConstant);
      if (minusOne == nullptr) return false;
      minusOne->name = "Const";
      minusOne->value = -1.0F;
      compiled_.push_back('*');
      InfoBox(context_.screen, compile_message::kNegation);
    } else {
      compiled_.push_back('+');
    }
    return true;
  }
  if (IsOperator(c)) {
    compiled_.push_back(c);
    expectOperand_ = true;
    return true;
  }
  if (c == '(' && expectOperand_) {
    compiled_.push_back(c);
    ++opened_;
    return true;
  }
  if (c == ')' && !expectOperand_) {
    compiled_.push_back(c);
    ++closed_;
    return true;
  }
  return Fail(compile_message::kInvalid);
}

// A number: its value is the longest leading decimal number (a lone point
// reads as 0), its text the whole run of digits and points, so 2.5.3 is one
// number worth 2.5. The value is rounded to a 32-bit float.
bool Compilation::Number() {
  size_t end = position_;
  while (end < text_.size() && IsDigit(text_[end])) ++end;
  if (end < text_.size() && text_[end] == '.') {
    ++end;
    while (end < text_.size() && IsDigit(text_[end])) ++end;
  }
  double value = ReadDecimal(text_.substr(position_, end - position_));
  while (end < text_.size() && (IsDigit(text_[end]) || text_[end] == '.')) ++end;
  VariableBinding* constant = NewNode(kNodeConstant);
  if (constant == nullptr) return false;
  constant->name = "Const";
  constant->value = static_cast<float>(value);
  position_ = end - 1;  // the scan loop steps past the last character
  expectOperand_ = false;
  return true;
}

// The character at the scan position ends the open name. After a function
// call the scan stands behind the call's ")" instead, and the character there
// is handled the same way; *textEnded says the call ended the text.
bool Compilation::EndName(bool* textEnded) {
  bool wasCall = false;
  inName_ = false;
  if (!ResolveName(text_.substr(nameStart_, nameLength_), &wasCall)) return false;
  if (wasCall && AtEnd()) {
    *textEnded = true;
    return true;
  }
  char c = text_[position_];
  if (c != ' ') compiled_.push_back(c);
  if (c == '(') return Fail(compile_message::kInvalid);
  if (c == ')') {
    ++closed_;
  } else if (IsOperator(c)) {
    expectOperand_ = true;
  } else if (c != ' ') {
    return Fail(compile_message::kInvalid);
  }
  return true;
}

// A function's name makes a call; a name the output already has (compared
// without regard to case) reuses its node; any other name is a new variable.
bool Compilation::ResolveName(std::string_view name, bool* wasCall) {
  if (const BuiltinFunction* function = LookupFunction(name)) {
    *wasCall = true;
    return CompileCall(*function);
  }
  for (auto& node : output_.variables) {
    if (!node->name.empty() && EqualIgnoringCase(node->name, name)) {
      compiled_.push_back(static_cast<char>(node->code));
      return true;
    }
  }
  VariableBinding* variable = NewNode(kNodeInput);
  if (variable == nullptr) return false;
  variable->name = std::string(name);
  int32_t& next = context_.job.nextControlId;
  for (int32_t& id : variable->controlIds) id = next++;
  return true;
}

// The scan stands just behind the function's name. The call text runs from
// there to the ")" that brings the parentheses level, blanks before the "("
// included; the scan position ends behind it.
bool Compilation::CompileCall(const BuiltinFunction& function) {
  std::unique_ptr<VariableBinding> node;
  try {
    node = std::make_unique<VariableBinding>();
  } catch (const std::bad_alloc&) {
    return Fail(compile_message::kNodeMemory);
  }
  node->handler = &function;
  size_t start = position_;
  int opened = 0;
  int closed = 0;
  while (!AtEnd()) {
    char c = text_[position_];
    if (opened == 0 && c != ' ' && c != '(') return Fail(compile_message::kParenthesis);
    ++position_;
    if (c == '(') ++opened;
    if (c == ')') ++closed;
    if (opened > 0 && opened == closed) break;
  }
  if (opened != closed) return Fail(compile_message::kParenthesis);
  std::string_view callText = text_.substr(start, position_ - start);
  if (!CompileArguments(function, callText, *node)) return false;
  VariableBinding& call = *node;
  AppendNode(std::move(node));
  if (function.kind == kFilterFunction) CreateFilter(context_, output_, call);
  return true;
}

// Splits the call text at its top-level commas. With one argument the whole
// call text, parentheses included, is the argument; otherwise argument k runs
// from behind the "(" or the (k-1)-th comma to the next comma, the last one to
// the closing ")". A missing comma leaves the rest of the call text to the
// argument (POW(A) compiles "A)" and fails on its parenthesis).
bool Compilation::CompileArguments(const BuiltinFunction& function, std::string_view callText,
                                   VariableBinding& node) {
  size_t open = callText.find('(');
  std::vector<size_t> commas;
  int depth = 0;
  for (size_t i = 0; i < callText.size(); ++i) {
    if (callText[i] == '(') ++depth;
    if (callText[i] == ')') --depth;
    if (callText[i] == ',' && depth == 1) commas.push_back(i);
  }
  size_t count = static_cast<size_t>(function.argumentCount);
  if (function.kind == kListFunction) {
    count = commas.size() + 1;
    node.kind = kNodeListFunction;
    node.argCount = static_cast<int32_t>(count);
    node.argValues.assign(count, 0.0);
  } else {
    node.kind = kNodeFunction;
  }
  size_t close = callText.empty() || callText.back() != ')' ? callText.size() : callText.size() - 1;
  for (size_t k = 0; k < count; ++k) {
    std::string_view argument = callText;
    if (count > 1) {
      size_t from = open == std::string_view::npos ? callText.size()
                    : k == 0                       ? open + 1
                    : k - 1 < commas.size()        ? commas[k - 1] + 1
                                                   : callText.size();
      size_t to = k + 1 == count        ? close
                  : k < commas.size()   ? commas[k]
                                        : callText.size();
      argument = from < to ? callText.substr(from, to - from) : std::string_view();
    }
    node.arguments.emplace_back();
    if (CompileFormula(context_, argument, node.arguments.back().compiled, output_) == 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

int CompileFormula(Context& context, std::string_view text, std::optional<std::string>& slot,
                   OutputDef& output) {
  slot.reset();
  try {
    slot.emplace();
    slot->reserve(text.size() + 1);
  } catch (const std::bad_alloc&) {
    ErrorBox(context.screen, compile_message::kNoMemory);
    return 0;
  }
  Compilation compilation(context, text, *slot, output);
  return compilation.Run() ? 1 : 0;
}

void ResetCompiledFormula(Context& context, OutputDef* output) {
  if (output != nullptr) {
    ReleaseFilters(context.filters, *output);
    output->compiled.reset();
    output->variables.clear();
  }
  context.job.nextControlId = kFirstGridControlId;
}

void DiscardAllOutputs(Context& context) {
  ReleaseAllOutputs(context.filters, context.job);
  context.editor.gridWindows.clear();
}

size_t RemoveFirstOccurrence(std::string& text, std::string_view part) {
  size_t found = text.find(part);
  if (found != std::string::npos) text.erase(found, part.size());
  return found;
}

}  // namespace quillex
