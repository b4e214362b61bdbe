#include "console.h"

#include "wide_text.h"

namespace win32_frontend {

StreamKind KindOf(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return StreamKind::None;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) return StreamKind::Console;
  return GetFileType(handle) == FILE_TYPE_UNKNOWN ? StreamKind::None : StreamKind::Redirected;
}

std::string LineForWindows(std::string_view line) {
  std::string result;
  result.reserve(line.size() + 2);
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\n' && (i == 0 || line[i - 1] != '\r')) result += '\r';
    result += line[i];
  }
  if (result.size() < 2 || result.compare(result.size() - 2, 2, "\r\n") != 0) result += "\r\n";
  return result;
}

ConsoleWriter::ConsoleWriter()
    : out_{GetStdHandle(STD_OUTPUT_HANDLE), StreamKind::None},
      err_{GetStdHandle(STD_ERROR_HANDLE), StreamKind::None} {
  out_.Kind = KindOf(out_.Handle);
  err_.Kind = KindOf(err_.Handle);
  if (out_.Kind != StreamKind::None && err_.Kind != StreamKind::None) return;
  // Started from a command prompt without redirection: write to its window.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  parentConsole_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  if (parentConsole_ == INVALID_HANDLE_VALUE) return;
  for (Stream* stream : {&out_, &err_}) {
    if (stream->Kind == StreamKind::None) *stream = Stream{parentConsole_, StreamKind::Console};
  }
}

ConsoleWriter::ConsoleWriter(HANDLE out, HANDLE err) : out_{out, KindOf(out)}, err_{err, KindOf(err)} {}

ConsoleWriter::~ConsoleWriter() {
  if (parentConsole_ != INVALID_HANDLE_VALUE) CloseHandle(parentConsole_);
}

void ConsoleWriter::Out(const std::string& line) {
  transcript_ += line + "\n";
  Write(out_, line);
}

void ConsoleWriter::Err(const std::string& line) {
  transcript_ += line + "\n";
  Write(err_, line);
}

void ConsoleWriter::Write(const Stream& stream, const std::string& line) {
  std::string text = LineForWindows(line);
  if (stream.Kind == StreamKind::Console) {
    std::wstring wide = Widen(text);
    DWORD written = 0;
    WriteConsoleW(stream.Handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else if (stream.Kind == StreamKind::Redirected) {
    const char* data = text.data();
    DWORD left = static_cast<DWORD>(text.size());
    DWORD written = 0;
    // A closed pipe fails the write; the run goes on all the same.
    while (left > 0 && WriteFile(stream.Handle, data, left, &written, nullptr) && written > 0) {
      data += written;
      left -= written;
    }
  }
}

}  // namespace win32_frontend
