#pragma once
// The program's one display of an exception that escaped a handler.

#include <windows.h>

#include <string>

namespace norv {

// Who owns the box and what its caption says; the program sets them once at
// start (the main window, and the product name). Without them the box has
// no owner and the system's caption.
using ExceptionOwner = HWND (*)();
void SetExceptionReport(ExceptionOwner owner, std::wstring caption);

// Call inside a catch block. A message box, error icon, with the exception's
// text (empty for an exception of unknown type); at most once per burst,
// never nested in another one. Window thread only.
void ShowEscapedException() noexcept;

}  // namespace norv
