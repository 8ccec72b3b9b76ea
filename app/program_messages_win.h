#pragma once
// The program's numbered messages: boxes below code 100, the maker's message
// utility from 100 on. Callable from the window thread and the checker thread.

#include <string>

namespace norv {

// True when the box was answered with Yes (code 1) or OK.
bool ShowProgramMessage(int code, int number);

// The message utility naming new wins ("マイ数字が当せんしました" and a line each).
void ShowWinsMessage(const std::string& winText);

}  // namespace norv
