#pragma once
// The setup file a release-setup run edits, and where the bundled example and the working copy
// live.
//
// A setup file may store the workgroup hub and the watched folder relative to the file's own
// folder (the bundled example stores its hub as "../hub"). While the file is open such paths are
// absolute, so that the panel finds them whatever the current directory; saving writes an
// unchanged one back in its stored relative form, so the file stays portable.

#include "settings/setup_data.h"

#include <QHash>
#include <QString>

#include <memory>

namespace zan::host {

class SetupDocument {
 public:
  // Reads `path`. Fails with the AutomationError of zan::SetupFile::load (number 53, 75 or 321,
  // the description naming the file) when it is missing, unreadable or no setup file.
  static std::unique_ptr<SetupDocument> open(const QString& path);

  SetupFile& file() const { return *file_; }
  QString path() const { return file_->path(); }

  // Writes the file atomically; a failed save leaves the file on disk untouched and fails with
  // the AutomationError of zan::SetupFile::save.
  void save();

 private:
  explicit SetupDocument(std::unique_ptr<SetupFile> file);

  std::unique_ptr<SetupFile> file_;
  // "<part>/<key>" -> {stored relative text, absolute path shown to the panel}
  struct Resolved {
    QString stored, absolute;
  };
  QHash<QString, Resolved> resolved_;
};

// The keys that hold a location and may be stored relative to the setup file.
const QStringList& locationKeys();

// The bundled examples folder: the installed share folder of an installed program, else the
// source tree's examples/ (a program run from its build tree). Empty when neither exists.
QString examplesDir();
// examplesDir() + "/setup/release-setup.json", or empty.
QString bundledSetupPath();

// Where the working copy lives: $ZAN_RELEASE_SETUP_HOME when set, else the per-user
// configuration folder of the application.
QString workingHome();
QString workingSetupPath();

// Returns `target`, first creating it from the bundled example `example` when it does not exist
// yet: relative locations become absolute paths next to the example (so the copy points at the
// bundled sample hub), and the example itself is only read. An existing working copy is kept as
// it is. Fails with an AutomationError naming the file that could not be read or written.
QString seedWorkingSetup(const QString& example, const QString& target);

}  // namespace zan::host
