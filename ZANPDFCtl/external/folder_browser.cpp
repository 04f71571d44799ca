#include "external/folder_browser.h"

#include <QFileDialog>

namespace zan {

void QtFolderBrowser::show() {
  // getExistingDirectory only ever answers with a local folder, so the file-system-only option
  // holds without further flags; it is kept for hosts that read it back.
  path_ = QFileDialog::getExistingDirectory(owner_, title_, QString(), QFileDialog::ShowDirsOnly);
}

}  // namespace zan
