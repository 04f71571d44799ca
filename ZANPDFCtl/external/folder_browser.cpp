#include "external/folder_browser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

namespace zan {

void QtFolderBrowser::show() {
  // The dialog only ever answers with a local folder, so the file-system-only option holds
  // without further flags; it is kept for hosts that read it back. It lives on the heap: its
  // owner (a panel's button) may be destroyed while it is open, which destroys it too.
  path_.clear();
  const QPointer<QFileDialog> dialog = new QFileDialog(owner_, title_);
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly, true);
  const QString start = nearestExistingFolder(start_);
  if (!start.isEmpty()) dialog->setDirectory(start);
  const int answer = dialog->exec();
  if (!dialog) return;
  if (answer == QDialog::Accepted) path_ = dialog->selectedFiles().value(0);
  delete dialog;
}

QString nearestExistingFolder(const QString& folder) {
  QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder.trimmed()));
  if (path.isEmpty() || QDir::isRelativePath(path)) return {};
  for (;;) {
    if (QFileInfo(path).isDir()) return path;
    const QString parent = QFileInfo(path).path();
    if (parent == path) return {};
    path = parent;
  }
}

}  // namespace zan
