#include "formula/dump.h"

#include <cstdio>

#include "curvedata/context.h"
#include "formula/builtin_functions.h"

namespace quillex {

std::string DumpCompiledText(const std::string& compiled) {
  std::string text;
  for (char c : compiled) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 128) {
      text.push_back(c);
    } else {
      text += "#" + std::to_string(byte);
    }
  }
  return text;
}

namespace {

std::string NodeLine(Context& context, const VariableBinding& node) {
  char value[64];
  std::snprintf(value, sizeof value, "%.9g", static_cast<double>(node.value));
  std::string line = "#" + std::to_string(node.code) + " kind=" + std::to_string(node.kind) +
                     " name=" + (node.name.empty() ? "-" : node.name) + " value=" + value;
  bool call = node.kind == kNodeFunction || node.kind == kNodeListFunction ||
              node.kind == kNodeFilter;
  if (call && node.handler != nullptr) {
    line += std::string(" function=") + node.handler->name +
            " args=" + std::to_string(node.arguments.size());
  }
  if (node.kind == kNodeFilter) {
    line += " filter=\"" + sift32::Sift32Specification(context.filters, node.filter) + "\"";
  }
  return line + "\n";
}

}  // namespace

std::string DumpFormula(Context& context, const OutputDef& output) {
  std::string text = "compiled: " + DumpCompiledText(output.compiled.value_or("")) + "\n";
  for (const auto& node : output.variables) text += NodeLine(context, *node);
  return text;
}

}  // namespace quillex
