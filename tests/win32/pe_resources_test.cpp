// The installer with the car's name and icon, rebuilt by the rigbox tool and
// read back the way Windows reads it: Explorer's version strings, the icon,
// the other resources, and the program still starting.
#include "pe_resources.h"

#include <gtest/gtest.h>

#include <cstring>

#include <map>
#include <set>
#include <string>
#include <tuple>
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

// Every resource of a module by type, name and language ("#3" for a number),
// as Windows enumerates and finds them.
using Resources = std::map<std::tuple<std::wstring, std::wstring, WORD>, std::string>;
std::wstring KeyText(LPCWSTR key) {
  return IS_INTRESOURCE(key) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(key)) : key;
}
BOOL CALLBACK AddLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR all) {
  HRSRC found = FindResourceExW(module, type, name, language);
  (*reinterpret_cast<Resources*>(all))[{KeyText(type), KeyText(name), language}] =
      found == nullptr ? "<not found>"
                       : std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                                     SizeofResource(module, found));
  return TRUE;
}
BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR all) {
  return EnumResourceLanguagesW(module, type, name, AddLanguage, all);
}
BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR all) {
  return EnumResourceNamesW(module, type, AddName, all);
}
// The resources but those of the types given.
Resources AllBut(HMODULE module, const std::set<std::wstring>& types) {
  Resources all;
  EnumResourceTypesW(module, AddType, reinterpret_cast<LONG_PTR>(&all));
  std::erase_if(all, [&](const auto& entry) { return types.count(std::get<0>(entry.first)) != 0; });
  return all;
}

std::wstring VersionString(const std::wstring& path, const std::wstring& key) {
  std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
  void* value = nullptr;
  UINT length = 0;
  std::wstring query = L"\\StringFileInfo\\040904B0\\" + key;
  if (info.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
      !VerQueryValueW(info.data(), query.c_str(), &value, &length)) {
    return L"<none>";
  }
  return static_cast<const wchar_t*>(value);
}

// The sections where the loader wants them, and the headers that sum them up.
void ExpectLaidOut(const InputFile& original, const std::vector<uint8_t>& rebuilt) {
  auto* before = ImageNtHeader(const_cast<uint8_t*>(original.Bytes.data()));
  auto* after = ImageNtHeader(const_cast<uint8_t*>(rebuilt.data()));
  ASSERT_TRUE(before && after);
  const auto& header = after->OptionalHeader;
  ASSERT_EQ(header.FileAlignment, before->OptionalHeader.FileAlignment);
  DWORD end = 0, rawGrowth = 0;
  for (WORD i = 0; i < after->FileHeader.NumberOfSections; ++i) {
    const IMAGE_SECTION_HEADER& section = IMAGE_FIRST_SECTION(after)[i];
    EXPECT_EQ(section.PointerToRawData % header.FileAlignment, 0u);
    EXPECT_EQ(section.SizeOfRawData % header.FileAlignment, 0u);
    EXPECT_EQ(section.VirtualAddress % header.SectionAlignment, 0u);
    EXPECT_GE(section.VirtualAddress, end);
    end = section.VirtualAddress + section.Misc.VirtualSize;
    const IMAGE_SECTION_HEADER& old = IMAGE_FIRST_SECTION(before)[i];
    rawGrowth += section.SizeOfRawData - old.SizeOfRawData;
    // Each section but the resources holds what it held, where its header says.
    auto bytes = [](const auto& file, const IMAGE_SECTION_HEADER& at) {
      return std::vector<uint8_t>(file.begin() + at.PointerToRawData,
                                  file.begin() + at.PointerToRawData + at.SizeOfRawData);
    };
    if (section.VirtualAddress != header.DataDirectory[2].VirtualAddress) {
      EXPECT_EQ(bytes(rebuilt, section), bytes(original.Bytes, old)) << section.Name;
    }
  }
  EXPECT_EQ(header.SizeOfImage,
            (end + header.SectionAlignment - 1) / header.SectionAlignment * header.SectionAlignment);
  EXPECT_EQ(header.SizeOfInitializedData - before->OptionalHeader.SizeOfInitializedData, rawGrowth);
}

