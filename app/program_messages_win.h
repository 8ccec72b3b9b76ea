#pragma once
// The program's numbered messages: boxes below code 100, the maker's message
// utility from 100 on. Callable from the window thread and the checker thread.

namespace norv {

// True when the box was answered with Yes (code 1) or OK.
bool ShowProgramMessage(int code, int number);

}  // namespace norv
