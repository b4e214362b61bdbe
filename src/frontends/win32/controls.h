// Small free helpers around the child windows that show the model's
// controls: one struct of creation arguments per kind of control, and
// setters that touch a window only when its state really changes.
#pragma once

#include "windows_api.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wizard/pixel_layout.h"

namespace win32_frontend {

using wizard::PixelRect;

// Where a child window goes and how it starts.
struct Placement {
  HWND Parent = nullptr;
  int Id = 0;
  PixelRect Bounds;
  bool Visible = true;
  bool Enabled = true;
};

// What a panel paints: its background, an optional one-pixel frame, an
// optional picture stretched over it, and the line controls it holds.
struct PanelLook {
  COLORREF Back = 0;
  bool Border = false;
  HBITMAP Picture = nullptr;
  std::vector<std::pair<PixelRect, COLORREF>> Strokes;
};

struct LabelArgs {
  Placement Place;
  std::string_view Text;
  bool PathEllipsis = false;  // one line, for ShortenPath
};

struct ButtonArgs {
  Placement Place;
  std::string_view Text;
};

// Picture boxes, borderless frames and the image: a plain window that
// paints its PanelLook and passes its children's notifications up to the
// top-level window. Look must outlive the window.
struct PanelArgs {
  Placement Place;
  const PanelLook* Look = nullptr;
  bool HoldsControls = true;  // keyboard navigation enters it
  // Paints under its children too; a group box over it leaves its inside
  // to the parent.
  bool PaintsUnderChildren = false;
};

// The border and title of a bordered frame, laid over the frame's panel.
struct GroupBoxArgs {
  Placement Place;
  std::string_view Text;
};

struct ProgressBarArgs {
  Placement Place;
  int Min = 0, Max = 100, Value = 0;
};

struct ListBoxArgs {
  Placement Place;
  bool Border = true;
};

// The panel window class; registered once per process.
bool RegisterPanelClass(HINSTANCE instance);

HWND CreateLabel(const LabelArgs& args);
HWND CreateButton(const ButtonArgs& args);
HWND CreatePanel(const PanelArgs& args);
HWND CreateGroupBox(const GroupBoxArgs& args);
HWND CreateProgressBar(const ProgressBarArgs& args);
HWND CreateListBox(const ListBoxArgs& args);

void SetText(HWND window, std::string_view text);
std::string GetText(HWND window);
// The path a label made with PathEllipsis holds, shortened in its middle to
// fit the label's width in its font, its last name kept.
void ShortenPath(HWND label);
void SetBounds(HWND window, const PixelRect& bounds);
void SetShown(HWND window, bool shown);
void SetEnabled(HWND window, bool enabled);
void SetFont(HWND window, HFONT font);
// A push button's default style: its heavier frame shows the button that
// Enter presses.
void SetDefaultStyle(HWND button, bool isDefault);
void SetProgress(HWND bar, int min, int max, int value);
void SetListItems(HWND list, const std::vector<std::string>& items, int selected);
int SelectedListItem(HWND list);
// Stacks sibling windows so the first lies on top and comes first when the
// keyboard moves through them.
void StackFrontToBack(const std::vector<HWND>& siblings);
// Paints look over a panel's client area.
void PaintPanel(HDC dc, const RECT& client, const PanelLook& look);

}  // namespace win32_frontend
