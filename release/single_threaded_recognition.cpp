#include "release/single_threaded_recognition.h"

#include <unistd.h>
#include <cstdlib>

namespace zan::release {

void restartWithSingleThreadedRecognition(char** argv) {
  if (std::getenv("OMP_THREAD_LIMIT")) return;
  setenv("OMP_THREAD_LIMIT", "1", 1);
  execv("/proc/self/exe", argv);  // returns only on failure: go on with OpenMP's own limit
}

}  // namespace zan::release
