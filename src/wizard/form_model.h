// The wizard window as data: every control with its kind, container,
// position, texts, font, colours and state. The step logic changes this
// model; the front ends draw only from it and keep no layout of their own.
//
// Units are twips (1/1440 inch, 15 per pixel at 96 dpi). A control's Left
// and Top are relative to its container's client area; for frames that is
// the frame's outer top-left corner, title and border included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wizard {

inline constexpr int32_t kTwipsPerPixelAt96Dpi = 15;

enum class ControlKind : uint8_t {
  Form,
  Label,
  CommandButton,
  Frame,
  PictureBox,
  Image,
  CommonDialog,
  ProgressBar,
  ListBox,
  Line,
  // Not on this window; the text loader knows them, so tests can build them.
  Menu,
  TabStrip,
  Toolbar,
  ListView,
};

// The type name the text loader acts by: "Label", "CommandButton", ...
// (the form gives "Form").
std::string_view TypeName(ControlKind kind);

// Whether controls of the kind have a Caption and a ToolTipText property.
// Setting or reading a property the kind lacks is an error to the loader.
bool KindHasCaption(ControlKind kind);
bool KindHasToolTipText(ControlKind kind);

// Windows system colour indices (GetSysColor) the window uses.
inline constexpr int kSysColorWindow = 5;
inline constexpr int kSysColorWindowText = 8;
inline constexpr int kSysColorButtonFace = 15;
inline constexpr int kSysColorButtonText = 18;

// A colour as designed: either one of the system's colours or fixed RGB.
// Byte-sized, as the window's layout table holds two per control.
struct Color {
  enum class Source : uint8_t { System, Rgb };
  Source From = Source::System;
  uint8_t SystemIndex = kSysColorButtonFace;  // when From is System
  uint8_t R = 0, G = 0, B = 0;                // when From is Rgb

  static constexpr Color System(int index) {
    return Color{Source::System, static_cast<uint8_t>(index), 0, 0, 0};
  }
  static constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) { return Color{Source::Rgb, 0, r, g, b}; }
  bool operator==(const Color&) const = default;
};

inline constexpr uint8_t kCharsetAnsi = 0;
inline constexpr uint8_t kCharsetEastEurope = 238;

struct Font {
  std::string Face = "MS Sans Serif";
  double Size = 8.25;  // points
  bool Bold = false;
  uint8_t Charset = kCharsetAnsi;
  bool operator==(const Font&) const = default;
};

enum class BorderStyle : uint8_t { None, FixedSingle };

// A member of a TabStrip's Tabs, a Toolbar's Buttons or a ListView's
// ColumnHeaders. Column headers show Text; tabs and buttons Caption.
struct CollectionItem {
  std::string Tag;
  std::string Caption;
  std::string ToolTipText;
  std::string Text;
};

inline constexpr int kContainerForm = -1;

struct Control {
  std::string Name;
  ControlKind Kind = ControlKind::Label;
  std::optional<int16_t> Index;    // member number in a control array
  int Container = kContainerForm;  // position in FormModel::Controls, or kContainerForm

  // Bounds in twips (not used by lines and the common dialog's size).
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  // Lines: end points in twips, in the container's coordinates.
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;

  std::string Tag;
  std::string Caption;  // meaningful only when KindHasCaption(Kind)
  std::string ToolTipText;

  wizard::Font Font;
  Color BackColor = Color::System(kSysColorButtonFace);
  Color ForeColor = Color::System(kSysColorButtonText);  // lines: their colour
  BorderStyle Border = BorderStyle::None;
  int BorderWidth = 1;  // lines, in pixels
  // Label: a path on one line; one too long loses its middle to an
  // ellipsis, so its start and its last name stay readable.
  bool PathEllipsis = false;

  bool Visible = true;
  bool Enabled = true;
  std::optional<int> TabIndex;  // none for kinds that take no focus

  // Progress bar.
  int32_t Min = 0, Max = 0, Value = 0;
  // List box: entries in order and the selected one (-1 for none).
  std::vector<std::string> ListItems;
  int ListIndex = -1;
  // Image (and the form's icon): name of the picture in resources/.
  std::string Picture;
  // Common dialog: the stored file settings.
  std::string DefaultExt;
  std::string Filter;
  // Tabs, toolbar buttons or column headers (TabStrip, Toolbar, ListView).
  std::vector<CollectionItem> Items;
};

struct FormModel {
  // The window itself: Kind Form, Width and Height are the client area.
  Control Form;
  bool FixedDialog = true;    // no resizing, minimising or maximising
  bool StartCentered = true;  // opens centred on the screen
  // Every control in the form's collection order (the text loader's order).
  std::vector<Control> Controls;

  // The control with this name and array index (nullopt: not an array
  // member), or nullptr.
  Control* Find(std::string_view name, std::optional<int16_t> index = std::nullopt);
  const Control* Find(std::string_view name, std::optional<int16_t> index = std::nullopt) const;
  // Position in Controls, or -1.
  int IndexOf(std::string_view name, std::optional<int16_t> index = std::nullopt) const;
  // Positions of the controls lying directly in container (kContainerForm
  // for the form), in collection order.
  std::vector<int> Children(int container) const;
  // Top-left corner of Controls[position] in the form's client area, in
  // twips (the sum of its containers' offsets).
  int32_t AbsoluteLeft(int position) const;
  int32_t AbsoluteTop(int position) const;
  // Controls[position] and all its containers are visible.
  bool IsShown(int position) const;
};

// Names of this window's controls.
inline constexpr std::string_view kFormName = "frmMain";

// The wizard window as designed (main_window_layout.cpp): every control in
// collection order, all step frames hidden, the caption empty (start-up
// sets it).
FormModel BuildMainFormModel();

}  // namespace wizard
