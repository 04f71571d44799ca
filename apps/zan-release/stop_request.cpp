#include "stop_request.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t received = 0;

void onSignal(int signal) {
  if (received == 0) received = signal;
}

}  // namespace

void installStopRequest() {
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;  // the second one takes the default: the end
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

QString stopRequested() {
  const int signal = received;
  if (signal == 0) return {};
  return signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM");
}
