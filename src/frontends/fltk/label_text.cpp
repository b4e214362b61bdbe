#include "label_text.h"

namespace fltk_frontend {
namespace {

constexpr std::string_view kEllipsis = "...";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Whether a character starts at byte i: not a UTF-8 continuation byte.
bool StartsCharacter(std::string_view text, size_t i) {
  return i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
}

size_t NextCharacter(std::string_view text, size_t i) {
  do ++i;
  while (!StartsCharacter(text, i));
  return i;
}

size_t PreviousCharacter(std::string_view text, size_t i) {
  do --i;
  while (i > 0 && !StartsCharacter(text, i));
  return i;
}

// Where the separator before the last name stands (0 when there is none
// but the root).
size_t LastNameStart(std::string_view path) {
  size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  while (end > 0 && !IsSeparator(path[end - 1])) --end;
  return end > 0 ? end - 1 : 0;
}

}  // namespace

std::string LabelText(std::string_view text) {
  std::string label;
  label.reserve(text.size());
  for (char c : text) {
    if (c == '@') label += '@';
    label += c;
  }
  return label;
}

std::string ShownText(std::string_view label) {
  std::string text;
  text.reserve(label.size());
  for (size_t i = 0; i < label.size(); ++i) {
    text += label[i];
    if (label[i] == '@' && i + 1 < label.size() && label[i + 1] == '@') ++i;
  }
  return text;
}

std::string ShortenedPath(std::string_view path, int width,
                          const std::function<int(std::string_view)>& measure) {
  if (measure(path) <= width) return std::string(path);
  auto joined = [path](size_t headEnd, size_t tailStart) {
    return std::string(path.substr(0, headEnd)).append(kEllipsis).append(path.substr(tailStart));
  };
  auto fits = [&](size_t headEnd, size_t tailStart) { return measure(joined(headEnd, tailStart)) <= width; };
  size_t head = 0, tail = LastNameStart(path);
  if (tail > 0 && fits(0, tail)) {
    while (NextCharacter(path, head) < tail && fits(NextCharacter(path, head), tail))
      head = NextCharacter(path, head);
    return joined(head, tail);
  }
  // A last name too long: as much of either end as fits, taken in turns.
  tail = path.size();
  for (bool front = true; head < tail; front = !front) {
    size_t nextHead = front ? NextCharacter(path, head) : head;
    size_t nextTail = front ? tail : PreviousCharacter(path, tail);
    if (nextHead > nextTail || !fits(nextHead, nextTail)) break;
    head = nextHead;
    tail = nextTail;
  }
  return joined(head, tail);
}

std::string FolderFromChooser(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace fltk_frontend
