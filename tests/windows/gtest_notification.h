// Forced into every googletest translation unit of the MinGW build. Its
// default win32 thread model has no std::mutex, which googletest's own
// Notification is built on; this one waits on an atomic flag instead.
// googletest uses it only to start threads in its own tests.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
