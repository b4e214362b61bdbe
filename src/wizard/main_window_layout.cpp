// The wizard window as designed: the one place its numbers stand. Moving a
// control is one edit here and regenerating the model's golden dump
// (tests/wizard/golden/main_window.txt).
#include "wizard/form_model.h"

namespace wizard {
namespace {

constexpr int8_t kNone = -1;  // no array index, no container, no tab stop

// One control as designed; what is not named keeps the usual value. The
// narrowest types that hold the design's numbers: the table is part of
// every installer.
struct ControlSpec {
  const char* Name;
  ControlKind Kind;
  int8_t Index = kNone;
  const char* Container = nullptr;  // with ContainerIndex; nullptr: the form
  int8_t ContainerIndex = kNone;
  int16_t Left = 0, Top = 0, Width = 0, Height = 0;
  int16_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // lines
  const char* Tag = "";
  const char* Caption = nullptr;  // nullptr: a label shows its name
  float FontSize = 8.25f;         // quarter points, exact in a float
  bool Bold = false;
  uint8_t Charset = kCharsetAnsi;
  Color BackColor = Color::System(kSysColorButtonFace);
  Color ForeColor = Color::System(kSysColorButtonText);
  BorderStyle Border = BorderStyle::None;
  bool PathEllipsis = false;
  bool Visible = true;
  bool Enabled = true;
  int8_t TabIndex = kNone;
  int16_t Max = 0;
  const char* Picture = "";
  const char* DefaultExt = "";
  const char* Filter = "";
};

constexpr Color kWindow = Color::System(kSysColorWindow);

// In collection order, containers before what they hold.
constexpr ControlSpec kControls[] = {
    // The white title strip; only its lower edge lies inside the window, a
    // rule under the strip.
    {.Name = "picTitle",
     .Kind = ControlKind::PictureBox,
     .Left = -120,
     .Top = -120,
     .Width = 7335,
     .Height = 1095,
     .BackColor = Color::Rgb(255, 255, 255),
     .Border = BorderStyle::FixedSingle,
     .TabIndex = 6},
    {.Name = "lblTitle",
     .Kind = ControlKind::Label,
     .Container = "picTitle",
     .Left = 360,
     .Top = 240,
     .Width = 4815,
     .Height = 255,
     .Tag = "200",
     .FontSize = 9.75f,
     .Bold = true,
     .Charset = kCharsetEastEurope,
     .BackColor = kWindow,
     .TabIndex = 7},
    {.Name = "lblSubTitle",
     .Kind = ControlKind::Label,
     .Container = "picTitle",
     .Left = 600,
     .Top = 600,
     .Width = 4575,
     .Height = 255,
     .Tag = "201",
     .BackColor = kWindow,
     .TabIndex = 8},
    {.Name = "imgGV",
     .Kind = ControlKind::Image,
     .Container = "picTitle",
     .Left = 5400,
     .Top = 120,
     .Width = 1650,
     .Height = 900,
     .Picture = "logo"},
    // Placed on the window but never opened here; it has no size and is
    // not drawn.
    {.Name = "dlgFile",
     .Kind = ControlKind::CommonDialog,
     .Container = "picTitle",
     .Left = 4440,
     .Top = 240,
     .Visible = false,
     .DefaultExt = "rigbox",
     .Filter = "*.rigbox"},

    // Step 0: the game folder. Step frames are borderless and hidden until
    // their step is shown.
    {.Name = "fraStep",
     .Kind = ControlKind::Frame,
     .Index = 0,
     .Left = 120,
     .Top = 960,
     .Width = 6855,
     .Height = 3015,
     .Caption = "fraStart",
     .Visible = false,
     .TabIndex = 9},
    {.Name = "lblDescription",
     .Kind = ControlKind::Label,
     .Index = 0,
     .Container = "fraStep",
     .ContainerIndex = 0,
     .Left = 360,
     .Top = 240,
     .Width = 6255,
     .Height = 495,
     .Tag = "202",
     .TabIndex = 10},
    {.Name = "fraGameFolder",
     .Kind = ControlKind::Frame,
     .Index = 0,
     .Container = "fraStep",
     .ContainerIndex = 0,
     .Left = 360,
     .Top = 2040,
     .Width = 6255,
     .Height = 735,
     .Tag = "203",
     .Caption = "fraGameFolder",
     .Border = BorderStyle::FixedSingle,
     .TabIndex = 11},
    {.Name = "lblGameFolder",
     .Kind = ControlKind::Label,
     .Container = "fraGameFolder",
     .ContainerIndex = 0,
     .Left = 120,
     .Top = 360,
     .Width = 4815,
     .Height = 255,
     .PathEllipsis = true,
     .TabIndex = 13},
    {.Name = "btnBrowse",
     .Kind = ControlKind::CommandButton,
     .Index = 0,
     .Container = "fraGameFolder",
     .ContainerIndex = 0,
     .Left = 5040,
     .Top = 240,
     .Width = 1092,
     .Height = 312,
     .Tag = "204",
     .Caption = "Browse...",
     .TabIndex = 12},

    // Step 4: the install run.
    {.Name = "fraStep",
     .Kind = ControlKind::Frame,
     .Index = 4,
     .Left = 120,
     .Top = 960,
     .Width = 6855,
     .Height = 3015,
     .Caption = "fraSelectTask",
     .Visible = false,
     .TabIndex = 14},
    {.Name = "prgsAction",
     .Kind = ControlKind::ProgressBar,
     .Container = "fraStep",
     .ContainerIndex = 4,
     .Left = 360,
     .Top = 2280,
     .Width = 6255,
     .Height = 375,
     .TabIndex = 16,
     .Max = 200},
    {.Name = "lblDescription",
     .Kind = ControlKind::Label,
     .Index = 4,
     .Container = "fraStep",
     .ContainerIndex = 4,
     .Left = 360,
     .Top = 240,
     .Width = 6255,
     .Height = 495,
     .Tag = "602",
     .TabIndex = 15},
    {.Name = "lblAction",
     .Kind = ControlKind::Label,
     .Container = "fraStep",
     .ContainerIndex = 4,
     .Left = 360,
     .Top = 1800,
     .Width = 6255,
     .Height = 255,
     .TabIndex = 17},

    // Step 6: ready.
    {.Name = "fraStep",
     .Kind = ControlKind::Frame,
     .Index = 6,
     .Left = 120,
     .Top = 960,
     .Width = 6855,
     .Height = 3015,
     .Caption = "fraSelectTask",
     .Visible = false,
     .TabIndex = 18},
    {.Name = "lblInfo",
     .Kind = ControlKind::Label,
     .Container = "fraStep",
     .ContainerIndex = 6,
     .Left = 360,
     .Top = 1680,
     .Width = 6135,
     .Height = 1095,
     .Tag = "803",
     .Bold = true,
     .Charset = kCharsetEastEurope,
     .TabIndex = 23},
    {.Name = "lblDescription",
     .Kind = ControlKind::Label,
     .Index = 6,
     .Container = "fraStep",
     .ContainerIndex = 6,
     .Left = 360,
     .Top = 240,
     .Width = 6255,
     .Height = 495,
     .Tag = "802",
     .TabIndex = 19},

    // Step 7: selecting a car (not shown by this program).
    {.Name = "fraStep",
     .Kind = ControlKind::Frame,
     .Index = 7,
     .Left = 120,
     .Top = 960,
     .Width = 6855,
     .Height = 3015,
     .Caption = "fraSelectTask",
     .Visible = false,
     .TabIndex = 20},
    {.Name = "lstCarList",
     .Kind = ControlKind::ListBox,
     .Container = "fraStep",
     .ContainerIndex = 7,
     .Left = 1920,
     .Top = 720,
     .Width = 3375,
     .Height = 1815,
     .BackColor = kWindow,
     .ForeColor = Color::System(kSysColorWindowText),
     .Border = BorderStyle::FixedSingle,
     .TabIndex = 22},
    {.Name = "lblDescription",
     .Kind = ControlKind::Label,
     .Index = 7,
     .Container = "fraStep",
     .ContainerIndex = 7,
     .Left = 360,
     .Top = 240,
     .Width = 6255,
     .Height = 495,
     .Tag = "902",
     .TabIndex = 21},

    // The navigation strip: Help (hidden), Cancel, Back, Next, Finish, and
    // an etched rule above them.
    {.Name = "picNav",
     .Kind = ControlKind::PictureBox,
     .Top = 4020,
     .Width = 7185,
     .Height = 570,
     .TabIndex = 0},
    {.Name = "cmdNav",
     .Kind = ControlKind::CommandButton,
     .Index = 0,
     .Container = "picNav",
     .Left = 120,
     .Top = 120,
     .Width = 1092,
     .Height = 312,
     .Tag = "100",
     .Caption = "Help",
     .Visible = false,
     .Enabled = false,
     .TabIndex = 5},
    {.Name = "cmdNav",
     .Kind = ControlKind::CommandButton,
     .Index = 1,
     .Container = "picNav",
     .Left = 2280,
     .Top = 120,
     .Width = 1092,
     .Height = 312,
     .Tag = "101",
     .Caption = "Cancel",
     .TabIndex = 4},
    {.Name = "cmdNav",
     .Kind = ControlKind::CommandButton,
     .Index = 2,
     .Container = "picNav",
     .Left = 3480,
     .Top = 120,
     .Width = 1092,
     .Height = 312,
     .Tag = "102",
     .Caption = "< Back",
     .Enabled = false,
     .TabIndex = 3},
    {.Name = "cmdNav",
     .Kind = ControlKind::CommandButton,
     .Index = 3,
     .Container = "picNav",
     .Left = 4560,
     .Top = 120,
     .Width = 1092,
     .Height = 312,
     .Tag = "103",
     .Caption = "Next >",
     .TabIndex = 2},
    {.Name = "cmdNav",
     .Kind = ControlKind::CommandButton,
     .Index = 4,
     .Container = "picNav",
     .Left = 5880,
     .Top = 120,
     .Width = 1092,
     .Height = 312,
     .Tag = "104",
     .Caption = "Finish",
     .Enabled = false,
     .TabIndex = 1},
    {.Name = "Line1",
     .Kind = ControlKind::Line,
     .Index = 1,
     .Container = "picNav",
     .X1 = 108,
     .Y1 = 0,
     .X2 = 7012,
     .Y2 = 0,
     .ForeColor = Color::Rgb(128, 128, 128)},
    {.Name = "Line1",
     .Kind = ControlKind::Line,
     .Index = 2,
     .Container = "picNav",
     .X1 = 108,
     .Y1 = 24,
     .X2 = 7012,
     .Y2 = 24,
     .ForeColor = Color::Rgb(255, 255, 255)},
};

std::optional<int16_t> IndexOf(int index) {
  return index == kNone ? std::nullopt : std::optional<int16_t>(static_cast<int16_t>(index));
}

Control FromSpec(const ControlSpec& spec, const FormModel& model) {
  Control control;
  control.Name = spec.Name;
  control.Kind = spec.Kind;
  control.Index = IndexOf(spec.Index);
  if (spec.Container != nullptr)
    control.Container = model.IndexOf(spec.Container, IndexOf(spec.ContainerIndex));
  control.Left = spec.Left;
  control.Top = spec.Top;
  control.Width = spec.Width;
  control.Height = spec.Height;
  control.X1 = spec.X1;
  control.Y1 = spec.Y1;
  control.X2 = spec.X2;
  control.Y2 = spec.Y2;
  control.Tag = spec.Tag;
  if (spec.Caption != nullptr) {
    control.Caption = spec.Caption;
  } else if (spec.Kind == ControlKind::Label) {
    control.Caption = spec.Name;
  }
  control.Font.Size = spec.FontSize;
  control.Font.Bold = spec.Bold;
  control.Font.Charset = spec.Charset;
  control.BackColor = spec.BackColor;
  control.ForeColor = spec.ForeColor;
  control.Border = spec.Border;
  control.PathEllipsis = spec.PathEllipsis;
  control.Visible = spec.Visible;
  control.Enabled = spec.Enabled;
  if (spec.TabIndex != kNone) control.TabIndex = spec.TabIndex;
  control.Max = spec.Max;
  control.Picture = spec.Picture;
  control.DefaultExt = spec.DefaultExt;
  control.Filter = spec.Filter;
  return control;
}

}  // namespace

FormModel BuildMainFormModel() {
  FormModel model;
  model.Form.Name = std::string(kFormName);
  model.Form.Kind = ControlKind::Form;
  model.Form.Width = 7185;
  model.Form.Height = 4590;
  model.Form.Picture = "icon";
  for (const ControlSpec& spec : kControls) model.Controls.push_back(FromSpec(spec, model));
  return model;
}

}  // namespace wizard
