// The tool's console on Windows: the installer's writer, which shows text
// as UTF-16 on a console and as UTF-8 bytes elsewhere, fed whole lines.
#include <iostream>
#include <streambuf>

#include "cli.h"
#include "command_line.h"
#include "console.h"

namespace rigbox_tool {
namespace {

class LineBuffer : public std::streambuf {
 public:
  LineBuffer(win32_frontend::ConsoleWriter& writer, bool errors) : writer_(writer), errors_(errors) {}

  // A line left without its end, at exit.
  void Finish() {
    if (!pending_.empty()) Emit();
  }

 protected:
  // std::cerr flushes after every insertion: lines go out only when whole.
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (traits_type::to_char_type(c) == '\n') {
      Emit();
    } else {
      pending_ += traits_type::to_char_type(c);
    }
    return c;
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    for (std::streamsize i = 0; i < count; ++i) overflow(traits_type::to_int_type(text[i]));
    return count;
  }

 private:
  void Emit() {
    if (errors_) {
      writer_.Err(pending_);
    } else {
      writer_.Out(pending_);
    }
    pending_.clear();
  }

  win32_frontend::ConsoleWriter& writer_;
  bool errors_;
  std::string pending_;
};

// Never destroyed: the streams may still flush into them at exit.
win32_frontend::ConsoleWriter* sWriter;
LineBuffer* sOut;
LineBuffer* sErr;

}  // namespace

std::vector<std::string> StartWindowsConsole() {
  sWriter = new win32_frontend::ConsoleWriter();
  sOut = new LineBuffer(*sWriter, false);
  sErr = new LineBuffer(*sWriter, true);
  std::cout.rdbuf(sOut);
  std::cerr.rdbuf(sErr);
  return win32_frontend::CommandLineArguments();
}

void EndWindowsConsole() {
  sOut->Finish();
  sErr->Finish();
}

void HoldOwnConsole() {
  DWORD processes[2];
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  // Input from a file or a pipe is no author at the keyboard.
  if (GetConsoleProcessList(processes, 2) != 1 || !GetConsoleMode(input, &mode)) return;
  std::cout << "Press any key to close this window.\n";
  FlushConsoleInputBuffer(input);
  INPUT_RECORD record;
  DWORD count = 0;
  while (ReadConsoleInputW(input, &record, 1, &count) && count == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
  }
}

}  // namespace rigbox_tool
