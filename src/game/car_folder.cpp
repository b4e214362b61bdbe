#include "game/car_folder.h"

#include <string_view>

namespace game {

bool IsUsableFolderName(const std::string& carId) {
  constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  bool onlyDotsAndBlanks = true;
  for (char c : carId) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || kForbidden.find(c) != std::string_view::npos) return false;
    if (c != '.' && c != ' ') onlyDotsAndBlanks = false;
  }
  return !onlyDotsAndBlanks;
}

}  // namespace game
