// Runs a piece of a test as an ordinary user. Root ignores permission bits,
// so a test about read-only files or unwritable folders means nothing when
// the suite runs as root (as it does in containers): there the body runs in
// a forked child as uid/gid 65534, after the test's folder tree has been
// handed to that user. Header only, for the POSIX-only tests.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace testing_support {

inline constexpr uid_t kUnprivilegedId = 65534;

// Runs body in a forked child as uid/gid 65534; its text result (small: one
// pipe's worth), or nothing when the child could not be run or did not
// finish normally.
inline std::optional<std::string> RunAsUnprivilegedUser(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  pid_t child = fork();
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0) _exit(2);
    std::string result = body();
    _exit(write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size()) ? 0 : 3);
  }
  close(channel[1]);
  std::string result;
  char buffer[256];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, size_t(got));
  close(channel[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  return result;
}

// The body's text result, or nothing when the child could not be run or did
// not finish normally. Without root the body simply runs in this process.
inline std::optional<std::string> RunUnprivileged(const std::filesystem::path& tree,
                                                  const std::function<std::string()>& body) {
  if (geteuid() != 0) return body();
  std::error_code error;
  if (lchown(tree.c_str(), kUnprivilegedId, kUnprivilegedId) != 0) return std::nullopt;
  for (auto it = std::filesystem::recursive_directory_iterator(tree, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (lchown(it->path().c_str(), kUnprivilegedId, kUnprivilegedId) != 0) return std::nullopt;
  }
  if (error) return std::nullopt;
  return RunAsUnprivilegedUser(body);
}

}  // namespace testing_support
