// The unattended mode's output on Windows. The installer is a GUI program,
// so it has no console of its own: it writes to the streams it was given
// when they are redirected to a file or pipe (UTF-8), and otherwise to the
// console of the program that started it, if any (UTF-16).
#pragma once

#include <string>
#include <string_view>

#include "windows_api.h"
#include "wizard/unattended.h"

namespace win32_frontend {

enum class StreamKind { None, Console, Redirected };

// What a standard handle leads to.
StreamKind KindOf(HANDLE handle);

// A line as written: LF become CR LF, and a CR LF ends it.
std::string LineForWindows(std::string_view line);

class ConsoleWriter : public wizard::ConsoleOutput {
 public:
  // The process's standard output and error, or the parent's console.
  ConsoleWriter();
  // Given handles (not owned).
  ConsoleWriter(HANDLE out, HANDLE err);
  ~ConsoleWriter() override;
  ConsoleWriter(const ConsoleWriter&) = delete;
  ConsoleWriter& operator=(const ConsoleWriter&) = delete;

  void Out(const std::string& line) override;
  void Err(const std::string& line) override;
  // False when error or output lines go nowhere (no console, nothing
  // redirected).
  bool ReachesErrors() const { return err_.Kind != StreamKind::None; }
  bool ReachesOutput() const { return out_.Kind != StreamKind::None; }
  // Every line written, for a message box when no stream reaches anyone.
  const std::string& Transcript() const { return transcript_; }

 private:
  struct Stream {
    HANDLE Handle = nullptr;
    StreamKind Kind = StreamKind::None;
  };
  static void Write(const Stream& stream, const std::string& line);

  Stream out_;
  Stream err_;
  HANDLE parentConsole_ = INVALID_HANDLE_VALUE;
  std::string transcript_;
};

}  // namespace win32_frontend
