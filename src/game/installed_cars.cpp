#include "game/installed_cars.h"

#include <algorithm>

#include "game/ini.h"
#include "support/platform.h"
#include "support/text_format.h"

namespace game {
namespace {

// Each list is written as this name plus ".tmp" beside it first, so the
// final rename stays on one disk.
constexpr char kProfileFile[] = "Vehiforge.ini";
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

namespace {

// The list in the profile file fileName; false when it has no usable count.
bool ReadList(const std::string& fileName, std::vector<std::string>& cars) {
  std::string countText = modINI::ReadINIString(kSection, kCountKey, fileName);
  if (countText.empty()) return false;
  std::optional<int16_t> count = ToInteger16(countText);
  if (!count) return false;
  // One parse serves every key: the file does not change in between, and a
  // long list is not searched again for each entry.
  std::optional<modINI::Profile> profile = modINI::LoadProfile(fileName);
  if (!profile) profile.emplace();
  modINI::SectionIndex section(*profile, kSection);
  for (int n = 1; n <= *count; ++n) {
    const modINI::ProfileKey* key = section.Find(kIdKeyPrefix + support::DecimalText(n));
    cars.push_back(key != nullptr && key->Value ? modINI::BufferedValue(*key->Value, modINI::kValueBufferSize)
                                                : std::string());
  }
  return true;
}

// The whole new file is built in memory, exactly as key-by-key writes into
// a fresh file would leave it (the keys all differ), and written once. The
// new list is complete on disk before the old one goes, so a failure
// anywhere leaves the old file as it was.
std::optional<ScriptFault> WriteList(const std::string& fileName, const std::vector<std::string>& cars) {
  modINI::Profile profile;
  profile.Add(kSection, kCountKey, support::DecimalText(cars.size()));
  for (size_t n = 1; n <= cars.size(); ++n)
    profile.Add(kSection, kIdKeyPrefix + support::DecimalText(n), cars[n - 1]);
  if (std::optional<ScriptFault> fault = ReplaceWholeFile(fileName, fileName + ".tmp", profile.Serialize()))
    return fault;
  platform::SetFileAttributes(fileName,
                              platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem);
  return std::nullopt;
}

}  // namespace

bool LoadINI(const std::string& gameFolder, std::vector<std::string>& installedCars) {
  installedCars.clear();
  std::string fileName = gameFolder + kProfileFile;
  bool read = ReadList(fileName, installedCars);
  // The game reads Windows' copy when there is one, so a car listed there
  // is installed as well.
  std::vector<std::string> copied;
  std::string copy = StoreCopyOf(fileName);
  if (copy.empty() || !ReadList(copy, copied)) return read;
  for (const std::string& car : copied)
    if (std::find(installedCars.begin(), installedCars.end(), car) == installedCars.end())
      installedCars.push_back(car);
  return true;
}

bool WriteINI(const std::string& gameFolder, const std::vector<std::string>& installedCars,
              ProgressSink* sink) {
  std::string fileName = gameFolder + kProfileFile;
  std::string copy = StoreCopyOf(fileName);
  std::optional<ScriptFault> fault = WriteList(fileName, installedCars);
  if (fault && sink != nullptr) sink->ScriptFailed(kProfileFile, *fault);
  if (fault || copy.empty()) return !fault;
  fault = CopyFault(copy);
  if (!fault) fault = WriteList(copy, installedCars);
  if (sink != nullptr) fault ? sink->ScriptFailed(copy, *fault) : sink->CopyUpdated(copy);
  return !fault;
}

}  // namespace game
