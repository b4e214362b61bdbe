#include "wizard/form_model.h"

#include <utility>

namespace wizard {

std::string_view TypeName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
      return "Form";
    case ControlKind::Label:
      return "Label";
    case ControlKind::CommandButton:
      return "CommandButton";
    case ControlKind::Frame:
      return "Frame";
    case ControlKind::PictureBox:
      return "PictureBox";
    case ControlKind::Image:
      return "Image";
    case ControlKind::CommonDialog:
      return "CommonDialog";
    case ControlKind::ProgressBar:
      return "ProgressBar";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::Line:
      return "Line";
    case ControlKind::Menu:
      return "Menu";
    case ControlKind::TabStrip:
      return "TabStrip";
    case ControlKind::Toolbar:
      return "Toolbar";
    case ControlKind::ListView:
      return "ListView";
  }
  return "";
}

bool KindHasCaption(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
    case ControlKind::Label:
    case ControlKind::CommandButton:
    case ControlKind::Frame:
    case ControlKind::Menu:
      return true;
    default:
      return false;
  }
}

bool KindHasToolTipText(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
    case ControlKind::Line:
    case ControlKind::CommonDialog:
    case ControlKind::Menu:
      return false;
    default:
      return true;
  }
}

Control* FormModel::Find(std::string_view name, std::optional<int16_t> index) {
  int position = IndexOf(name, index);
  return position < 0 ? nullptr : &Controls[static_cast<size_t>(position)];
}

const Control* FormModel::Find(std::string_view name, std::optional<int16_t> index) const {
  int position = IndexOf(name, index);
  return position < 0 ? nullptr : &Controls[static_cast<size_t>(position)];
}

int FormModel::IndexOf(std::string_view name, std::optional<int16_t> index) const {
  for (size_t i = 0; i < Controls.size(); ++i) {
    if (Controls[i].Name == name && Controls[i].Index == index) return static_cast<int>(i);
  }
  return -1;
}

std::vector<int> FormModel::Children(int container) const {
  std::vector<int> result;
  for (size_t i = 0; i < Controls.size(); ++i) {
    if (Controls[i].Container == container) result.push_back(static_cast<int>(i));
  }
  return result;
}

int32_t FormModel::AbsoluteLeft(int position) const {
  int32_t left = 0;
  for (int p = position; p != kContainerForm; p = Controls[static_cast<size_t>(p)].Container) {
    left += Controls[static_cast<size_t>(p)].Left;
  }
  return left;
}

int32_t FormModel::AbsoluteTop(int position) const {
  int32_t top = 0;
  for (int p = position; p != kContainerForm; p = Controls[static_cast<size_t>(p)].Container) {
    top += Controls[static_cast<size_t>(p)].Top;
  }
  return top;
}

bool FormModel::IsShown(int position) const {
  for (int p = position; p != kContainerForm; p = Controls[static_cast<size_t>(p)].Container) {
    if (!Controls[static_cast<size_t>(p)].Visible) return false;
  }
  return true;
}

