#include "message_box.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "label_text.h"
#include "widget_dump.h"
#include "widgets.h"
#include "x_window_id.h"

namespace fltk_frontend {
namespace {

using wizard::MsgIcon;
using wizard::MsgResult;

// Sizes at 96 dpi, in pixels: the desktop's usual message box metrics.
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kTextMaxWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
// Room beside the title for the window manager's icon and buttons.
constexpr int kMinTitleRoom = 120;
constexpr int kMinWidth = 220;
constexpr double kTextPoints = 8.25;

// The critical-stop icon (a red disc with a white cross), the question icon
// (a blue disc with a white question mark) or the exclamation icon (a yellow
// triangle with a black exclamation mark).
class MessageIcon : public Fl_Widget {
 public:
  MessageIcon(int x, int y, int size, MsgIcon icon) : Fl_Widget(x, y, size, size), icon_(icon) {
    clear_visible_focus();
  }

 protected:
  void draw() override {
    if (icon_ == MsgIcon::Exclamation) {
      fl_color(fl_rgb_color(250, 200, 0));
      fl_polygon(x() + w() / 2, y(), x() + w() - 1, y() + h() - 1, x(), y() + h() - 1);
      fl_color(FL_BLACK);
      fl_font(FL_HELVETICA_BOLD, h() * 3 / 5);
      fl_draw("!", x(), y() + h() / 6, w(), h() * 5 / 6, FL_ALIGN_CENTER, nullptr, 0);
      return;
    }
    bool critical = icon_ == MsgIcon::Critical;
    fl_color(critical ? fl_rgb_color(204, 0, 0) : fl_rgb_color(0, 84, 200));
    fl_pie(x(), y(), w() - 1, h() - 1, 0, 360);
    fl_color(FL_WHITE);
    if (critical) {
      int inset = w() * 3 / 10, thickness = std::max(2, w() / 8);
      fl_line_style(FL_SOLID | FL_CAP_ROUND, thickness);
      fl_line(x() + inset, y() + inset, x() + w() - 1 - inset, y() + h() - 1 - inset);
      fl_line(x() + w() - 1 - inset, y() + inset, x() + inset, y() + h() - 1 - inset);
      fl_line_style(0);
    } else {
      fl_font(FL_HELVETICA_BOLD, h() * 3 / 4);
      fl_draw("?", x(), y(), w(), h(), FL_ALIGN_CENTER, nullptr, 0);
    }
  }

 private:
  MsgIcon icon_;
};

}  // namespace

MessageDialog::MessageDialog(const MessageBoxRequest& request, const DialogButtonSet& buttons,
                             PixelScale scale)
    : Fl_Double_Window(100, 100), request_(request), set_(buttons), result_(buttons.EscapeResult) {
  const int margin = static_cast<int>(kMargin * scale.Factor());
  const int iconSize = static_cast<int>(kIconSize * scale.Factor());
  const int buttonW = static_cast<int>(kButtonWidth * scale.Factor());
  const int buttonH = static_cast<int>(kButtonHeight * scale.Factor());
  const int gap = static_cast<int>(kButtonGap * scale.Factor());
  const int fontSize = wizard::PointsToPixels(kTextPoints, scale.Dpi());

  fl_font(FL_HELVETICA, fontSize);
  int textW = static_cast<int>(kTextMaxWidth * scale.Factor()), textH = 0;
  fl_measure(request_.Text.c_str(), textW, textH, 0);
  // A pixel to spare, so the label wraps its text where the measure did.
  textW += 1;
  int titleW = 0, titleH = 0;
  fl_measure(request_.Title.c_str(), titleW, titleH, 0);

  const int count = static_cast<int>(set_.Buttons.size());
  const int buttonsW = count * buttonW + (count - 1) * gap;
  const int bodyH = std::max(iconSize, textH);
  const int width = std::max({margin + iconSize + margin + textW + margin, buttonsW + 2 * margin,
                              titleW + static_cast<int>(kMinTitleRoom * scale.Factor()),
                              static_cast<int>(kMinWidth * scale.Factor())});
  const int height = margin + bodyH + margin + buttonH + margin;
  size(width, height);

  new MessageIcon(margin, margin + (bodyH - iconSize) / 2, iconSize, request_.Icon);
  auto* text = new LabelWidget(margin + iconSize + margin, margin + (bodyH - textH) / 2, textW, textH);
  text->labelfont(FL_HELVETICA);
  text->labelsize(fontSize);
  text->copy_label(LabelText(request_.Text).c_str());
  text->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_WRAP);

