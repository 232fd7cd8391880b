#pragma once
// Answers every message box with OK and records "title:text" of each. The
// record is shared with the answerer, because an extraction's thread may
// still raise a box after the test that started it has ended.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/toolkit/MessageBox.h"

namespace orv::test {

class BoxRecorder {
 public:
  BoxRecorder() {
    SetMessageBoxAnswerer([log = log_](const MessageBoxRequest& r) {
      std::lock_guard lock(log->mutex);
      log->boxes.push_back(r.title + ":" + r.text);
      return kAnswerOk;
    });
  }
  ~BoxRecorder() { SetMessageBoxAnswerer({}); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<std::string> Boxes() const {
    std::lock_guard lock(log_->mutex);
    return log_->boxes;
  }

 private:
  struct Log {
    std::mutex mutex;
    std::vector<std::string> boxes;
  };
  std::shared_ptr<Log> log_ = std::make_shared<Log>();
};

}  // namespace orv::test
