// The rules a car ID must meet before it is installed as a new car.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace game {

// The verdicts are the string IDs of the messages that name the reason.
inline constexpr int16_t kCarIdNew = 0;
inline constexpr int16_t kCarIdInvalid = 10004;
inline constexpr int16_t kCarIdReserved = 10007;
inline constexpr int16_t kCarIdInstalled = 10008;

// kCarIdInvalid when shorter than three characters or holding a character
// outside the valid set, kCarIdReserved for one of the game's own cars,
// kCarIdInstalled when already listed, otherwise kCarIdNew. The checks run
// in that order, so the first rule broken decides.
int16_t CheckCarID(const std::string& carId, const std::vector<std::string>& installedCars);

}  // namespace game
