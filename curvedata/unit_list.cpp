#include "curvedata/unit_list.h"

#include <algorithm>

#include "curvedata/context.h"
#include "model/message_box.h"

namespace quillex {

namespace {

// The entries the count covers; a count beyond the list is never trusted.
size_t EntryCount(const Context& context) {
  return std::min(context.units.size(), static_cast<size_t>(std::max(context.unitCount, 0)));
}

}  // namespace

void LoadUnitList(Context& context) {
  corutil::CorutilLoadUnits(dorvex::DorvexUnits(context.dorvex), &context.units, &context.unitCount, 1);
}

void FreeUnitList(Context& context) { corutil::CorutilFreeUnits(&context.units, &context.unitCount); }

int32_t UnitPosition(const Context& context, int32_t code) {
  for (size_t i = 0; i < EntryCount(context); ++i) {
    if (context.units[i].code == code) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string UnitMnemonicAt(const Context& context, int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= EntryCount(context)) return "";
  return context.units[static_cast<size_t>(position)].mnemonic;
}

std::string UnitMnemonicOf(const Context& context, int32_t code) {
  return UnitMnemonicAt(context, UnitPosition(context, code));
}

std::string UnitNameOf(const Context& context, int32_t code) {
  int32_t position = UnitPosition(context, code);
  return position < 0 ? "" : context.units[static_cast<size_t>(position)].name;
}

int32_t UnitCodeOfName(const Context& context, const std::string& name) {
  std::string wanted = name;
  if (TrimSpaces(wanted).empty()) return 0;
  for (size_t i = 0; i < EntryCount(context); ++i) {
    if (context.units[i].name == wanted) return context.units[i].code;
  }
  return 0;
}

std::vector<std::string> UnitNames(const Context& context) {
  std::vector<std::string> names;
  for (size_t i = 0; i < EntryCount(context); ++i) names.push_back(context.units[i].name);
  return names;
}

std::string UnitLabel(Context& context, int32_t code) {
  return dorvex::DorvexUnitLabel(context.dorvex, code);
}

std::string IndexUnitLabel(Context& context) {
  int32_t code = context.runMode == 0 ? dorvex::kUnitSeconds
                 : context.metric     ? dorvex::kUnitMetres
                                      : dorvex::kUnitFeet;
  return UnitLabel(context, code);
}

}  // namespace quillex
