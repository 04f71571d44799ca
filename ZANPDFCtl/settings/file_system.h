#pragma once
// The file operations a setup file is saved through. FileSystem::posix() makes the real system
// calls; a test hands a SetupFile its own FileSystem to make any single step fail.

#include <QByteArray>
#include <QString>

#include <memory>

namespace zan {

struct FileStatus {
  bool exists = false;
  bool isDirectory = false;
  unsigned owner = 0, group = 0;
  unsigned mode = 0;  // permission bits, set-id and sticky bits included
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Every operation returns false and sets `error` to the system's reason when it fails.
  // The status of `path`, following symbolic links; a path that does not exist is no failure.
  virtual bool status(const QString& path, FileStatus& status, QString& error) = 0;
  // The file a path names once every symbolic link is followed (the path itself when it is no
  // link); a link that points to nothing yet names the file it would create.
  virtual bool resolveLinks(const QString& path, QString& target, QString& error) = 0;
  // Creates a new, empty file next to `target` with `mode` (the process's umask applies).
  virtual bool createTemporary(const QString& target, unsigned mode, QString& temporary,
                               int& handle, QString& error) = 0;
  // Writes all of `bytes`; a short write is a failure.
  virtual bool write(int handle, const QByteArray& bytes, QString& error) = 0;
  virtual bool setOwner(int handle, unsigned owner, unsigned group, QString& error) = 0;
  virtual bool setMode(int handle, unsigned mode, QString& error) = 0;
  // Flushes the file's data to the storage device.
  virtual bool sync(int handle, QString& error) = 0;
  virtual bool close(int handle, QString& error) = 0;
  virtual bool rename(const QString& from, const QString& to, QString& error) = 0;
  virtual void remove(const QString& path) = 0;
  // Makes a rename in `folder` durable; best effort (not every file system supports it).
  virtual void syncFolder(const QString& folder) = 0;

  static std::shared_ptr<FileSystem> posix();
};

// Replaces the file `path` names (through any symbolic link) by `bytes`: writes a new file next
// to it, gives it the old file's owner, group and mode, flushes it to the device and renames it
// over the old one. Any failed step removes the new file and leaves the old one untouched; the
// result is then false with `problem` naming the step and the reason.
bool replaceFile(FileSystem& fs, const QString& path, const QByteArray& bytes, QString& problem);

}  // namespace zan
