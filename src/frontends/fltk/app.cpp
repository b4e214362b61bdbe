#include "app.h"

#include <FL/Fl.H>
#include <FL/Fl_PNG_Image.H>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "discovery/registry.h"
#include "embedded_images.h"
#include "fltk_options.h"
#include "fltk_shell.h"

// Last: X11's macros (None, Status, ...) clash with the names above.
#include <FL/x.H>

namespace fltk_frontend {
namespace {

constexpr double kDefaultFontPoints = 8.25;
const char* const kIconNames[] = {"icon-16", "icon-24", "icon-32", "icon-48"};

class StdioOutput : public wizard::ConsoleOutput {
 public:
  void Out(const std::string& line) override {
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
  }
  void Err(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
};

// The program's icon in every size, for the wizard and its dialogs.
std::vector<std::unique_ptr<Fl_RGB_Image>> LoadIcons() {
  std::vector<std::unique_ptr<Fl_RGB_Image>> icons;
  for (const char* name : kIconNames) {
    if (const EmbeddedImage* png = FindEmbeddedImage(name)) {
      icons.push_back(std::make_unique<Fl_PNG_Image>(png->Name, png->Data, static_cast<int>(png->Size)));
    }
  }
  return icons;
}

// A closed standard stream would hand its number to the next file opened,
// and the status lines would land in a game file; a reader that went away
// would end the run half done. Neither may cut an install short.
void GuardStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF && open("/dev/null", O_RDWR) != fd) break;
  }
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int RunInstaller(int argc, char** argv) {
  GuardStandardStreams();
  std::optional<wizard::CommandLine> commandLine =
      wizard::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (commandLine && commandLine->OpensWindow()) return RunWizardWindow(*commandLine);
  std::string programName = argc > 0 ? argv[0] : "rigbox-extract";
  size_t slash = programName.find_last_of('/');
  if (slash != std::string::npos) programName.erase(0, slash + 1);
  return RunFromCommandLine(programName, commandLine);
}

int RunFromCommandLine(const std::string& programName,
                       const std::optional<wizard::CommandLine>& commandLine) {
  StdioOutput output;
  return wizard::RunConsole(commandLine, programName, output, modRegistry::SystemRegistry());
}

int RunWizardWindow(const wizard::CommandLine& commandLine) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    std::fputs(
        "rigbox-extract: no X display (DISPLAY is not set); use --silent to install without a window\n",
        stderr);
    return wizard::kExitRunFailed;
  }
  UseShippedOptions();
  fl_open_display();
  Fl::scheme("gtk+");
  Fl::background(240, 240, 240);
  Fl_Window::default_xclass("rigbox-extract");
  float dpiH = 96, dpiV = 96;
  Fl::screen_dpi(dpiH, dpiV);
  PixelScale scale = PixelScale::ForDpi(dpiV);
  FL_NORMAL_SIZE = wizard::PointsToPixels(kDefaultFontPoints, scale.Dpi());

  std::vector<std::unique_ptr<Fl_RGB_Image>> icons = LoadIcons();
  std::vector<const Fl_RGB_Image*> iconList;
  iconList.reserve(icons.size());
  for (const auto& icon : icons) iconList.push_back(icon.get());
  Fl_Window::default_icons(iconList.data(), static_cast<int>(iconList.size()));

  WidgetDump dump;
  FltkShell shell(wizard::CurrentLanguage(), scale, dump);
  wizard::frmMain form(shell, modRegistry::SystemRegistry());
  WizardWindow window(form, scale);
  shell.Attach(form, window);
  dump.SetWindow(&window);

  if (!form.StartLog(commandLine.Log)) return wizard::kExitUsage;
  form.Form_Load();
  if (commandLine.GameDir) form.OpenOnGameFolder(*commandLine.GameDir);
  window.Show();
  dump.Write();
  Fl::run();
  return wizard::WindowExitStatus(form);
}

}  // namespace fltk_frontend
