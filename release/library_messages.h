#pragma once
// The libraries' own messages (libpng's "libpng error: ...", libjpeg's "Premature end of JPEG
// file", libtiff's, Leptonica's "Error in ...", Qt's warnings) never reach the terminal or the
// log by themselves. Once captured, standard error is a pipe that the program drains: what the
// libraries say while a page is read or written (inside a LibraryMessages scope) is handed to
// the failure that follows and folded into its one line; the rest is dropped. The program's own
// lines go to the original standard error (ownMessages()).

#include <QString>

#include <cstdio>
#include <mutex>

namespace zan::release {

// Moves standard error aside. Call once from main(), before any thread starts; returns the
// stream for the program's own lines (the original standard error).
std::FILE* captureLibraryMessages();
// The stream for the program's own lines: the original standard error once captured, else
// stderr. ownMessagesFd() is its descriptor (for isatty, the terminal's width).
std::FILE* ownMessages();
int ownMessagesFd();

// One library call whose messages belong to it. Scopes take turns (one at a time in the
// process), so that what is said inside belongs to the call made inside.
class LibraryMessages {
 public:
  LibraryMessages();
  ~LibraryMessages();
  LibraryMessages(const LibraryMessages&) = delete;
  LibraryMessages& operator=(const LibraryMessages&) = delete;

  // The first thing the libraries said since the scope began ("libpng error: IDAT: CRC
  // error"); empty when nothing was said or nothing is captured.
  QString text();
  // " (<text>)" when there is text, else nothing: for the end of a failure's message.
  QString inParentheses();

 private:
  std::unique_lock<std::mutex> lock_;
  QByteArray said_;
};

}  // namespace zan::release
