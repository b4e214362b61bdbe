// The wizard's one window: a top-level window with a child window for each
// control of frmMain's model, placed by the model at the window's DPI. It
// shows the model's changes and hands the player's actions to frmMain; it
// decides nothing itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "colors.h"
#include "controls.h"
#include "fonts.h"
#include "windows_api.h"
#include "wizard/frm_main.h"

namespace win32_frontend {

class MainWindow {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window, hidden, with the controls of form's model as they
  // are now; form must outlive the window.
  bool Create(wizard::frmMain& form);
  // Centres the window on its screen and shows it.
  void Show(int showCommand);
  // Brings the child window of control (or the window, for the form) in
  // line with the model.
  void Apply(const wizard::Control& control);
  // Apply, then paint at once: the install run holds the thread, so this
  // is the only chance the change gets to reach the screen. While the run
  // goes on, pending paint and timer messages are handled and the player's
  // input is dropped.
  void ShowChange(const wizard::Control& control);
  // During the run: paint what needs it and drop input, so the window
  // neither freezes nor queues clicks for after the run.
  void DrainWhileRunning();
  // Runs until the window is gone; returns the exit status.
  int RunMessageLoop();
  // Ends the program: the window goes, and with it the message loop.
  void Close();

  HWND Handle() const { return window_; }
  // The child window showing Controls[position], or nullptr (lines and the
  // common dialog have none).
  HWND Child(int position) const;
  // The border and title of a bordered frame, or nullptr.
  HWND GroupBox(int position) const;
  int Dpi() const { return dpi_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  const wizard::FormModel& Model() const { return form_->Model(); }
  // The control a child window or group box shows, or -1.
  int PositionOfWindow(HWND child) const;
  void CreateChildren(int container, HWND parent);
  HWND CreateChild(int position, HWND parent);
  void ApplyLayout();
  HFONT FontFor(int position, FontCache& fonts);
  void ResizeClientArea(const PixelRect& client);
  void RefreshLooks();
  void LoadIcons();
  void OnCommand(int id, unsigned notification, HWND child);
  // The brush for a child's background (its colours set on dc), or nullptr
  // for a window that shows no control of the model.
  HBRUSH OnControlColor(HDC dc, HWND child);
  void OnEraseBackground(HDC dc);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnActivate(bool active);
  void KeepFocusUsable();
  void KeepDefaultButton();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  wizard::frmMain* form_ = nullptr;
  int dpi_ = wizard::kBaseDpi;
  std::vector<HWND> children_;  // by model position
  std::vector<HWND> groupBoxes_;
  std::vector<std::unique_ptr<PanelLook>> looks_;
  std::unique_ptr<FontCache> fonts_;
  BrushCache brushes_;
  HBITMAP logo_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND lastFocus_ = nullptr;
};

}  // namespace win32_frontend
