#include <gtest/gtest.h>

#include "wizard/form_model.h"

namespace {

using wizard::BorderStyle;
using wizard::Color;
using wizard::Control;
using wizard::ControlKind;
using wizard::FormModel;

constexpr std::optional<int16_t> kNone = std::nullopt;

struct Placement {
  const char* Name;
  std::optional<int16_t> Index;
  ControlKind Kind;
  const char* ContainerName;  // nullptr: the form
  std::optional<int16_t> ContainerIndex;
  int32_t Left, Top, Width, Height;
  const char* Tag;
};

// The window's controls in collection order, as laid out.
const Placement kLayout[] = {
    {"picTitle", kNone, ControlKind::PictureBox, nullptr, kNone, -120, -120, 7335, 1095, ""},
    {"lblTitle", kNone, ControlKind::Label, "picTitle", kNone, 360, 240, 4815, 255, "200"},
    {"lblSubTitle", kNone, ControlKind::Label, "picTitle", kNone, 600, 600, 4575, 255, "201"},
    {"imgGV", kNone, ControlKind::Image, "picTitle", kNone, 5400, 120, 1650, 900, ""},
    {"dlgFile", kNone, ControlKind::CommonDialog, "picTitle", kNone, 4440, 240, 0, 0, ""},
    {"fraStep", 0, ControlKind::Frame, nullptr, kNone, 120, 960, 6855, 3015, ""},
    {"lblDescription", 0, ControlKind::Label, "fraStep", 0, 360, 240, 6255, 495, "202"},
    {"fraGameFolder", 0, ControlKind::Frame, "fraStep", 0, 360, 2040, 6255, 735, "203"},
    {"lblGameFolder", kNone, ControlKind::Label, "fraGameFolder", 0, 120, 360, 4815, 255, ""},
    {"btnBrowse", 0, ControlKind::CommandButton, "fraGameFolder", 0, 5040, 240, 1092, 312, "204"},
    {"fraStep", 4, ControlKind::Frame, nullptr, kNone, 120, 960, 6855, 3015, ""},
    {"prgsAction", kNone, ControlKind::ProgressBar, "fraStep", 4, 360, 2280, 6255, 375, ""},
    {"lblDescription", 4, ControlKind::Label, "fraStep", 4, 360, 240, 6255, 495, "602"},
    {"lblAction", kNone, ControlKind::Label, "fraStep", 4, 360, 1800, 6255, 255, ""},
    {"fraStep", 6, ControlKind::Frame, nullptr, kNone, 120, 960, 6855, 3015, ""},
    {"lblInfo", kNone, ControlKind::Label, "fraStep", 6, 360, 1680, 6135, 1095, "803"},
    {"lblDescription", 6, ControlKind::Label, "fraStep", 6, 360, 240, 6255, 495, "802"},
    {"fraStep", 7, ControlKind::Frame, nullptr, kNone, 120, 960, 6855, 3015, ""},
    {"lstCarList", kNone, ControlKind::ListBox, "fraStep", 7, 1920, 720, 3375, 1815, ""},
    {"lblDescription", 7, ControlKind::Label, "fraStep", 7, 360, 240, 6255, 495, "902"},
    {"picNav", kNone, ControlKind::PictureBox, nullptr, kNone, 0, 4020, 7185, 570, ""},
    {"cmdNav", 0, ControlKind::CommandButton, "picNav", kNone, 120, 120, 1092, 312, "100"},
    {"cmdNav", 1, ControlKind::CommandButton, "picNav", kNone, 2280, 120, 1092, 312, "101"},
    {"cmdNav", 2, ControlKind::CommandButton, "picNav", kNone, 3480, 120, 1092, 312, "102"},
    {"cmdNav", 3, ControlKind::CommandButton, "picNav", kNone, 4560, 120, 1092, 312, "103"},
    {"cmdNav", 4, ControlKind::CommandButton, "picNav", kNone, 5880, 120, 1092, 312, "104"},
    {"Line1", 1, ControlKind::Line, "picNav", kNone, 0, 0, 0, 0, ""},
    {"Line1", 2, ControlKind::Line, "picNav", kNone, 0, 0, 0, 0, ""},
};

std::string Describe(const Control& c) {
  return c.Name + (c.Index ? "(" + std::to_string(*c.Index) + ")" : "");
}

TEST(WizardFormModel, ControlsInCollectionOrderWithTheirPlaces) {
  FormModel model = wizard::BuildMainFormModel();
  ASSERT_EQ(model.Controls.size(), std::size(kLayout));
  for (size_t i = 0; i < std::size(kLayout); ++i) {
    const Placement& p = kLayout[i];
    const Control& c = model.Controls[i];
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(c.Name, p.Name);
    EXPECT_EQ(c.Index, p.Index);
    EXPECT_EQ(c.Kind, p.Kind);
    int container =
        p.ContainerName ? model.IndexOf(p.ContainerName, p.ContainerIndex) : wizard::kContainerForm;
    EXPECT_EQ(c.Container, container);
    EXPECT_EQ(c.Left, p.Left);
    EXPECT_EQ(c.Top, p.Top);
    EXPECT_EQ(c.Width, p.Width);
    EXPECT_EQ(c.Height, p.Height);
    EXPECT_EQ(c.Tag, p.Tag);
  }
}

TEST(WizardFormModel, TheWindow) {
  FormModel model = wizard::BuildMainFormModel();
  EXPECT_EQ(model.Form.Name, "frmMain");
  EXPECT_EQ(model.Form.Kind, ControlKind::Form);
  EXPECT_EQ(model.Form.Width, 7185);
  EXPECT_EQ(model.Form.Height, 4590);
  EXPECT_EQ(model.Form.Caption, "");
  EXPECT_EQ(model.Form.Tag, "");
  EXPECT_EQ(model.Form.Font, wizard::Font{});
  EXPECT_EQ(model.Form.Font.Face, "MS Sans Serif");
  EXPECT_DOUBLE_EQ(model.Form.Font.Size, 8.25);
  EXPECT_FALSE(model.Form.Font.Bold);
  EXPECT_TRUE(model.FixedDialog);
  EXPECT_TRUE(model.StartCentered);
}

TEST(WizardFormModel, Lines) {
  FormModel model = wizard::BuildMainFormModel();
  const Control* grey = model.Find("Line1", 1);
  const Control* white = model.Find("Line1", 2);
  ASSERT_TRUE(grey && white);
  EXPECT_EQ((std::vector<int32_t>{grey->X1, grey->Y1, grey->X2, grey->Y2}),
            (std::vector<int32_t>{108, 0, 7012, 0}));
  EXPECT_EQ((std::vector<int32_t>{white->X1, white->Y1, white->X2, white->Y2}),
            (std::vector<int32_t>{108, 24, 7012, 24}));
  EXPECT_EQ(grey->ForeColor, Color::Rgb(128, 128, 128));
  EXPECT_EQ(white->ForeColor, Color::Rgb(255, 255, 255));
  EXPECT_EQ(grey->BorderWidth, 1);
  EXPECT_EQ(white->BorderWidth, 1);
}

TEST(WizardFormModel, InitialStates) {
  FormModel model = wizard::BuildMainFormModel();
  for (int16_t step : {0, 4, 6, 7}) {
    const Control* frame = model.Find("fraStep", step);
    ASSERT_NE(frame, nullptr) << step;
    EXPECT_FALSE(frame->Visible) << step;
    EXPECT_EQ(frame->Border, BorderStyle::None) << step;
  }
  EXPECT_EQ(model.Find("fraStep", 1), nullptr);
  EXPECT_EQ(model.Find("fraGameFolder", 0)->Border, BorderStyle::FixedSingle);

  const struct {
    int16_t Index;
    bool Visible, Enabled;
  } buttons[] = {{0, false, false}, {1, true, true}, {2, true, false}, {3, true, true}, {4, true, false}};
  for (const auto& b : buttons) {
    const Control* button = model.Find("cmdNav", b.Index);
    EXPECT_EQ(button->Visible, b.Visible) << b.Index;
    EXPECT_EQ(button->Enabled, b.Enabled) << b.Index;
  }

  const Control* progress = model.Find("prgsAction");
  EXPECT_EQ(progress->Min, 0);
  EXPECT_EQ(progress->Max, 200);
  EXPECT_EQ(progress->Value, 0);
  const Control* list = model.Find("lstCarList");
  EXPECT_TRUE(list->ListItems.empty());
  EXPECT_EQ(list->ListIndex, -1);
  const Control* dialog = model.Find("dlgFile");
  EXPECT_FALSE(dialog->Visible);
  EXPECT_EQ(dialog->DefaultExt, "rigbox");
  EXPECT_EQ(dialog->Filter, "*.rigbox");

  // Nothing on the window but the strips is shown before a step is.
  std::vector<std::string> shown;
  for (size_t i = 0; i < model.Controls.size(); ++i) {
    if (model.IsShown(static_cast<int>(i))) shown.push_back(Describe(model.Controls[i]));
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{"picTitle", "lblTitle", "lblSubTitle", "imgGV", "picNav", "cmdNav(1)",
                                      "cmdNav(2)", "cmdNav(3)", "cmdNav(4)", "Line1(1)", "Line1(2)"}));
}

