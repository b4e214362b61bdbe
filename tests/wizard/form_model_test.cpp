// The window's layout is checked against one golden dump of the model.
// After changing the layout on purpose, regenerate it:
//   RIGBOX_UPDATE_GOLDEN=1 build/tests/rigbox_tests --gtest_filter=WizardFormModel.*
#include "wizard/form_model.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using wizard::Color, wizard::Control, wizard::ControlKind, wizard::FormModel;

std::string Describe(const Control& c) {
  return c.Name + (c.Index ? "(" + std::to_string(*c.Index) + ")" : "");
}

std::string ColorText(const Color& color) {
  if (color.From == Color::Source::System) return "sys" + std::to_string(color.SystemIndex);
  return "rgb" + std::to_string(color.R) + "," + std::to_string(color.G) + "," + std::to_string(color.B);
}

// Every property of every control, one line each.
std::string Dump(const FormModel& model) {
  std::ostringstream out;
  auto line = [&](const Control& c, const std::string& container) {
    out << Describe(c) << " " << wizard::TypeName(c.Kind) << " in=" << container << " at=" << c.Left << ","
        << c.Top << " size=" << c.Width << "x" << c.Height;
    if (c.Kind == ControlKind::Line) out << " line=" << c.X1 << "," << c.Y1 << "-" << c.X2 << "," << c.Y2;
    out << " tag=\"" << c.Tag << "\" caption=\"" << c.Caption << "\" font=" << c.Font.Face << "/"
        << c.Font.Size << (c.Font.Bold ? "/bold" : "") << "/" << int{c.Font.Charset}
        << " back=" << ColorText(c.BackColor) << " fore=" << ColorText(c.ForeColor)
        << " border=" << (c.Border == wizard::BorderStyle::FixedSingle ? "single" : "none")
        << " width=" << c.BorderWidth << (c.PathEllipsis ? " path-ellipsis" : "")
        << (c.Visible ? "" : " hidden") << (c.Enabled ? "" : " disabled")
        << " tab=" << (c.TabIndex ? std::to_string(*c.TabIndex) : "-") << " range=" << c.Min << ".." << c.Max
        << "@" << c.Value << " picture=\"" << c.Picture << "\" file=\"" << c.DefaultExt << "\",\"" << c.Filter
        << "\"\n";
  };
  line(model.Form, "-");
  out << "fixed=" << model.FixedDialog << " centred=" << model.StartCentered << "\n";
  for (const Control& c : model.Controls)
    line(c, c.Container == wizard::kContainerForm ? "form" : Describe(model.Controls[c.Container]));
  return out.str();
}

TEST(WizardFormModel, MatchesTheGoldenDump) {
#ifdef RIGBOX_GOLDEN_DIR
  const std::string path = std::string(RIGBOX_GOLDEN_DIR) + "/main_window.txt";
#else
  const std::string path;  // a build that does not say where fails here rather than check nothing
#endif
  std::string dump = Dump(wizard::BuildMainFormModel());
  if (std::getenv("RIGBOX_UPDATE_GOLDEN") != nullptr) std::ofstream(path, std::ios::binary) << dump;
  std::ifstream golden(path, std::ios::binary);
  ASSERT_TRUE(golden) << "cannot read the golden dump \"" << path << "\"";
  std::stringstream expected;
  expected << golden.rdbuf();
  EXPECT_EQ(dump, expected.str());
}

// Shown only while every container up to the form is visible (absolute
// positions and children are measured by the pixel layout's tests); found
// by name and index.
TEST(WizardFormModel, ShownWhenEveryContainerIs) {
  FormModel model = wizard::BuildMainFormModel();
  int browse = model.IndexOf("btnBrowse", 0);
  EXPECT_FALSE(model.IsShown(browse));  // its step frame is hidden
  model.Find("fraStep", 0)->Visible = true;
  EXPECT_TRUE(model.IsShown(browse));
  EXPECT_FALSE(model.IsShown(model.IndexOf("cmdNav", 0)));  // Help itself is hidden
  const FormModel& found = model;
  EXPECT_EQ(found.Find("cmdNav", 3)->Tag, "103");
  EXPECT_EQ(found.Find("cmdNav"), nullptr);  // an array needs its index
  EXPECT_EQ(found.Find("cmdNav", 5), nullptr);
  EXPECT_EQ(model.Find(model.Controls[0].Name, model.Controls[0].Index), &model.Controls[0]);
}

// A control placed on the form itself lies where its own twips say.
TEST(WizardFormModel, PositionOnTheFormIsItsOwn) {
  FormModel model = wizard::BuildMainFormModel();
  for (int p = 0; p < static_cast<int>(model.Controls.size()); ++p) {
    const wizard::Control& control = model.Controls[static_cast<size_t>(p)];
    if (control.Container != wizard::kContainerForm) continue;
    EXPECT_EQ(model.AbsoluteLeft(p), control.Left) << control.Name;
    EXPECT_EQ(model.AbsoluteTop(p), control.Top) << control.Name;
  }
}

}  // namespace
