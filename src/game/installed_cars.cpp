#include "game/installed_cars.h"

#include "game/ini.h"
#include "support/platform.h"
#include "support/text_format.h"

namespace game {
namespace {

constexpr char kProfileFile[] = "Vehiforge.ini";
// Built beside the profile file, so the final rename stays on one disk.
constexpr char kProfileTempFile[] = "Vehiforge.ini.tmp";
constexpr char kSection[] = "Cars";
constexpr char kCountKey[] = "CarsCount";
constexpr char kIdKeyPrefix[] = "CarID";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<int16_t> ToInteger16(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // Anything past 32768 is out of range however it rounds, so the
  // magnitude is capped instead of overflowing.
  constexpr long kCap = 100000;
  long magnitude = 0;
  size_t digits = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
    if (magnitude < kCap) magnitude = magnitude * 10 + (text[pos] - '0');
  }
  int firstFraction = -1;  // first digit after the point, -1 for none
  bool restNonZero = false;
  if (pos < text.size() && text[pos] == '.') {
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
      if (firstFraction < 0) {
        firstFraction = text[pos] - '0';
      } else if (text[pos] != '0') {
        restNonZero = true;
      }
    }
  }
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (digits == 0 || pos != text.size()) return std::nullopt;
  bool roundUp = firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 == 1));
  if (roundUp) ++magnitude;
  long value = negative ? -magnitude : magnitude;
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<int16_t>(value);
}

bool LoadINI(const std::string& gameFolder, std::vector<std::string>& installedCars) {
  installedCars.clear();
  std::string fileName = gameFolder + kProfileFile;
  std::string countText = modINI::ReadINIString(kSection, kCountKey, fileName);
  if (countText.empty()) return false;
  std::optional<int16_t> count = ToInteger16(countText);
  if (!count) return false;
  // One parse serves every key: the file does not change in between, and a
  // long list is not searched again for each entry.
  std::optional<modINI::Profile> profile = modINI::LoadProfile(fileName);
  if (!profile) profile.emplace();
  modINI::SectionIndex cars(*profile, kSection);
  for (int n = 1; n <= *count; ++n) {
    const modINI::ProfileKey* key = cars.Find(kIdKeyPrefix + support::DecimalText(n));
    installedCars.push_back(key != nullptr && key->Value
                                ? modINI::BufferedValue(*key->Value, modINI::kValueBufferSize)
                                : std::string());
  }
  return true;
}

bool WriteINI(const std::string& gameFolder, const std::vector<std::string>& installedCars,
              ScriptFault* fault) {
  std::string fileName = gameFolder + kProfileFile;
  std::string tempName = gameFolder + kProfileTempFile;
  // The whole new file is built in memory, exactly as key-by-key writes
  // into a fresh file would leave it (the keys all differ), and written once.
  modINI::Profile profile;
  profile.Add(kSection, kCountKey, support::DecimalText(installedCars.size()));
  for (size_t n = 1; n <= installedCars.size(); ++n) {
    profile.Add(kSection, kIdKeyPrefix + support::DecimalText(n), installedCars[n - 1]);
  }
  // The new list is complete on disk before the old one goes, so a failure
  // anywhere leaves the old file as it was.
  if (std::optional<ScriptFault> why = ReplaceWholeFile(fileName, tempName, profile.Serialize())) {
    if (fault != nullptr) *fault = *why;
    return false;
  }
  platform::SetFileAttributes(fileName,
                              platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem);
  return true;
}

}  // namespace game