class Win32RebuiltStub : public testing::Test {
 protected:
  // stub rebuilt with details (and the test's icon when withIcon), at path_.
  void Rebuild(const InputFile& stub, const StubDetails& details, bool withIcon) {
    auto rebuilt =
        RebuildStubResources(stub, details, withIcon ? std::optional(Load(RIGBOX_TEST_ICON)) : std::nullopt);
    ASSERT_TRUE(rebuilt) << rebuilt.Error().Message();
    ExpectLaidOut(stub, *rebuilt);
    testing_support::WriteFile(path_, std::string(rebuilt->begin(), rebuilt->end()));
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
  std::vector<HMODULE> modules_;
};

TEST_F(Win32RebuiltStub, NamesTheCarAndShowsItsIconAndStillRuns) {
  // UTF-8 of two, three and four bytes; U+10000 is the first that takes two UTF-16 units.
  Rebuild(stub_, {"Żuk Rally ü", "2.1 beta", "Ann → Aअ 🏁𐀀"}, true);
  EXPECT_EQ(VersionString(path_, L"FileDescription"), L"Żuk Rally ü");
  EXPECT_EQ(VersionString(path_, L"ProductName"), L"Żuk Rally ü");
  EXPECT_EQ(VersionString(path_, L"ProductVersion"), L"2.1 beta");
  EXPECT_EQ(VersionString(path_, L"CompanyName"), L"Ann → Aअ 🏁𐀀");
  EXPECT_EQ(VersionString(path_, L"FileVersion"), L"" RIGBOX_VERSION_TEXT);
  EXPECT_EQ(VersionString(path_, L"OriginalFilename"), L"rigbox-extract.exe");

  HMODULE original = Open(L"" RIGBOX_EXTRACT_EXE), rebuilt = Open(path_);
  ASSERT_TRUE(original && rebuilt);
  EXPECT_EQ(AllBut(rebuilt, {L"#3", L"#14", L"#16"}), AllBut(original, {L"#3", L"#14", L"#16"}));
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
  Rebuild(stub_, {"", "3.0", ""}, false);
  EXPECT_EQ(VersionString(path_, L"FileDescription"), L"RIGBOX Extract");
  EXPECT_EQ(VersionString(path_, L"ProductVersion"), L"3.0");
  EXPECT_EQ(VersionString(path_, L"CompanyName"), L"<none>");
  EXPECT_EQ(AllBut(Open(path_), {L"#16"}), AllBut(Open(L"" RIGBOX_EXTRACT_EXE), {L"#16"}));
}

// Named types and names, a name in two languages and a version resource
// without strings, which the stub lacks.
TEST_F(Win32RebuiltStub, KeepsNamedResourcesInEachLanguage) {
  Rebuild(Load(RIGBOX_RESOURCE_FIXTURE), {"Car", "", ""}, true);
  EXPECT_EQ(VersionString(path_, L"FileDescription"), L"Car");
  Resources kept = AllBut(Open(path_), {L"#3", L"#14", L"#16"}),
            original = AllBut(Open(L"" RIGBOX_RESOURCE_FIXTURE), {L"#16"});
  EXPECT_EQ(kept, original);
  EXPECT_EQ(original.size(), 4u);
  EXPECT_EQ(Resource(Open(path_), IDI_RIGBOX, 14).size(),
            6 + 14 * Le(testing_support::ReadFile(RIGBOX_TEST_ICON), 4, 2));
}

TEST_F(Win32RebuiltStub, RefusesWhatItCannotUse) {
  std::string ico = testing_support::ReadFile(RIGBOX_TEST_ICON);
  std::string noImage = ico.substr(0, 4) + std::string(2, '\0');
  std::string badImage = ico;
  badImage[Le(ico, 18, 4)] = 'x';  // the first image's header size
  // The stub with byte at of its data directories set to value.
  auto stub = [&](size_t at, uint8_t value) {
    InputFile changed{"x.exe", stub_.Bytes};
    changed.Bytes[Le(changed.Bytes, 0x3C, 4) + 24 + 96 + at] = value;
    return changed;
  };
  // Data directory 5 (the relocations) pointing inside the resources.
  InputFile inside{"x.exe", stub_.Bytes};
  const size_t directories = Le(inside.Bytes, 0x3C, 4) + 24 + 96;
  const uint32_t into = static_cast<uint32_t>(Le(inside.Bytes, directories + 8 * 2, 4)) + 0x20;
  std::memcpy(&inside.Bytes[directories + 8 * 5], &into, sizeof into);
  InputFile appended{"x.exe", stub_.Bytes}, broken{"x.exe", stub_.Bytes};
  appended.Bytes.push_back(0);
  // The first type's entry in the resource directory made to point at data.
  IMAGE_NT_HEADERS* nt = ImageNtHeader(broken.Bytes.data());
  static_cast<uint8_t*>(ImageRvaToVa(
      nt, broken.Bytes.data(), nt->OptionalHeader.DataDirectory[2].VirtualAddress, nullptr))[16 + 7] = 0;
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
      {stub(8 * 2 + 3, 0x7F), ico, "", "\"x.exe\" has no resource section"},
      {stub(8 * 4 + 2, 1), ico, "", x + "it is signed; give the program as it was before signing"},
      {stub(8 * 6 + 2, 0x7F), ico, "", x + "data directory 6 points into or after the resources"},
      {inside, ico, "", x + "data directory 5 points into or after the resources"},
      {{"x.exe", {stub_.Bytes.begin(), stub_.Bytes.begin() + 0x180}},
       ico,
       "",
       "\"x.exe\" is not a PE program: its headers are cut short"},
      {broken, ico, "", x + "its resource directory is malformed"},
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
