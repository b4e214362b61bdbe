#include "widgets.h"

// Ahead of the X11 headers under fl_draw.H, which define None.
#include "wizard/pixel_layout.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>

#include "label_text.h"

namespace fltk_frontend {

LabelWidget::LabelWidget(int x, int y, int w, int h, bool pathEllipsis)
    : Fl_Box(x, y, w, h), pathEllipsis_(pathEllipsis) {
  box(FL_FLAT_BOX);
  align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_CLIP | (pathEllipsis ? 0 : FL_ALIGN_WRAP));
}

Fl_Fontsize LabelWidget::FittingSize() const {
  const char* text = label();
  return wizard::CaptionHeight(labelsize(), [&](int size) {
    fl_font(labelfont(), size);
    int textW = (align() & FL_ALIGN_WRAP) ? w() : 0, textH = 0;
    fl_measure(text, textW, textH, 1);
    return textW <= w() && textH <= h();
  });
}

std::string LabelWidget::Shown() const {
  std::string text = ShownText(label() != nullptr ? label() : "");
  if (!pathEllipsis_ || text.empty()) return text;
  fl_font(labelfont(), FittingSize());
  return ShortenedPath(text, w(), [](std::string_view part) {
    return static_cast<int>(std::ceil(fl_width(part.data(), static_cast<int>(part.size()))));
  });
}

void LabelWidget::draw() {
  draw_box();
  const char* text = label();
  if (text == nullptr || *text == '\0') return;
  if (pathEllipsis_) {
    std::string shown = Shown();  // leaves the font set
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    fl_draw(shown.c_str(), x(), y(), w(), h(), align(), nullptr, 0);
    return;
  }
  Fl_Fontsize designed = labelsize();
  labelsize(FittingSize());
  // Fl_Widget::draw_label() would indent the text by 3 pixels.
  draw_label(x(), y(), w(), h(), align());
  labelsize(designed);
}

PictureBoxWidget::PictureBoxWidget(int x, int y, int w, int h, bool bordered)
    : Fl_Group(x, y, w, h), bordered_(bordered) {
  box(FL_FLAT_BOX);
  end();
}

void PictureBoxWidget::draw() {
  Fl_Group::draw();
  if (!bordered_) return;
  fl_color(FL_DARK3);
  fl_rect(x(), y(), w(), h());
}

FrameWidget::FrameWidget(int x, int y, int w, int h, bool bordered)
    : Fl_Group(x, y, w, h), bordered_(bordered) {
  box(bordered ? FL_FLAT_BOX : FL_NO_BOX);
  align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
  end();
}

void FrameWidget::draw() {
  if (!bordered_) {
    Fl_Group::draw();
    return;
  }
  if (damage() & ~FL_DAMAGE_CHILD) {
    draw_box();
    fl_font(labelfont(), labelsize());
    int lineY = y() + fl_height() / 2;
    int titleX = x() + 7;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), lineY, w(), h() - (lineY - y()), color());
    const char* title = label();
    if (title != nullptr && *title != '\0') {
      int titleW = 0, titleH = 0;
      fl_measure(title, titleW, titleH, 1);
      titleW = std::min(titleW + 2, w() - 9);
      fl_color(color());
      fl_rectf(titleX, y(), titleW, fl_height());
      fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
      fl_push_clip(titleX, y(), titleW, fl_height());
      fl_draw(title, titleX + 1, y(), titleW - 1, fl_height(), FL_ALIGN_INSIDE | FL_ALIGN_LEFT, nullptr, 1);
      fl_pop_clip();
    }
  }
  draw_children();
}

PushButton::PushButton(int x, int y, int w, int h) : Fl_Button(x, y, w, h) {}

int PushButton::handle(int event) {
  bool enter = Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter;
  if (event == FL_KEYBOARD && enter && Fl::focus() == this && active_r()) {
    do_callback();
    return 1;
  }
  return Fl_Button::handle(event);
}

LineWidget::LineWidget(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {
  box(FL_NO_BOX);
  clear_visible_focus();
}

void LineWidget::draw() {
  fl_color(color());
  fl_rectf(x(), y(), w(), h());
}

}  // namespace fltk_frontend
