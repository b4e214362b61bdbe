// The resources built into rigbox-extract.exe, read back the way Windows
// reads them: the icon's twelve images, the manifest and the version (the
// logo shows in the window's screenshots).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "support/version.h"
#include "windows_api.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE Width;
  BYTE Height;
  BYTE ColorCount;
  BYTE Reserved;
  WORD Planes;
  WORD BitCount;
  DWORD BytesInRes;
  WORD Id;
};
struct GroupIconDirectory {
  WORD Reserved;
  WORD Type;
  WORD Count;
  GroupIconEntry Entries[1];
};
#pragma pack(pop)

class Win32Resources : public testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(L"" RIGBOX_EXTRACT_EXE, nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "cannot open " << RIGBOX_EXTRACT_EXE;
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  std::string Bytes(LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module_, name, type);
    if (found == nullptr) return std::string();
    auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(data, SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

// The colour depths the build put in, in bits per pixel (4, 8 and 32
// unless it was told otherwise).
const std::vector<int> kDepths = RIGBOX_ICON_DEPTHS;

TEST_F(Win32Resources, IconHasFourSizesInEachColourDepth) {
  std::string group = Bytes(MAKEINTRESOURCEW(IDI_RIGBOX), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  const auto* directory = reinterpret_cast<const GroupIconDirectory*>(group.data());
  ASSERT_EQ(directory->Type, 1);
  ASSERT_EQ(directory->Count, 4 * kDepths.size());
  ASSERT_EQ(group.size(), 6u + directory->Count * sizeof(GroupIconEntry));
  std::vector<std::pair<int, int>> images;  // size, bits
  for (int i = 0; i < directory->Count; ++i) {
    const GroupIconEntry& entry = directory->Entries[i];
    images.emplace_back(entry.Width, entry.BitCount);
    EXPECT_EQ(entry.Width, entry.Height);
    EXPECT_EQ(entry.ColorCount, entry.BitCount == 4 ? 16 : 0);
    // Every image is one Windows can make an icon of, at its own size.
    std::string image = Bytes(MAKEINTRESOURCEW(entry.Id), MAKEINTRESOURCEW(3));  // RT_ICON
    ASSERT_EQ(image.size(), entry.BytesInRes);
    HICON icon =
        CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()),
                                 TRUE, 0x00030000, entry.Width, entry.Height, 0);
    EXPECT_NE(icon, nullptr) << "image " << entry.Id;
    DestroyIcon(icon);
  }
  std::vector<std::pair<int, int>> expected;
  for (int size : {16, 24, 32, 48}) {
    for (int bits : kDepths) expected.emplace_back(size, bits);
  }
  EXPECT_EQ(images, expected);
}

TEST_F(Win32Resources, ManifestAndVersionInformation) {
  std::string manifest = Bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  for (const char* needed :
       {"Microsoft.Windows.Common-Controls", "PerMonitorV2, PerMonitor", "true/pm", "<longPathAware",
        "level=\"asInvoker\"", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(needed), std::string::npos) << needed;
  }
  // The version --version prints.
  std::string version = Bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  std::wstring text(reinterpret_cast<const wchar_t*>(version.data()), version.size() / sizeof(wchar_t));
  EXPECT_NE(text.find(L"" RIGBOX_VERSION_TEXT), std::wstring::npos);
}

}  // namespace
