// The FLTK widgets that stand for the window's control kinds where FLTK's
// own differ from the designed look: labels without FLTK's inner margin,
// picture boxes and frames as containers, buttons that take Enter, lines.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Widget.H>

#include <string>

namespace fltk_frontend {

// A label: its text from its top-left corner, wrapped at its width and cut
// at its edges. The stand-in face runs wider than the designed one, so a text
// that would not fit is drawn a little smaller (down to three quarters)
// rather than cut. A path label keeps to one line and, still too long,
// loses its middle to an ellipsis.
class LabelWidget : public Fl_Box {
 public:
  LabelWidget(int x, int y, int w, int h, bool pathEllipsis = false);
  // The text as drawn (a path shortened); needs the display's fonts.
  std::string Shown() const;

 protected:
  void draw() override;

 private:
  Fl_Fontsize FittingSize() const;
  bool pathEllipsis_;
};

// A picture box: a container filled with its back colour, with an optional
// single-line border.
class PictureBoxWidget : public Fl_Group {
 public:
  PictureBoxWidget(int x, int y, int w, int h, bool bordered);

 protected:
  void draw() override;

 private:
  bool bordered_;
};

// A frame: a plain container, or with a border an etched rectangle whose
// top edge carries the title.
class FrameWidget : public Fl_Group {
 public:
  FrameWidget(int x, int y, int w, int h, bool bordered);

 protected:
  void draw() override;

 private:
  bool bordered_;
};

// A command button that also takes Enter while it has the focus, as dialog
// buttons do on the desktop.
class PushButton : public Fl_Button {
 public:
  PushButton(int x, int y, int w, int h);
  int handle(int event) override;
};

// A horizontal or vertical line in its colour, as the strip of pixels it
// covers (the end point excluded, as the desktop draws lines).
class LineWidget : public Fl_Widget {
 public:
  LineWidget(int x, int y, int w, int h);

 protected:
  void draw() override;
};

}  // namespace fltk_frontend
