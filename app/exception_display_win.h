#pragma once
// The program's one display of an exception that escaped a handler.

namespace norv {

// Call inside a catch block. A message box owned by the main window, caption
// Norvale, error icon, with the exception's text (empty for an exception of
// unknown type); at most once per burst, never nested in another one.
// Window thread only.
void ShowEscapedException() noexcept;

}  // namespace norv
