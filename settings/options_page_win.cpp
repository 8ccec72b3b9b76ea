#include <windows.h>
#include <uxtheme.h>

#include "resources/options_strings.h"
#include "settings/options_pages_win.h"

namespace norv {

HWND OptionsPage::Create(HWND frame) {
  const HWND page = CreateFromTemplate(Layout(), frame);
  // Under visual styles the page takes the tab body's background.
  ::EnableThemeDialogTexture(page, ETDT_ENABLETAB);
  return page;
}

// DS_CONTROL makes the page part of the frame's keyboard navigation.
DialogTemplate OptionsPage::EmptyPage() {
  return DialogTemplate(DS_CONTROL | WS_CHILD | WS_CLIPSIBLINGS, {0, 0, kPageWidth, kPageHeight}, "",
                        text::kOptionsFont, kOptionsFontPoints);
}

}  // namespace norv
