#include "viewer/WorkerThread.h"

#include <exception>

#include "diagnostics/Shield.h"

namespace brontel {

WorkerThread::WorkerThread(std::string name, std::function<bool()> step,
                           std::function<int()> perMille)
    : name_(std::move(name)),
      step_(std::move(step)),
      perMille_(std::move(perMille)),
      thread_([this] { Run(); }) {}

WorkerThread::~WorkerThread() {
  Stop();
}

void WorkerThread::Stop() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable())
    thread_.join();
}

void WorkerThread::Run() {
  const bool ended = Shield::Run(name_, [this] {
    try {
      while (!stop_.load(std::memory_order_relaxed) && step_())
        progress_.store(perMille_(), std::memory_order_relaxed);
    } catch (const std::exception& failure) {
      failure_ = failure.what();
    }
  });
  if (!ended)
    failure_ = name_ + " failed";
  finished_.store(true, std::memory_order_release);
}

}  // namespace brontel
