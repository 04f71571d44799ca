#pragma once
// Files reached through open folder descriptors. What another user may have written (a
// watched folder, a job's pages, a hub's records) is opened beneath a folder that is already
// open, never through a symbolic link and never outside that folder; it is read only when it is
// a regular file, without blocking and up to a limit. Results are written under a hidden
// temporary name, flushed to the disk and renamed, with the creator's umask.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zan::release {

// An open file descriptor, closed when it goes.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd();
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The system's text for an errno value ("No space left on device").
QString errorText(int error);

// Opens a folder that an operator or administrator names; links in `path` are followed.
// Returns an invalid Fd with errno set when it cannot.
Fd openFolder(const QString& path);

// Opens `relative` (names separated by "/"; never "", "." or "..") beneath the open folder
// `folder`: no component may be a symbolic link and the path never leaves `folder` (openat2
// with RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS where the kernel has it, else one component at a
// time with O_NOFOLLOW). Returns an invalid Fd with errno set (ELOOP for a link) when it cannot.
Fd openBeneath(int folder, const QString& relative, int flags, mode_t mode = 0);

// What a file must be before its bytes are read.
struct FileRules {
  qint64 limit = 0;                      // at most this many bytes
  uid_t owner = static_cast<uid_t>(-1);  // owned by this user (-1: anyone)
  bool singleName = false;               // no further hard links to it
};

// The whole content of the open file `fd`, which must be a regular file that keeps `rules`.
// Throws ReleaseError with the reason alone ("not a regular file", "larger than 16 MB", ...).
QByteArray readRegular(int fd, const FileRules& rules);
// The same for `relative` opened beneath `folder` without following links (a link is refused
// as "a symbolic link", whatever it points to) and without blocking (a FIFO is refused).
QByteArray readBeneath(int folder, const QString& relative, const FileRules& rules);
// The same for a path an operator names (links followed), opened without blocking.
QByteArray readFile(const QString& path, const FileRules& rules);

enum class Existing { Replace, Keep };

// Writes `data` to `name` in the open folder `folder`: into a new hidden temporary file beside
// it (".<name>.XXXXXX", mode 0666 less the umask, never a link), flushed to the disk, renamed to
// `name` and the folder flushed too. With Existing::Keep an existing `name` is never replaced
// (the write fails with "File exists"). Throws ReleaseError "cannot write <shown>: <cause>";
// `name` is then as it was and no temporary file remains. Without `flush` nothing is flushed
// to the disk (a copy that only lives while the program runs).
void writeFileAt(int folder, const QString& name, const QByteArray& data, Existing existing,
                 const QString& shown, bool flush = true);

// Renames `from` in the open folder `fromFolder` to `to` in `toFolder`, never replacing an
// existing `to` (renameat2 with RENAME_NOREPLACE; on a file system without it, such as NFS, a
// plain rename once `to` is seen missing). True when moved; errno set otherwise (ENOENT: `from`
// is gone, another party moved it first).
bool moveWithoutReplacing(int fromFolder, const QString& from, int toFolder, const QString& to);

// Opens `relative` beneath `folder` as a folder, creating the missing ones (mode 0777 less the
// umask) on the way; links are refused. Returns an invalid Fd with errno set when it cannot.
Fd makeFoldersBeneath(int folder, const QString& relative);

// Removes `name` from the open folder `folder`: a folder with all it holds, anything else
// itself. A link is removed, never followed. True when nothing of that name is left.
bool removeBeneath(int folder, const QString& name);

// Removes the hidden temporary files (".<name>.XXXXXX", as writeFileAt makes them) of the open
// folder `folder` that start with `prefix` and have not changed for `olderThanSeconds`: what a
// run that was killed left behind. Returns how many were removed.
int sweepTemporaryFiles(int folder, const QString& prefix, int olderThanSeconds);

}  // namespace zan::release
