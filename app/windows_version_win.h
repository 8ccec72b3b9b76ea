#pragma once

#include "app/windows_version.h"

namespace norv {

// The running Windows, as reported by the kernel rather than the
// compatibility-shimmed GetVersionEx.
WindowsLook ReadWindowsLook();

}  // namespace norv