TEST(WizardFormModel, DesignCaptions) {
  FormModel model = wizard::BuildMainFormModel();
  const struct {
    const char* Name;
    std::optional<int16_t> Index;
    const char* Caption;
  } cases[] = {
      {"lblTitle", kNone, "lblTitle"},
      {"lblSubTitle", kNone, "lblSubTitle"},
      {"lblDescription", 0, "lblDescription"},
      {"lblDescription", 4, "lblDescription"},
      {"lblDescription", 6, "lblDescription"},
      {"lblDescription", 7, "lblDescription"},
      {"lblGameFolder", kNone, "lblGameFolder"},
      {"lblAction", kNone, "lblAction"},
      {"lblInfo", kNone, "lblInfo"},
      {"fraStep", 0, "fraStart"},
      {"fraStep", 4, "fraSelectTask"},
      {"fraStep", 6, "fraSelectTask"},
      {"fraStep", 7, "fraSelectTask"},
      {"btnBrowse", 0, "Browse..."},
  };
  for (const auto& c : cases) EXPECT_EQ(model.Find(c.Name, c.Index)->Caption, c.Caption) << c.Name;
}

TEST(WizardFormModel, FontsAndColours) {
  FormModel model = wizard::BuildMainFormModel();
  const Control* title = model.Find("lblTitle");
  EXPECT_EQ(title->Font.Face, "MS Sans Serif");
  EXPECT_DOUBLE_EQ(title->Font.Size, 9.75);
  EXPECT_TRUE(title->Font.Bold);
  EXPECT_EQ(title->Font.Charset, 238);
  EXPECT_EQ(title->BackColor, Color::System(wizard::kSysColorWindow));

  const Control* info = model.Find("lblInfo");
  EXPECT_EQ(info->Font.Face, "MS Sans Serif");
  EXPECT_DOUBLE_EQ(info->Font.Size, 8.25);
  EXPECT_TRUE(info->Font.Bold);
  EXPECT_EQ(info->Font.Charset, 238);

  const Control* subtitle = model.Find("lblSubTitle");
  EXPECT_EQ(subtitle->Font, wizard::Font{});
  EXPECT_EQ(subtitle->BackColor, Color::System(wizard::kSysColorWindow));

  EXPECT_EQ(model.Find("picTitle")->BackColor, Color::Rgb(255, 255, 255));
  EXPECT_EQ(model.Find("picNav")->BackColor, Color::System(wizard::kSysColorButtonFace));
  EXPECT_EQ(model.Find("lblDescription", 0)->BackColor, Color::System(wizard::kSysColorButtonFace));

  // Every other control keeps the window's regular font.
  for (const Control& c : model.Controls) {
    if (c.Name == "lblTitle" || c.Name == "lblInfo") continue;
    EXPECT_EQ(c.Font, wizard::Font{}) << Describe(c);
  }
}