namespace {

Control Make(std::string name, ControlKind kind, std::optional<int16_t> index, int container, int32_t left,
             int32_t top, int32_t width, int32_t height, std::string tag) {
  Control control;
  control.Name = std::move(name);
  control.Kind = kind;
  control.Index = index;
  control.Container = container;
  control.Left = left;
  control.Top = top;
  control.Width = width;
  control.Height = height;
  control.Tag = std::move(tag);
  return control;
}

// Labels show their own name until the loader or code gives them text.
Control MakeLabel(std::string name, std::optional<int16_t> index, int container, int32_t left, int32_t top,
                  int32_t width, int32_t height, std::string tag) {
  Control label = Make(name, ControlKind::Label, index, container, left, top, width, height, std::move(tag));
  label.Caption = name;
  return label;
}

// A step frame: borderless, hidden until its step is shown.
Control MakeStepFrame(int16_t step, const char* designCaption) {
  Control frame = Make("fraStep", ControlKind::Frame, step, kContainerForm, 120, 960, 6855, 3015, "");
  frame.Caption = designCaption;
  frame.Visible = false;
  return frame;
}

Control MakeDescription(int16_t step, int container, const char* tag) {
  return MakeLabel("lblDescription", step, container, 360, 240, 6255, 495, tag);
}

Control MakeNavButton(int16_t index, int container, int32_t left, const char* tag, const char* caption) {
  Control button = Make("cmdNav", ControlKind::CommandButton, index, container, left, 120, 1092, 312, tag);
  button.Caption = caption;
  return button;
}

Control MakeLine(int16_t index, int container, int32_t y, Color color) {
  Control line = Make("Line1", ControlKind::Line, index, container, 0, 0, 0, 0, "");
  line.X1 = 108;
  line.Y1 = y;
  line.X2 = 7012;
  line.Y2 = y;
  line.ForeColor = color;
  line.BorderWidth = 1;
  return line;
}

Font BoldEastEurope(double size) {
  Font font;
  font.Size = size;
  font.Bold = true;
  font.Charset = kCharsetEastEurope;
  return font;
}

class Builder {
 public:
  int Add(Control control) {
    model_.Controls.push_back(std::move(control));
    return static_cast<int>(model_.Controls.size()) - 1;
  }
  FormModel Take() { return std::move(model_); }

