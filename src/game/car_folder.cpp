#include "game/car_folder.h"

#include <string_view>

#include "support/platform.h"

namespace game {

bool IsUsableFolderName(const std::string& carId) {
  // Windows drops trailing dots and blanks from a name: "AB " would be the
  // folder "AB", and a name of dots alone is the folder itself or its parent.
  if (carId.empty() || carId.back() == '.' || carId.back() == ' ') return false;
  constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  for (char c : carId) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || kForbidden.find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool MayWriteCarsFolder(const std::string& gameFolder) {
  std::string probe = gameFolder + "Data\\Cars\\rigbox-probe.tmp";
  platform::File file;
  // Made new, so a link planted at the name leads nowhere.
  if (!platform::ClearName(probe) || !file.Open(probe, platform::OpenMode::CreateNew))
    return platform::LastError().Number != platform::kErrPermissionDenied;
  file.Close();
  platform::DeleteFile(probe);
  return true;
}

}  // namespace game
