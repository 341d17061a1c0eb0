#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <functional>
#include <memory>

namespace parquill::ui {

// Runs one reading at a time off the window's thread. A newer Start() or a
// Cancel() sets the older reading's cancel flag and drops its result; the
// result of the newest comes back to `done` on the window's thread.
class BackgroundWork : public QObject {
  Q_OBJECT

 public:
  explicit BackgroundWork(QObject* parent = nullptr) : QObject(parent) {}
  ~BackgroundWork() override { Cancel(); }

  template <typename Result>
  void Start(std::function<Result(const std::atomic<bool>& cancelled)> work,
             std::function<void(const Result&)> done) {
    Cancel();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    current_ = cancelled;
    auto* watcher = new QFutureWatcher<Result>(this);
    ++running_;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, cancelled, done] {
      watcher->deleteLater();
      --running_;
      if (cancelled->load() || cancelled != current_) return;
      current_.reset();
      done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([work, cancelled] { return work(*cancelled); }));
  }

  void Cancel() {
    if (current_) current_->store(true);
    current_.reset();
  }

  // True until the last reading started has come back (or been dropped).
  bool Running() const { return running_ > 0; }

 private:
  std::shared_ptr<std::atomic<bool>> current_;
  int running_ = 0;
};

}  // namespace parquill::ui