 private:
  FormModel model_;
};

void AddTitleStrip(Builder& b) {
  Control strip =
      Make("picTitle", ControlKind::PictureBox, std::nullopt, kContainerForm, -120, -120, 7335, 1095, "");
  strip.BackColor = Color::Rgb(255, 255, 255);
  // Only the lower edge lies inside the window: a rule under the strip.
  strip.Border = BorderStyle::FixedSingle;
  int title = b.Add(strip);

  Control caption = MakeLabel("lblTitle", std::nullopt, title, 360, 240, 4815, 255, "200");
  caption.Font = BoldEastEurope(9.75);
  caption.BackColor = Color::System(kSysColorWindow);
  b.Add(caption);

  Control subtitle = MakeLabel("lblSubTitle", std::nullopt, title, 600, 600, 4575, 255, "201");
  subtitle.BackColor = Color::System(kSysColorWindow);
  b.Add(subtitle);

  Control logo = Make("imgGV", ControlKind::Image, std::nullopt, title, 5400, 120, 1650, 900, "");
  logo.Picture = "logo";
  b.Add(logo);

  // Placed on the window but never opened here; a dialog control has no
  // size and is not drawn.
  Control dialog = Make("dlgFile", ControlKind::CommonDialog, std::nullopt, title, 4440, 240, 0, 0, "");
  dialog.Visible = false;
  dialog.DefaultExt = "rigbox";
  dialog.Filter = "*.rigbox";
  b.Add(dialog);
}

void AddGameFolderStep(Builder& b) {
  int frame = b.Add(MakeStepFrame(0, "fraStart"));
  b.Add(MakeDescription(0, frame, "202"));

  Control folderFrame = Make("fraGameFolder", ControlKind::Frame, 0, frame, 360, 2040, 6255, 735, "203");
  folderFrame.Caption = "fraGameFolder";
  folderFrame.Border = BorderStyle::FixedSingle;
  int folder = b.Add(folderFrame);

  b.Add(MakeLabel("lblGameFolder", std::nullopt, folder, 120, 360, 4815, 255, ""));
  Control browse = Make("btnBrowse", ControlKind::CommandButton, 0, folder, 5040, 240, 1092, 312, "204");
  browse.Caption = "Browse...";
  b.Add(browse);
}

void AddProgressStep(Builder& b) {
  int frame = b.Add(MakeStepFrame(4, "fraSelectTask"));
  Control progress =
      Make("prgsAction", ControlKind::ProgressBar, std::nullopt, frame, 360, 2280, 6255, 375, "");
  progress.Min = 0;
  progress.Max = 200;
  progress.Value = 0;
  b.Add(progress);
  b.Add(MakeDescription(4, frame, "602"));
  b.Add(MakeLabel("lblAction", std::nullopt, frame, 360, 1800, 6255, 255, ""));
}

void AddReadyStep(Builder& b) {
  int frame = b.Add(MakeStepFrame(6, "fraSelectTask"));
  Control info = MakeLabel("lblInfo", std::nullopt, frame, 360, 1680, 6135, 1095, "803");
  info.Font = BoldEastEurope(8.25);
  b.Add(info);
  b.Add(MakeDescription(6, frame, "802"));
}

void AddCarListStep(Builder& b) {
  int frame = b.Add(MakeStepFrame(7, "fraSelectTask"));
  Control list = Make("lstCarList", ControlKind::ListBox, std::nullopt, frame, 1920, 720, 3375, 1815, "");
  list.BackColor = Color::System(kSysColorWindow);
  list.ForeColor = Color::System(kSysColorWindowText);
  list.Border = BorderStyle::FixedSingle;
  b.Add(list);
  b.Add(MakeDescription(7, frame, "902"));
}

void AddNavigationStrip(Builder& b) {
  int strip =
      b.Add(Make("picNav", ControlKind::PictureBox, std::nullopt, kContainerForm, 0, 4020, 7185, 570, ""));
  const struct {
    int32_t Left;
    const char* Tag;
    const char* Caption;
  } buttons[] = {
      {120, "100", "Help"},    {2280, "101", "Cancel"}, {3480, "102", "< Back"},
      {4560, "103", "Next >"}, {5880, "104", "Finish"},
  };
  for (int16_t i = 0; i < 5; ++i) {
    b.Add(MakeNavButton(i, strip, buttons[i].Left, buttons[i].Tag, buttons[i].Caption));
  }
  b.Add(MakeLine(1, strip, 0, Color::Rgb(128, 128, 128)));
  b.Add(MakeLine(2, strip, 24, Color::Rgb(255, 255, 255)));
}

void SetInitialStates(FormModel& model) {
  Control* help = model.Find("cmdNav", 0);
  help->Visible = false;
  help->Enabled = false;
  model.Find("cmdNav", 2)->Enabled = false;
  model.Find("cmdNav", 4)->Enabled = false;
}

void SetTabOrder(FormModel& model) {
  const struct {
    const char* Name;
    std::optional<int16_t> Index;
  } order[] = {
      {"picNav", std::nullopt},
      {"cmdNav", 4},
      {"cmdNav", 3},
      {"cmdNav", 2},
      {"cmdNav", 1},
      {"cmdNav", 0},
      {"picTitle", std::nullopt},
      {"lblTitle", std::nullopt},
      {"lblSubTitle", std::nullopt},
      {"fraStep", 0},
      {"lblDescription", 0},
      {"fraGameFolder", 0},
      {"btnBrowse", 0},
      {"lblGameFolder", std::nullopt},
      {"fraStep", 4},
      {"lblDescription", 4},
      {"prgsAction", std::nullopt},
      {"lblAction", std::nullopt},
      {"fraStep", 6},
      {"lblDescription", 6},
      {"fraStep", 7},
      {"lblDescription", 7},
      {"lstCarList", std::nullopt},
      {"lblInfo", std::nullopt},
  };
  int tabIndex = 0;
  for (const auto& entry : order) model.Find(entry.Name, entry.Index)->TabIndex = tabIndex++;
}

}  // namespace

FormModel BuildMainFormModel() {
  Builder b;
  AddTitleStrip(b);
  AddGameFolderStep(b);
  AddProgressStep(b);
  AddReadyStep(b);
  AddCarListStep(b);
  AddNavigationStrip(b);
  FormModel model = b.Take();

  Control& form = model.Form;
  form.Name = std::string(kFormName);
  form.Kind = ControlKind::Form;
  form.Width = 7185;
  form.Height = 4590;
  form.Picture = "icon";

  SetInitialStates(model);
  SetTabOrder(model);
  return model;
}

}  // namespace wizard
