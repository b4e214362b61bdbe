#include "game/car_id.h"

#include "support/ascii_case.h"

namespace game {
namespace {

constexpr size_t kMinimumLength = 3;

// Z is missing and X is there twice: the set the game's tools have always
// accepted, kept as it is so that IDs valid before stay valid and no more.
constexpr char kValidCharacters[] = "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYX";

// The cars that come with the game, in the order they are compared.
constexpr const char* kReservedIds[] = {"BMX", "DRM", "FOC", "FPU", "GLV", "MLE", "MMS", "PGT", "SBI", "STC"};

bool IsValidCharacter(char c) {
  if (c == '\0') return false;
  for (const char* valid = kValidCharacters; *valid != '\0'; ++valid) {
    if (*valid == support::AsciiUpper(c)) return true;
  }
  return false;
}

}  // namespace

int16_t CheckCarID(const std::string& carId, const std::vector<std::string>& installedCars) {
  if (carId.size() < kMinimumLength) return kCarIdInvalid;
  for (char c : carId) {
    if (!IsValidCharacter(c)) return kCarIdInvalid;
  }
  // The ID itself, not its upper-case form, is compared from here on.
  for (const char* reserved : kReservedIds) {
    if (carId == reserved) return kCarIdReserved;
  }
  for (const std::string& installed : installedCars) {
    if (carId == installed) return kCarIdInstalled;
  }
  return kCarIdNew;
}

}  // namespace game
