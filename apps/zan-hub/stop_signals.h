#pragma once
// SIGTERM and SIGINT as a Qt signal on the main thread. The signal handler only writes the
// signal's number into a pipe; a socket notifier reads it in the event loop, where anything may
// be done.

#include <QObject>
#include <QSocketNotifier>

#include <memory>

class StopSignals final : public QObject {
  Q_OBJECT
 public:
  explicit StopSignals(QObject* parent = nullptr);
  ~StopSignals() override;

 signals:
  void received(int signal);

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};
