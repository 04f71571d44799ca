#pragma once

namespace zan::release {

// Tesseract runs OpenMP loops on several threads within each page. Pages are already
// recognised in parallel, one per worker, so those threads only oversubscribe the cores (a
// page took four times as long on two busy cores). libgomp reads OMP_THREAD_LIMIT once, when
// it is loaded, so a program that recognises pages calls this first thing in main(): unless
// the variable is set, it sets it to 1 and executes the program again with the same arguments.
void restartWithSingleThreadedRecognition(char** argv);

}  // namespace zan::release
