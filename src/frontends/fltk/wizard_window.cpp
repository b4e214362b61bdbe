#include "wizard_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_Progress.H>

#include <algorithm>

#include "embedded_images.h"
#include "label_text.h"
#include "widget_dump.h"
#include "widgets.h"
#include "wizard/pixel_layout.h"
#include "x_window_id.h"

namespace fltk_frontend {
namespace {

using wizard::Control;
using wizard::ControlKind;

constexpr int kCloseFromControlMenu = 0;

Fl_Color ToFlColor(const wizard::Color& color) {
  if (color.From == wizard::Color::Source::Rgb) return fl_rgb_color(color.R, color.G, color.B);
  switch (color.SystemIndex) {
    case wizard::kSysColorWindow:
      return FL_WHITE;
    case wizard::kSysColorWindowText:
    case wizard::kSysColorButtonText:
      return FL_FOREGROUND_COLOR;
    default:
      return FL_BACKGROUND_COLOR;
  }
}

// "MS Sans Serif" has no equal here; the desktop's sans face stands in.
Fl_Font ToFlFont(const wizard::Font& font) { return font.Bold ? FL_HELVETICA_BOLD : FL_HELVETICA; }

bool IsContainer(ControlKind kind) { return kind == ControlKind::PictureBox || kind == ControlKind::Frame; }

bool ShowsCaption(const Control& control) {
  switch (control.Kind) {
    case ControlKind::Label:
    case ControlKind::CommandButton:
      return true;
    case ControlKind::Frame:
      // A borderless frame has no visible title.
      return control.Border != wizard::BorderStyle::None;
    default:
      return false;
  }
}

// The text a widget shows, for the dump.
std::string ShownState(const Control& control, const Fl_Widget& widget) {
  if (control.Kind == ControlKind::ProgressBar) {
    const auto& bar = static_cast<const Fl_Progress&>(widget);
    return std::to_string(static_cast<int>(bar.value())) + "/" +
           std::to_string(static_cast<int>(bar.maximum()));
  }
  if (control.Kind == ControlKind::ListBox) {
    const auto& list = static_cast<const Fl_Hold_Browser&>(widget);
    std::string items;
    for (int line = 1; line <= list.size(); ++line) {
      if (line > 1) items += '|';
      items += list.text(line);
    }
    return items;
  }
  if (control.Kind == ControlKind::Label) return static_cast<const LabelWidget&>(widget).Shown();
  return widget.label() != nullptr ? ShownText(widget.label()) : std::string();
}

}  // namespace

WizardWindow::WizardWindow(wizard::frmMain& form, PixelScale scale) : form_(form), scale_(scale) {
  const wizard::FormModel& model = form_.Model();
  wizard::PixelRect client = wizard::ClientArea(model, scale_.Dpi());
  window_ = std::make_unique<Fl_Double_Window>(client.Width, client.Height);
  window_->callback(OnClose, this);
  widgets_.assign(model.Controls.size(), nullptr);
  AddChildren(wizard::kContainerForm);
  window_->end();
  if (model.FixedDialog) window_->size_range(window_->w(), window_->h(), window_->w(), window_->h());
  for (size_t position = 0; position < widgets_.size(); ++position) Apply(static_cast<int>(position));
}

WizardWindow::~WizardWindow() = default;

// The children in their tab order, so that Tab moves the focus as designed.
void WizardWindow::AddChildren(int container) {
  const wizard::FormModel& model = form_.Model();
  for (int position : wizard::TabOrder(model, container)) {
    Fl_Widget* widget = MakeWidget(position);
    widgets_[static_cast<size_t>(position)] = widget;
    if (widget == nullptr) continue;
    if (IsContainer(model.Controls[static_cast<size_t>(position)].Kind)) {
      AddChildren(position);
      static_cast<Fl_Group*>(widget)->end();
    }
  }
}

Fl_Widget* WizardWindow::MakeWidget(int position) {
  const Control& control = form_.Model().Controls[static_cast<size_t>(position)];
  // FLTK places every widget in the window's coordinates.
  wizard::PixelRect bounds = wizard::WindowBounds(form_.Model(), position, scale_.Dpi());
  int x = bounds.Left, y = bounds.Top, w = bounds.Width, h = bounds.Height;
  bool bordered = control.Border != wizard::BorderStyle::None;
  Fl_Widget* widget = nullptr;
  switch (control.Kind) {
    case ControlKind::Label:
      widget = new LabelWidget(x, y, w, h, control.PathEllipsis);
      break;
    case ControlKind::CommandButton:
      widget = new PushButton(x, y, w, h);
      break;
    case ControlKind::PictureBox: {
      auto* box = new PictureBoxWidget(x, y, w, h, bordered);
      box->begin();
      return box;
    }
    case ControlKind::Frame: {
      auto* frame = new FrameWidget(x, y, w, h, bordered);
      frame->begin();
      return frame;
    }
    case ControlKind::Image: {
      auto* box = new Fl_Box(FL_NO_BOX, x, y, w, h, nullptr);
      if (const EmbeddedImage* png = FindEmbeddedImage(control.Picture)) {
        auto image = std::make_unique<Fl_PNG_Image>(png->Name, png->Data, static_cast<int>(png->Size));
        if (scale_.Factor() != 1.0) {
          images_.emplace_back(
              static_cast<Fl_RGB_Image*>(image->copy(static_cast<int>(image->w() * scale_.Factor()),
                                                     static_cast<int>(image->h() * scale_.Factor()))));
        } else {
          images_.push_back(std::move(image));
        }
        box->image(images_.back().get());
      }
      box->align(FL_ALIGN_INSIDE | FL_ALIGN_CENTER);
      widget = box;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new Fl_Progress(x, y, w, h);
      bar->box(FL_THIN_DOWN_BOX);
      bar->color(FL_WHITE);
      bar->selection_color(fl_rgb_color(0, 120, 215));
      widget = bar;
      break;
    }
    case ControlKind::ListBox: {
      auto* list = new Fl_Hold_Browser(x, y, w, h);
      // Entries are shown as they are, without "@" formatting.
      list->format_char(0);
      widget = list;
      break;
    }
    case ControlKind::Line:
      widget = new LineWidget(x, y, w, h);
      break;
    default:
      // The common dialog is never drawn; the other kinds are not on this window.
      return nullptr;
  }
  widget->callback(OnWidget, this);
  return widget;
}

void WizardWindow::Apply(int position) {
  const Control& control = form_.Model().Controls[static_cast<size_t>(position)];
  Fl_Widget* widget = widgets_[static_cast<size_t>(position)];
  if (widget == nullptr) return;

  if (control.Kind == ControlKind::Line) {
    widget->color(ToFlColor(control.ForeColor));
  } else {
    widget->color(ToFlColor(control.BackColor));
    widget->labelcolor(ToFlColor(control.ForeColor));
    widget->labelfont(ToFlFont(control.Font));
    widget->labelsize(wizard::PointsToPixels(control.Font.Size, scale_.Dpi()));
  }
  if (ShowsCaption(control)) widget->copy_label(LabelText(control.Caption).c_str());
  if (control.Kind == ControlKind::ProgressBar) {
    auto* bar = static_cast<Fl_Progress*>(widget);
    bar->minimum(static_cast<float>(control.Min));
    bar->maximum(static_cast<float>(control.Max));
    bar->value(static_cast<float>(control.Value));
  }
  if (control.Kind == ControlKind::ListBox) {
    auto* list = static_cast<Fl_Hold_Browser*>(widget);
    list->clear();
    for (const std::string& item : control.ListItems) list->add(item.c_str());
    list->value(control.ListIndex + 1);
  }
  if (control.Enabled) {
    widget->activate();
  } else {
    widget->deactivate();
  }
  if (control.Visible) {
    widget->show();
  } else {
    widget->hide();
  }
  widget->redraw();
}

void WizardWindow::Update(const Control& control) {
  const wizard::FormModel& model = form_.Model();
  if (&control == &model.Form) {
    window_->copy_label(control.Caption.c_str());
    return;
  }
  int position = wizard::PositionOf(model, control);
  if (position >= 0) Apply(position);
}

void WizardWindow::Show() {
  int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
  Fl::screen_work_area(screenX, screenY, screenW, screenH);
  if (form_.Model().StartCentered) {
    window_->position(screenX + (screenW - window_->w()) / 2, screenY + (screenH - window_->h()) / 2);
  }
  window_->show();
  window_->wait_for_expose();
}

void WizardWindow::Clicked(Fl_Widget* widget) {
  auto found = std::find(widgets_.begin(), widgets_.end(), widget);
  if (found == widgets_.end()) return;
  const int position = static_cast<int>(found - widgets_.begin());
  bool list = form_.Model().Controls[static_cast<size_t>(position)].Kind == ControlKind::ListBox;
  form_.Click(position, list ? static_cast<Fl_Hold_Browser*>(widget)->value() - 1 : -1);
}

void WizardWindow::OnWidget(Fl_Widget* widget, void* self) {
  static_cast<WizardWindow*>(self)->Clicked(widget);
}

void WizardWindow::OnClose(Fl_Widget* /*window*/, void* self) {
  static_cast<WizardWindow*>(self)->form_.RequestClose(kCloseFromControlMenu);
}

void WizardWindow::Describe(std::string& out) const {
  auto number = [](int value) { return std::to_string(value); };
  auto rect = [&number](const wizard::PixelRect& r) {
    return number(r.Left) + "\t" + number(r.Top) + "\t" + number(r.Width) + "\t" + number(r.Height);
  };
  std::string xid = XWindowIdText(*window_);
  out += "scale\t" + std::to_string(scale_.Factor()) + "\n";
  out += "window\t" + xid + "\t" + number(window_->x()) + "\t" + number(window_->y()) + "\t" +
         number(window_->w()) + "\t" + number(window_->h()) + "\t" +
         DumpField(window_->label() ? window_->label() : "") + "\n";
  const wizard::FormModel& model = form_.Model();
  std::string designed =
      "model\t" + model.Form.Name + "\t-\t" + rect(wizard::ClientArea(model, scale_.Dpi())) + "\n";
  for (size_t position = 0; position < widgets_.size(); ++position) {
    const Fl_Widget* widget = widgets_[position];
    if (widget == nullptr) continue;
    const Control& control = model.Controls[position];
    std::string key = control.Name + "\t" + (control.Index ? std::to_string(*control.Index) : "-") + "\t";
    out += "widget\t" + key + rect({widget->x(), widget->y(), widget->w(), widget->h()}) + "\t" +
           number(widget->visible_r() ? 1 : 0) + "\t" + number(widget->active_r() ? 1 : 0) + "\t" +
           DumpField(ShownState(control, *widget)) + "\n";
    designed +=
        "model\t" + key + rect(wizard::WindowBounds(model, static_cast<int>(position), scale_.Dpi())) + "\n";
  }
  out += designed;
}

}  // namespace fltk_frontend
