// The unit list: the units a user can choose, with their names, job-file
// mnemonics and codes.
//
// The list is a copy of the library's unit table taken once, when the main
// window opens, and kept in the context until exit; dialogs look units up in
// it many times. Names are what the user sees and picks, so a name is looked
// up exactly as shown (case matters); mnemonics are what job files keep.
// Filling a combo box is the window's business: it gets the names in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillex {

struct Context;

void LoadUnitList(Context& context);
void FreeUnitList(Context& context);

// The place of a code in the list, or -1.
int32_t UnitPosition(const Context& context, int32_t code);
// The mnemonic at a place in the list; "" outside it.
std::string UnitMnemonicAt(const Context& context, int32_t position);
// The mnemonic and the name of a code; "" when the code is not in the list.
std::string UnitMnemonicOf(const Context& context, int32_t code);
std::string UnitNameOf(const Context& context, int32_t code);
// The code of a name, trimmed and compared exactly; 0 for an empty name or
// one the list does not hold.
int32_t UnitCodeOfName(const Context& context, const std::string& name);
// The library's label of a unit code ("ft", "GAPI"), as reports show it.
std::string UnitLabel(Context& context, int32_t code);

// The label of the unit depths or times are shown in: seconds in a time
// run, else feet or metres as the settings say.
std::string IndexUnitLabel(Context& context);

// Every name, in list order.
std::vector<std::string> UnitNames(const Context& context);

}  // namespace quillex
