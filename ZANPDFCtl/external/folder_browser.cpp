#include "external/folder_browser.h"

#include <QFileDialog>
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
  const int answer = dialog->exec();
  if (!dialog) return;
  if (answer == QDialog::Accepted) path_ = dialog->selectedFiles().value(0);
  delete dialog;
}

}  // namespace zan
