#include "sha256.h"

#include <cstdint>

#include "support/ascii_case.h"
#include "support/text_format.h"

#ifdef _WIN32
// bcrypt.h needs windows.h's types first.
#include "support/windows_include.h"

#include <bcrypt.h>
#else
#include <sha2.h>
#endif

namespace rigbox_tool {

constexpr size_t kDigestSize = 32;

#ifdef _WIN32
// bcrypt.dll is no KnownDLL: it is loaded from System32 by name, never from
// beside the program.
struct Sha256::Hasher {
  using Open = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
  using Create = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR, ULONG,
                                   ULONG);
  using Hash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
  using Destroy = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE);
  using Close = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG);

  Hasher() {
    library_ = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library_ == nullptr) return;
    auto open = Function<Open>("BCryptOpenAlgorithmProvider");
    auto create = Function<Create>("BCryptCreateHash");
    update_ = Function<Hash>("BCryptHashData");
    finish_ = Function<Hash>("BCryptFinishHash");
    destroy_ = Function<Destroy>("BCryptDestroyHash");
    close_ = Function<Close>("BCryptCloseAlgorithmProvider");
    ok_ = open && create && update_ && finish_ && destroy_ && close_ &&
          open(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
          create(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0) == 0;
  }
  ~Hasher() {
    if (hash_ != nullptr) destroy_(hash_);
    if (algorithm_ != nullptr) close_(algorithm_, 0);
    if (library_ != nullptr) FreeLibrary(library_);
  }
  bool Ok() const { return ok_; }
  void Update(const uint8_t* data, size_t size) {
    // Never written through, whatever the signature says.
    ok_ = ok_ && update_(hash_, const_cast<uint8_t*>(data), static_cast<ULONG>(size), 0) == 0;
  }
  bool Finish(uint8_t* digest) { return ok_ && finish_(hash_, digest, kDigestSize, 0) == 0; }

 private:
  template <typename F>
  F Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
  }

  HMODULE library_ = nullptr;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
  Hash update_ = nullptr;
  Hash finish_ = nullptr;
  Destroy destroy_ = nullptr;
  Close close_ = nullptr;
  bool ok_ = false;
};
#else
struct Sha256::Hasher {
  Hasher() { SHA256Init(&context_); }
  bool Ok() const { return true; }
  void Update(const uint8_t* data, size_t size) { SHA256Update(&context_, data, size); }
  bool Finish(uint8_t* digest) {
    SHA256Final(digest, &context_);
    return true;
  }

 private:
  SHA2_CTX context_;
};
#endif

Sha256::Sha256() : hasher_(std::make_unique<Hasher>()) {}
Sha256::~Sha256() = default;

void Sha256::Update(const void* data, size_t size) {
  hasher_->Update(static_cast<const uint8_t*>(data), size);
}

std::optional<std::string> Sha256::HexDigest() {
  uint8_t digest[kDigestSize];
  if (!hasher_->Finish(digest)) return {};
  std::string hex;
  for (uint8_t byte : digest) hex += support::HexText(byte, 2);
  return support::AsciiLowered(hex);
}

}  // namespace rigbox_tool
