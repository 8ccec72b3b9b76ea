#include "settings/startup_entry.h"

#include "base/text_basics.h"
#include "resources/strings.h"

namespace norv {

namespace {

std::string ProgramPath(std::string_view programFolder) {
  return std::string(programFolder) + std::string(text::kProgramFile);
}

}  // namespace

std::string StartupEntryCommand(std::string_view programFolder) {
  return "\"" + ProgramPath(programFolder) + "\"";
}

// Windows paths ignore letter case; only ASCII letters are compared so, as
// the file system's own rule for non-ASCII names is not ours to guess.
bool IsBareStartupEntry(std::string_view entry, std::string_view programFolder) {
  return UpperAscii(TrimControls(entry)) == UpperAscii(ProgramPath(programFolder));
}

}  // namespace norv
