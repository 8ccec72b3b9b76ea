#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"

namespace {

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

int ImagesIn(int bitmapId, int size) {
  HIMAGELIST list = ImageList_LoadImageW(Module(), MAKEINTRESOURCEW(bitmapId), size, 0, CLR_NONE, IMAGE_BITMAP,
                                         LR_CREATEDIBSECTION);
  if (!list) {
    return -1;
  }
  const int count = ImageList_GetImageCount(list);
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(list, &width, &height);
  ImageList_Destroy(list);
  return width == size && height == size ? count : -2;
}

bool IconLoads(int id, int size) {
  HICON icon = static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  if (!icon) {
    return false;
  }
  ICONINFO info{};
  bool ok = ::GetIconInfo(icon, &info) != FALSE;
  if (ok) {
    BITMAP colour{};
    ok = info.hbmColor && ::GetObjectW(info.hbmColor, sizeof colour, &colour) && colour.bmWidth == size;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  ::DestroyIcon(icon);
  return ok;
}

TEST(Resources, ToolbarStripHoldsFifteenImagesOf22) {
  EXPECT_EQ(ImagesIn(IDB_TOOLBAR, 22), 15);
  EXPECT_EQ(ImagesIn(IDB_TOOLBAR_150, 33), 15);
  EXPECT_EQ(ImagesIn(IDB_TOOLBAR_200, 44), 15);
}

TEST(Resources, MenuStripHoldsItsImagesOf16) {
  EXPECT_EQ(ImagesIn(IDB_MENU_IMAGES, 16), MENU_IMAGE_COUNT);
}

TEST(Resources, ToolbarStripCarriesAnAlphaChannel) {
  HBITMAP strip = static_cast<HBITMAP>(
      ::LoadImageW(Module(), MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(strip, nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(::GetObjectW(strip, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  const auto* pixels = static_cast<const BYTE*>(dib.dsBm.bmBits);
  int transparent = 0;
  int opaque = 0;
  for (int i = 0; i < dib.dsBm.bmWidth * dib.dsBm.bmHeight; ++i) {
    const BYTE alpha = pixels[4 * i + 3];
    transparent += alpha == 0;
    opaque += alpha == 255;
  }
  EXPECT_GT(transparent, 0);
  EXPECT_GT(opaque, 0);
  ::DeleteObject(strip);
}

TEST(Resources, ProgramTrayAndAnimationIconsLoadAtTheirSizes) {
  for (int size : {16, 32, 48}) {
    EXPECT_TRUE(IconLoads(IDI_APP, size)) << size;
  }
  for (int size : {16, 32}) {
    EXPECT_TRUE(IconLoads(IDI_TRAY_NORMAL, size)) << size;
    EXPECT_TRUE(IconLoads(IDI_TRAY_CHECKING, size)) << size;
  }
  for (int frame = 0; frame < TRAY_ANIM_FRAMES; ++frame) {
    EXPECT_TRUE(IconLoads(IDI_TRAY_ANIM_FIRST + frame, 16)) << frame;
  }
}

TEST(Resources, UpdateSoundLiesNextToTheProgram) {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring wav(path, n);
  wav = wav.substr(0, wav.find_last_of(L"\\/") + 1) + L"norv.wav";
  HANDLE file = ::CreateFileW(wav.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char header[12] = {};
  DWORD read = 0;
  ::ReadFile(file, header, sizeof header, &read, nullptr);
  ::CloseHandle(file);
  ASSERT_EQ(read, sizeof header);
  EXPECT_EQ(std::string(header, 4), "RIFF");
  EXPECT_EQ(std::string(header + 8, 4), "WAVE");
}

}  // namespace
