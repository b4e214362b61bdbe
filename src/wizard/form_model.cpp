#include "wizard/form_model.h"

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

}  // namespace wizard