TEST(WizardFormModel, TabOrder) {
  FormModel model = wizard::BuildMainFormModel();
  const std::vector<std::string> expected = {
      "picNav",       "cmdNav(4)",         "cmdNav(3)",         "cmdNav(2)",
      "cmdNav(1)",    "cmdNav(0)",         "picTitle",          "lblTitle",
      "lblSubTitle",  "fraStep(0)",        "lblDescription(0)", "fraGameFolder(0)",
      "btnBrowse(0)", "lblGameFolder",     "fraStep(4)",        "lblDescription(4)",
      "prgsAction",   "lblAction",         "fraStep(6)",        "lblDescription(6)",
      "fraStep(7)",   "lblDescription(7)", "lstCarList",        "lblInfo",
  };
  std::vector<std::string> byTabIndex(expected.size());
  std::vector<std::string> withoutTabIndex;
  for (const Control& c : model.Controls) {
    if (!c.TabIndex) {
      withoutTabIndex.push_back(Describe(c));
      continue;
    }
    ASSERT_GE(*c.TabIndex, 0);
    ASSERT_LT(static_cast<size_t>(*c.TabIndex), expected.size());
    EXPECT_EQ(byTabIndex[static_cast<size_t>(*c.TabIndex)], "") << "tab index used twice";
    byTabIndex[static_cast<size_t>(*c.TabIndex)] = Describe(c);
  }
  EXPECT_EQ(byTabIndex, expected);
  EXPECT_EQ(withoutTabIndex, (std::vector<std::string>{"imgGV", "dlgFile", "Line1(1)", "Line1(2)"}));
}

