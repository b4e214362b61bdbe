#include "wizard/wizard_fixture.h"

#include "package/package_bytes.h"
#include "package/rigbox.h"
#include "support/crc32c.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace wizard_testing {

std::vector<CarFile> SampleCar(const std::string& carId) {
  return {
      {"", "Cars.scr", "// car " + carId + "\r\n"},
      {"", "Icons.scr", "// icons\r\n"},
      {"", "Parts.scr", "// parts\r\n"},
      {"", "Texts.scr", "// texts\r\n"},
      {"Textures", "body.txt", std::string(5000, 'b')},
  };
}

void MakeInstaller(const fs::path& installer, const std::string& carId, const std::vector<CarFile>& files,
                   bool checked) {
  fs::path staging = installer.string() + ".files";
  fs::path package = installer.string() + ".rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(modRIGBOX::kModeCreate, package.string(), carId, 0))
      << modRIGBOX::LastErrText;
  for (const CarFile& file : files) {
    fs::path source = staging / file.SubFolder / file.Name;
    WriteFile(source, file.Bytes);
    ASSERT_TRUE(modRIGBOX::AddPackageFile(source.string(), file.SubFolder, file.Name))
        << modRIGBOX::LastErrText;
  }
  ASSERT_TRUE(modRIGBOX::ClosePackage()) << modRIGBOX::LastErrText;

  std::string bytes = ReadFile(package);
  std::vector<uint8_t> record;
  if (checked)
    record = modRIGBOX::SerializeInstallerRecord(
        {static_cast<uint32_t>(bytes.size()), support::Crc32c(0, bytes.data(), bytes.size()), "", "", ""});
  std::string stub = "MZ" + std::string(22, 'x') + std::string(record.begin(), record.end());
  WriteFile(installer, stub + bytes + package_bytes::Le32(static_cast<int32_t>(stub.size() + 1)));
  fs::remove_all(staging);
  fs::remove(package);
}

void MakeGameFolder(const fs::path& folder) {
  WriteFile(folder / "Gravelon.exe", "MZ game");
  for (std::string script : {"Cars.scr", "Parts.scr", "Texts.scr", "Icons.scr"})
    WriteFile(folder / "Data/Cars" / script, "!include(\"BMX\\\\" + script + "\")\r\n\r\n");
  WriteFile(folder / "Data/Texts.scr", "!include(\"Menu\\\\Texts.scr\")\r\n");
  WriteFile(folder / "Data/Menu/uidef/Textures.def", "// textures\r\n");
}

}  // namespace wizard_testing
