#include "system_api.h"

namespace win32_frontend {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

constexpr int kDefaultDpi = 96;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int WindowDpi(HWND window) {
  static auto forWindow = LookUp<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (forWindow != nullptr && window != nullptr) {
    UINT dpi = forWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  static auto adjustForDpi = LookUp<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, width, height};
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    rect = RECT{0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return rect;
}

int SystemMetricForDpi(int index, int dpi) {
  static auto forDpi = LookUp<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

}  // namespace win32_frontend
