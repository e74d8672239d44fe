#include "tests/shells/win32/RecordingHost.h"

#include <algorithm>
#include <stdexcept>

namespace brontel::win32::testing {
namespace {

constexpr char kHostClass[] = "BrontelRecordingHost";

void RegisterHostClass() {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(::GetModuleHandleA(nullptr), kHostClass, &existing))
    return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kHostClass;
  ::RegisterClassExA(&windowClass);
}

}  // namespace

RecordingHost::RecordingHost(HWND parent, int width, int height) {
  RegisterHostClass();
  const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  window_ = ::CreateWindowExA(0, kHostClass, "Brontel test host", style, 0, 0, width, height,
                              parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr)
    throw std::runtime_error("cannot create the host window");
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrA(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&RecordingHost::WindowProcedure));
  if (parent == nullptr)
    ::SetForegroundWindow(window_);
  Pump(50);
}

RecordingHost::~RecordingHost() {
  ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
  ::DestroyWindow(window_);
}

void RecordingHost::Adopt(HWND viewer) {
  viewers_.push_back(viewer);
  FitViewers();
}

void RecordingHost::Forget(HWND viewer) {
  std::erase(viewers_, viewer);
}

void RecordingHost::FitViewers() {
  RECT client;
  ::GetClientRect(window_, &client);
  for (HWND viewer : viewers_) {
    if (::IsWindow(viewer))
      ::MoveWindow(viewer, 0, 0, client.right, client.bottom, TRUE);
  }
}

std::vector<HostMessage> RecordingHost::Messages(UINT message) const {
  std::vector<HostMessage> matching;
  std::copy_if(messages_.begin(), messages_.end(), std::back_inserter(matching),
               [message](const HostMessage& m) { return m.message == message; });
  return matching;
}

void RecordingHost::Pump(int milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::Sleep(5);
  } while (::GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

LRESULT CALLBACK RecordingHost::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* self = reinterpret_cast<RecordingHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr)
    return ::DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      self->messages_.push_back(HostMessage{message, wParam, lParam});
      return 0;
    case WM_CLOSE:
      self->messages_.push_back(HostMessage{message, wParam, lParam});
      if (self->OnClose)
        self->OnClose();
      return 0;
    case WM_SETFOCUS:
      ++self->focusGained_;
      return 0;
    case WM_SIZE:
      self->FitViewers();
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace brontel::win32::testing
