// The installer with the car's name and icon, rebuilt by the rigbox tool and
// read back the way Windows reads it: Explorer's version strings, the icon,
// the other resources, and the program still starting.
#include "pe_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "resource_ids.h"
#include "support/version.h"
#include "windows_api.h"
// After <windows.h>, which it needs.
#include <imagehlp.h>

namespace {

using rigbox_tool::InputFile;
using rigbox_tool::RebuildStubResources;
using rigbox_tool::StubDetails;

InputFile Load(const std::string& path) {
  std::string bytes = testing_support::ReadFile(path);
  return {path, std::vector<uint8_t>(bytes.begin(), bytes.end())};
}

// The little-endian number of size bytes at at.
template <typename Bytes>
uint32_t Le(const Bytes& bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

std::string Resource(HMODULE module, WORD id, WORD type) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
  if (found == nullptr) return "<none>";
  return std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                     SizeofResource(module, found));
}

std::wstring VersionString(const std::vector<char>& info, const std::wstring& key) {
  void* value = nullptr;
  UINT length = 0;
  std::wstring path = L"\\StringFileInfo\\040904B0\\" + key;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length)) return L"<none>";
  return static_cast<const wchar_t*>(value);
}

class Win32RebuiltStub : public testing::Test {
 protected:
  // The stub rebuilt with details (and the test's icon when withIcon), at path.
  void Rebuild(const StubDetails& details, bool withIcon) {
    auto rebuilt =
        RebuildStubResources(stub_, details, withIcon ? std::optional(Load(RIGBOX_TEST_ICON)) : std::nullopt);
    ASSERT_TRUE(rebuilt) << rebuilt.Error().Message();
    testing_support::WriteFile(path_, std::string(rebuilt->begin(), rebuilt->end()));
    std::vector<char> info(GetFileVersionInfoSizeW(path_.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    info_ = info;
  }
  HMODULE Open(const std::wstring& path) {
    HMODULE module =
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    modules_.push_back(module);
    return module;
  }
  void TearDown() override {
    for (HMODULE module : modules_) FreeLibrary(module);
  }

  InputFile stub_ = Load(RIGBOX_EXTRACT_EXE);
  testing_support::TempDir dir_;
  std::wstring path_ = (dir_ / "car-setup.exe").wstring();
  std::vector<char> info_;
  std::vector<HMODULE> modules_;
};

TEST_F(Win32RebuiltStub, NamesTheCarAndShowsItsIconAndStillRuns) {
  Rebuild({"Żuk Rally ü", "2.1 beta", "Ann Author"}, true);
  EXPECT_EQ(VersionString(info_, L"FileDescription"), L"Żuk Rally ü");
  EXPECT_EQ(VersionString(info_, L"ProductName"), L"Żuk Rally ü");
  EXPECT_EQ(VersionString(info_, L"ProductVersion"), L"2.1 beta");
  EXPECT_EQ(VersionString(info_, L"CompanyName"), L"Ann Author");
  EXPECT_EQ(VersionString(info_, L"FileVersion"), L"" RIGBOX_VERSION_TEXT);
  EXPECT_EQ(VersionString(info_, L"OriginalFilename"), L"rigbox-extract.exe");

  HMODULE original = Open(L"" RIGBOX_EXTRACT_EXE), rebuilt = Open(path_);
  ASSERT_TRUE(original && rebuilt);
  EXPECT_EQ(Resource(rebuilt, 1, 24), Resource(original, 1, 24));              // the manifest
  EXPECT_EQ(Resource(rebuilt, IDB_LOGO, 2), Resource(original, IDB_LOGO, 2));  // the logo
  // The fixed file information, after the 6-byte head and the key "VS_VERSION_INFO".
  EXPECT_EQ(Resource(rebuilt, 1, 16).substr(40, 52), Resource(original, 1, 16).substr(40, 52));
  std::string oldGroup = Resource(original, IDI_RIGBOX, 14), group = Resource(rebuilt, IDI_RIGBOX, 14);
  std::string ico = testing_support::ReadFile(RIGBOX_TEST_ICON);
  ASSERT_EQ(group.substr(0, 6), ico.substr(0, 6));
  ASSERT_EQ(group.size(), 6 + 14 * Le(ico, 4, 2));
  for (size_t i = 0; 6 + 14 * i < group.size(); ++i) {
    EXPECT_EQ(group.substr(6 + 14 * i, 12), ico.substr(6 + 16 * i, 12));
    auto id = static_cast<WORD>(Le(group, 18 + 14 * i, 2));
    EXPECT_EQ(Resource(rebuilt, id, 3), ico.substr(Le(ico, 18 + 16 * i, 4), Le(ico, 14 + 16 * i, 4))) << id;
  }
  // The stub's own images are gone.
  for (size_t i = 0; 6 + 14 * i < oldGroup.size(); ++i) {
    auto id = static_cast<WORD>(Le(oldGroup, 18 + 14 * i, 2));
    EXPECT_EQ(Resource(rebuilt, id, 3), "<none>") << "image " << id;
  }

  DWORD header = 0, computed = 0;
  ASSERT_EQ(MapFileAndCheckSumW(path_.c_str(), &header, &computed), CHECKSUM_SUCCESS);
  EXPECT_EQ(header, computed);
  std::wstring command = L"\"" + path_ + L"\" --version";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
  WaitForSingleObject(process.hProcess, 30000);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(status, 0u);
}

TEST_F(Win32RebuiltStub, EmptyDetailsAndNoIconLeaveThemAsTheyAre) {
  Rebuild({"", "3.0", ""}, false);
  EXPECT_EQ(VersionString(info_, L"FileDescription"), L"RIGBOX Extract");
  EXPECT_EQ(VersionString(info_, L"ProductVersion"), L"3.0");
  EXPECT_EQ(VersionString(info_, L"CompanyName"), L"<none>");
  HMODULE original = Open(L"" RIGBOX_EXTRACT_EXE), rebuilt = Open(path_);
  EXPECT_EQ(Resource(rebuilt, IDI_RIGBOX, 14), Resource(original, IDI_RIGBOX, 14));
}

TEST_F(Win32RebuiltStub, RefusesWhatItCannotUse) {
  std::string ico = testing_support::ReadFile(RIGBOX_TEST_ICON);
  std::string noImage = ico.substr(0, 4) + std::string(2, '\0');
  std::string badImage = ico;
  badImage[Le(ico, 18, 4)] = 'x';  // the first image's header size
  // The stub with byte 2 of data directory index set to value.
  auto stub = [&](size_t index, uint8_t value) {
    InputFile changed{"x.exe", stub_.Bytes};
    changed.Bytes[Le(changed.Bytes, 0x3C, 4) + 24 + 96 + 8 * index + 2] = value;
    return changed;
  };
  InputFile appended{"x.exe", stub_.Bytes};
  appended.Bytes.push_back(0);
  const std::string q = "\"car.ico\" is not an icon file: ",
                    x = "Cannot rebuild the resources of \"x.exe\": ";
  struct Case {
    InputFile Stub;
    std::string Icon, Name, Message;
  } cases[] = {
      {stub_, ico.substr(6), "", q + "it lacks the icon header"},
      {stub_, noImage, "", q + "it holds no image"},
      {stub_, ico.substr(0, 6 + 16), "", q + "its directory is cut short"},
      {stub_, ico.substr(0, ico.size() - 1), "",
       q + "image " + std::to_string(Le(ico, 4, 2)) + " lies outside the file"},
      {stub_, badImage, "", q + "image 1 is neither a bitmap nor a PNG"},
      {{"car.ico", {ico.begin(), ico.end()}}, ico, "", "\"car.ico\" is not a PE program"},
      {stub(2, 0), ico, "", "\"x.exe\" has no resource section"},
      {stub(4, 1), ico, "", x + "it is signed; give the program as it was before signing"},
      {stub(6, 0x7F), ico, "", x + "data directory 6 lies after the resources"},
      {appended, ico, "", x + "it holds data after its last section"},
      {stub_, ico, "\xC5", "The name is not UTF-8 text"},
      {stub_, ico, std::string(4097, 'a'),
       "The name is too long for a version resource: 4097 UTF-16 units, at most 4096"},
  };
  for (const Case& c : cases) {
    auto rebuilt =
        RebuildStubResources(c.Stub, {c.Name, "", ""}, InputFile{"car.ico", {c.Icon.begin(), c.Icon.end()}});
    ASSERT_FALSE(rebuilt) << c.Message;
    EXPECT_EQ(rebuilt.Error().Message(), c.Message);
  }
}

}  // namespace
