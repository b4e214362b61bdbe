// What the wizard needs from the front end that shows it: message boxes,
// the folder picker, showing a changed control at once, and ending the
// program. The window front ends, the unattended mode and the tests each
// implement it; no wizard decision is made behind it.
#pragma once

#include <cstdint>
#include <string>

namespace wizard {

struct Control;

enum class MsgButtons { OK, OKCancel, YesNo };
enum class MsgIcon { Critical, Question, Exclamation };
enum class MsgResult { OK, Cancel, Yes, No };

// The string ID of a box that has no string of its own (its text is put
// together, such as a package error).
inline constexpr int16_t kMsgNotice = 0;

class Shell {
 public:
  virtual ~Shell() = default;

  // A modal message box; returns the button the player chose. stringId
  // names what it says or asks (the string table's ID, or kMsgNotice), so a
  // shell without a player can tell one question from another.
  virtual MsgResult MessageBox(int16_t stringId, const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon) = 0;

  // The modal folder picker, titled title. Returns the chosen folder (no
  // trailing separator except for a root), or empty text when cancelled.
  virtual std::string BrowseForFolder(const std::string& title) = 0;

  // A control of the model changed (caption, enabled, visible, value,
  // items). The install run blocks the caller, so the front end shows the
  // change before returning.
  virtual void ControlChanged(const Control& control) = 0;
  // The run's status line (lblAction) now says text; told after its
  // ControlChanged, for a front end that shows no window.
  virtual void ActionChanged(const std::string& /*text*/) {}

  // Called often during a long extraction: a window repaints what needs it
  // and drops input, so the system does not take it for hung.
  virtual void KeepResponsive() {}

  // Ends the program at once: Finish, or a close that was confirmed.
  virtual void EndProgram() = 0;

  // True where the program can start itself again with an administrator's
  // rights, the system asking the player (Windows, when not elevated yet).
  virtual bool CanRestartElevated() { return false; }
  // Does so, the new wizard opening on gameFolder and writing the log at
  // logPath (none for ""); true when it started.
  virtual bool RestartElevated(const std::string& /*gameFolder*/, const std::string& /*logPath*/) {
    return false;
  }
};

}  // namespace wizard
