#include "app/program_message.h"

#include "resources/strings.h"

namespace norv {

std::string ProgramMessageText(int code, int number) {
  using namespace text;
  switch (code) {
    case 1:
      return std::string(kExitQuestion);
    case 2:
      return std::string(kBusyNotExported) + "\n" + std::string(kNotExported);
    case 3:
      return std::string(kErrorOccurred) + std::string(kNotExported);
    case 4:
      return std::string(kCsvWritten);
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
      return std::string(kConversionCompanions[code - 5]) + std::string(kConversionError) +
             std::string(kNotExported);
    case 10:
      return std::string(kInitFailed) + std::string(kBracketOpen) + std::to_string(number) +
             std::string(kBracketClose);
    default:
      return {};
  }
}

std::string MessageUtilityParameters(int code, int number) {
  std::string parameters = std::to_string(code - kFirstUtilityCode);
  if (number > 0) {
    parameters += ' ';
    parameters += std::to_string(number);
  }
  return parameters;
}

std::string MessageUtilityWinsParameters(std::string_view winText) {
  std::string parameters = std::to_string(kWinsUtilityCode);
  parameters += ' ';
  parameters += winText;
  return parameters;
}

}  // namespace norv
