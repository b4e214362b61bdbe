// A fresh temporary folder per test, removed afterwards, with small helpers
// to put files in it and read them back byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as a program path with a trailing separator, ready for
  // GameFolder + "Data\..." style concatenation.
  std::string Folder() const;
  std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// A test with a fresh temporary folder of its own.
class TempDirTest : public testing::Test {
 protected:
  TempDir dir;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace testing_support
