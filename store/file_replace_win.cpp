#include "store/file_replace.h"

#include <windows.h>

#include "base/unicode_win.h"
#include "store/durable_file.h"

namespace norv {

// One step that replaces the target in place of deleting it first: there is
// never a moment without a data file. It fails, leaving the target as it
// was, while another program holds the target open without delete sharing.
bool ReplaceWithTwin(const std::string& twinPath, const std::string& targetPath) {
  if (!::MoveFileExW(Widen(twinPath).c_str(), Widen(targetPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    RemoveFileQuietly(twinPath);
    return false;
  }
  return true;
}

}  // namespace norv
