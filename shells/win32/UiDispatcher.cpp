#include "shells/win32/UiDispatcher.h"

#include <stdexcept>
#include <utility>

#include "diagnostics/Shield.h"
#include "shells/win32/ModuleInstance.h"

namespace brontel::win32 {
namespace {

constexpr char kClassName[] = "BrontelDispatcher";
constexpr UINT kRunPosted = WM_APP + 1;

}  // namespace

UiDispatcher::UiDispatcher() {
  RegisterWindowClass(kClassName, &UiDispatcher::WindowProcedure, nullptr, nullptr);
  window_ = ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ModuleInstance(), this);
  if (window_ == nullptr)
    throw std::runtime_error("cannot create the dispatcher window");
}

UiDispatcher::~UiDispatcher() {
  for (auto& [id, bound] : timers_)
    bound.timer->RemoveObserver(bound.observer);
  ::DestroyWindow(window_);
}

void UiDispatcher::Post(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    queue_.push_back(std::move(work));
  }
  ::PostMessageA(window_, kRunPosted, 0, 0);
}

std::size_t UiDispatcher::Pending() const {
  std::lock_guard<std::mutex> lock(queueMutex_);
  return queue_.size();
}

void UiDispatcher::BindTimer(ui::Timer& timer) {
  const UINT_PTR id = nextTimerId_++;
  const auto observer = timer.AddObserver([this, id](ui::Component&, ui::Change change) {
    if (change == ui::Change::Destroyed) {
      ::KillTimer(window_, id);
      timers_.erase(id);
    } else if (change == ui::Change::Interval || change == ui::Change::Enabled) {
      Restart(id);
    }
  });
  timers_[id] = BoundTimer{&timer, observer};
  Restart(id);
}

void UiDispatcher::Restart(UINT_PTR id) {
  ::KillTimer(window_, id);
  const auto found = timers_.find(id);
  if (found == timers_.end())
    return;
  const ui::Timer& timer = *found->second.timer;
  if (timer.Enabled() && timer.Interval() > 0)
    ::SetTimer(window_, id, timer.Interval(), nullptr);
}

void UiDispatcher::Tick(UINT_PTR id) {
  const auto found = timers_.find(id);
  if (found == timers_.end()) {
    ::KillTimer(window_, id);
    return;
  }
  ui::Timer* timer = found->second.timer;
  Shield::Run(timer->name(), [timer] { timer->Fire(); });
}

void UiDispatcher::RunPosted() {
  // One message per piece of work: run the oldest piece, outside the lock, so that work may
  // post more work.
  std::function<void()> work;
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    if (queue_.empty())
      return;
    work = std::move(queue_.front());
    queue_.pop_front();
  }
  Shield::Run("posted work", work);
}

LRESULT CALLBACK UiDispatcher::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<UiDispatcher*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == kRunPosted) {
      self->RunPosted();
      return 0;
    }
    if (message == WM_TIMER) {
      self->Tick(wParam);
      return 0;
    }
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace brontel::win32
