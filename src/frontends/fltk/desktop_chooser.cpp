#include "desktop_chooser.h"

#include <FL/Fl.H>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace fltk_frontend {
namespace {

constexpr double kPollSeconds = 0.05;
// Both choosers exit with 1 when the player cancels; anything else but 0
// is a failure.
constexpr int kCancelStatus = 1;

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    start = end + 1;
    if (folder.empty() || folder[0] != '/') continue;  // never the current folder
    std::string candidate = folder;
    candidate += "/";
    candidate += name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return std::string();
}

std::vector<std::string> ChooserArguments(const std::string& title, const std::string& startFolder) {
  std::string zenity = FindOnPath("zenity");
  if (!zenity.empty()) {
    std::vector<std::string> arguments{zenity, "--file-selection", "--directory", "--title=" + title};
    // The trailing "/" opens the folder itself rather than its parent.
    if (!startFolder.empty()) arguments.push_back("--filename=" + startFolder + "/");
    return arguments;
  }
  std::string kdialog = FindOnPath("kdialog");
  if (!kdialog.empty()) {
    return {kdialog, "--title", title, "--getexistingdirectory", startFolder.empty() ? "." : startFolder};
  }
  return {};
}

// Reads the child's output to its end while the windows keep painting.
std::string ReadAll(int fd) {
  std::string output;
  char buffer[4096];
  for (;;) {
    ssize_t count = read(fd, buffer, sizeof buffer);
    if (count > 0) {
      output.append(buffer, static_cast<size_t>(count));
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
      return output;
    } else {
      Fl::wait(kPollSeconds);
    }
  }
}

int WaitForChild(pid_t child) {
  int status = 0;
  for (;;) {
    pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == child) return status;
    if (ended == -1 && errno != EINTR) return -1;
    Fl::wait(kPollSeconds);
  }
}

// The child's exit status and output, or nullopt when it did not start.
std::optional<std::pair<int, std::string>> Run(const std::vector<std::string>& arguments) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return std::nullopt;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  // The installer ignores SIGPIPE; the chooser gets the usual default.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t child = 0;
  int failed = posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (failed != 0) {
    close(pipeEnds[0]);
    return std::nullopt;
  }
  fcntl(pipeEnds[0], F_SETFL, fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
  std::string output = ReadAll(pipeEnds[0]);
  close(pipeEnds[0]);
  return std::make_pair(WaitForChild(child), output);
}

}  // namespace

DesktopPickResult PickWithDesktopChooser(const std::string& title, const std::string& startFolder) {
  std::vector<std::string> arguments = ChooserArguments(title, startFolder);
  if (arguments.empty()) return {};
  std::optional<std::pair<int, std::string>> ran = Run(arguments);
  if (!ran || !WIFEXITED(ran->first)) return {};
  int status = WEXITSTATUS(ran->first);
  std::string folder = ran->second;
  if (!folder.empty() && folder.back() == '\n') folder.pop_back();
  if (status == 0 && !folder.empty()) return {DesktopPick::Chosen, folder};
  if (status == 0 || status == kCancelStatus) return {DesktopPick::Cancelled, std::string()};
  return {};
}

}  // namespace fltk_frontend
