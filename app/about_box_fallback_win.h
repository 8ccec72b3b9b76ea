#pragma once
// Stand-in declaration of the about box until about/ is merged.

#include <windows.h>

#include <functional>

namespace norv {

void OpenAboutBox(HWND mainWindow, bool fromOptions, std::function<void()> onClosed);

}  // namespace norv