  int buttonX = (width - buttonsW) / 2;
  for (const DialogButton& choice : set_.Buttons) {
    auto* button = new PushButton(buttonX, height - margin - buttonH, buttonW, buttonH);
    button->copy_label(LabelText(choice.Caption).c_str());
    button->labelfont(FL_HELVETICA);
    button->labelsize(fontSize);
    button->callback(OnButton, this);
    buttons_.push_back(button);
    buttonX += buttonW + gap;
  }
  end();
  copy_label(request_.Title.c_str());
  callback(OnClose, this);
  set_modal();
}

MsgResult MessageDialog::Run(Fl_Window* owner, WidgetDump* dump) {
  if (owner != nullptr && owner->shown()) {
    position(owner->x() + (owner->w() - w()) / 2, owner->y() + (owner->h() - h()) / 2);
  } else {
    int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
    Fl::screen_work_area(screenX, screenY, screenW, screenH);
    position(screenX + (screenW - w()) / 2, screenY + (screenH - h()) / 2);
  }
  show();
  wait_for_expose();
  if (!buttons_.empty()) buttons_.front()->take_focus();
  if (dump != nullptr) {
    dump->SetDialog(this);
    dump->Write();
  }
  while (shown()) Fl::wait();
  if (dump != nullptr) {
    dump->SetDialog(nullptr);
    dump->Write();
  }
  return result_;
}

int MessageDialog::handle(int event) {
  if (event == FL_KEYBOARD || event == FL_SHORTCUT) {
    int key = Fl::event_key();
    if (key == FL_Enter || key == FL_KP_Enter) {
      auto focused = std::find(buttons_.begin(), buttons_.end(), Fl::focus());
      size_t chosen = focused == buttons_.end() ? 0 : static_cast<size_t>(focused - buttons_.begin());
      Answer(set_.Buttons[chosen].Result);
      return 1;
    }
    if (key == FL_Escape) {
      Answer(set_.EscapeResult);
      return 1;
    }
  }
  return Fl_Double_Window::handle(event);
}

void MessageDialog::Answer(MsgResult result) {
  result_ = result;
  hide();
}

void MessageDialog::OnButton(Fl_Widget* button, void* self) {
  auto* dialog = static_cast<MessageDialog*>(self);
  auto found = std::find(dialog->buttons_.begin(), dialog->buttons_.end(), button);
  if (found != dialog->buttons_.end()) {
    dialog->Answer(dialog->set_.Buttons[static_cast<size_t>(found - dialog->buttons_.begin())].Result);
  }
}

void MessageDialog::OnClose(Fl_Widget* /*window*/, void* self) {
  auto* dialog = static_cast<MessageDialog*>(self);
  dialog->Answer(dialog->set_.EscapeResult);
}

void MessageDialog::Describe(std::string& out) const {
  auto number = [](int value) { return std::to_string(value); };
  const char* icon = request_.Icon == MsgIcon::Critical   ? "critical"
                     : request_.Icon == MsgIcon::Question ? "question"
                                                          : "exclamation";
  std::string xid = XWindowIdText(*this);
  out += "dialog\t" + xid + "\t" + number(x()) + "\t" + number(y()) + "\t" + number(w()) + "\t" +
         number(h()) + "\t" + icon + "\t" + DumpField(request_.Title) + "\t" + DumpField(request_.Text) +
         "\n";
  for (size_t index = 0; index < buttons_.size(); ++index) {
    const Fl_Widget* button = buttons_[index];
    out += "button\t" + number(static_cast<int>(index)) + "\t" + number(button->x()) + "\t" +
           number(button->y()) + "\t" + number(button->w()) + "\t" + number(button->h()) + "\t" +
           DumpField(set_.Buttons[index].Caption) + "\n";
  }
}

MsgResult ShowMessageBox(const MessageBoxRequest& request, wizard::Language language, PixelScale scale,
                         Fl_Window* owner, WidgetDump* dump) {
  MessageDialog dialog(request, ButtonsFor(request.Buttons, language), scale);
  return dialog.Run(owner, dump);
}

}  // namespace fltk_frontend