TEST(WizardFormModel, ContainersAndAbsolutePositions) {
  FormModel model = wizard::BuildMainFormModel();
  std::vector<std::string> topLevel;
  for (int i : model.Children(wizard::kContainerForm))
    topLevel.push_back(Describe(model.Controls[static_cast<size_t>(i)]));
  EXPECT_EQ(topLevel, (std::vector<std::string>{"picTitle", "fraStep(0)", "fraStep(4)", "fraStep(6)",
                                                "fraStep(7)", "picNav"}));

  std::vector<std::string> inFolderFrame;
  for (int i : model.Children(model.IndexOf("fraGameFolder", 0))) {
    inFolderFrame.push_back(Describe(model.Controls[static_cast<size_t>(i)]));
  }
  EXPECT_EQ(inFolderFrame, (std::vector<std::string>{"lblGameFolder", "btnBrowse(0)"}));

  int browse = model.IndexOf("btnBrowse", 0);
  EXPECT_EQ(model.AbsoluteLeft(browse), 120 + 360 + 5040);
  EXPECT_EQ(model.AbsoluteTop(browse), 960 + 2040 + 240);
  int next = model.IndexOf("cmdNav", 3);
  EXPECT_EQ(model.AbsoluteLeft(next), 4560);
  EXPECT_EQ(model.AbsoluteTop(next), 4020 + 120);
  // The title strip ends 975 twips below the window's top; the step area
  // ends where the navigation strip begins.
  int strip = model.IndexOf("picTitle");
  EXPECT_EQ(model.AbsoluteTop(strip) + model.Controls[static_cast<size_t>(strip)].Height, 975);
  for (int16_t step : {0, 4, 6, 7}) {
    const Control* frame = model.Find("fraStep", step);
    EXPECT_LE(frame->Top + frame->Height, model.Find("picNav")->Top) << step;
  }
  EXPECT_EQ(model.Find("picNav")->Top + model.Find("picNav")->Height, model.Form.Height);
}

TEST(WizardFormModel, FindByNameAndIndex) {
  FormModel model = wizard::BuildMainFormModel();
  ASSERT_NE(model.Find("cmdNav", 3), nullptr);
  EXPECT_EQ(model.Find("cmdNav", 3)->Tag, "103");
  EXPECT_EQ(model.Find("cmdNav"), nullptr);  // an array needs its index
  EXPECT_EQ(model.Find("cmdNav", 5), nullptr);
  EXPECT_EQ(model.Find("lblTitle", 0), nullptr);
  EXPECT_EQ(model.IndexOf("nothing"), -1);
  const FormModel& constModel = model;
  EXPECT_EQ(constModel.Find("lblInfo")->Tag, "803");
}

TEST(WizardFormModel, TypeNamesAndProperties) {
  const struct {
    ControlKind Kind;
    const char* Name;
    bool HasCaption;
    bool HasToolTip;
  } cases[] = {
      {ControlKind::Form, "Form", true, false},
      {ControlKind::Label, "Label", true, true},
      {ControlKind::CommandButton, "CommandButton", true, true},
      {ControlKind::Frame, "Frame", true, true},
      {ControlKind::PictureBox, "PictureBox", false, true},
      {ControlKind::Image, "Image", false, true},
      {ControlKind::CommonDialog, "CommonDialog", false, false},
      {ControlKind::ProgressBar, "ProgressBar", false, true},
      {ControlKind::ListBox, "ListBox", false, true},
      {ControlKind::Line, "Line", false, false},
      {ControlKind::Menu, "Menu", true, false},
      {ControlKind::TabStrip, "TabStrip", false, true},
      {ControlKind::Toolbar, "Toolbar", false, true},
      {ControlKind::ListView, "ListView", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(wizard::TypeName(c.Kind), c.Name);
    EXPECT_EQ(wizard::KindHasCaption(c.Kind), c.HasCaption) << c.Name;
    EXPECT_EQ(wizard::KindHasToolTipText(c.Kind), c.HasToolTip) << c.Name;
  }
}

}  // namespace
