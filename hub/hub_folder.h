#pragma once
// A workgroup hub on disk, as the service and the release step use it: the folder that holds
// Workflows/ and Dictionaries/ (which the settings panel lists) and WatchedFolders/, where the
// release step registers each watched folder it releases into so that the services find it.

#include "hub/capture_settings.h"
#include "hub/workflow.h"

#include <QString>
#include <QStringList>

namespace zan::hub {

class HubFolder {
 public:
  // Opens the hub at `path`. Throws ReleaseError when it cannot be reached or is no hub.
  explicit HubFolder(const QString& path);
  const QString& path() const { return path_; }

  // The workflow or dictionary as the settings name it: the file the panel lists under that
  // name (its file name up to the first "."). Throws ReleaseError when the hub has none.
  QString workflowFile(const QString& name) const;
  QString dictionaryFile(const QString& name) const;
  // Reads and checks the workflow. Throws ReleaseError.
  Workflow workflow(const QString& name) const;
  // The words of the dictionary: a UTF-8 word list, one word a line ("#" starts a comment
  // line). Throws ReleaseError.
  QStringList dictionaryWords(const QString& name) const;

  // Records that jobs are released into `watchedFolder` (an absolute path). Throws ReleaseError
  // when the hub cannot be written.
  void registerWatchedFolder(const QString& watchedFolder) const;
  // The watched folders recorded, in the order of their records.
  QStringList watchedFolders() const;
  // The folder of the records, which a service watches for new ones.
  QString registryFolder() const;

 private:
  QString listedFile(const QString& folder, const QString& name, const char* what) const;
  QString path_;
};

// Writes `words` into a file in `folder` that Tesseract reads as user words and returns its
// path; the same words give the same file. Throws ReleaseError.
QString userWordsFile(const QStringList& words, const QString& folder);

// The options a job with `settings` is processed with on `hub`: its workflow, and its dictionary's
// words written into `wordsFolder` for recognition. What the service does for each job, and what
// a preview of the settings does. Throws ReleaseError.
release::ReleaseOptions captureJobOptions(const HubFolder& hub, const CaptureSettings& settings,
                                          const QString& wordsFolder);

}  // namespace zan::hub
