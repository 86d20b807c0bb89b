#include "libs/las/las_file.h"

#include "libs/las/las_lines.h"
#include "libs/las/las_number.h"

namespace las {

bool LasFile::IsVersion12() const {
  double number = 0;
  return ReadLasNumber(FirstLasWord(version), &number) && number < 2.0;
}

const LasHeaderLine* LasFile::FindWell(std::string_view mnemonic) const {
  for (const LasHeaderLine& line : well) {
    if (SameLasText(line.mnemonic, mnemonic)) return &line;
  }
  return nullptr;
}

}  // namespace las
