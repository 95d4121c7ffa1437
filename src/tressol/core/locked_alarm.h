#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "target_file.h"

namespace tressol {

// An alarm of the standard library's lock and condition, for a system without an event of its
// own. Apart from target_file.h: Windows' events keep these out of Tressol.exe, which they
// would make some 10 KB larger.
class LockedAlarm final : public Alarm {
 public:
  void Sleep() override {
    std::unique_lock<std::mutex> lock(mutex_);
    woken_.wait(lock, [this] { return rung_; });
    rung_ = false;
  }
  void Wake() override {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      rung_ = true;
    }
    woken_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool rung_ = false;
};

}  // namespace tressol
