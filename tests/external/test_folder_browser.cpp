#include "external/folder_browser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QWidget>

// Catches the browser's modal dialog living on the stack as a child of its owner: a host that
// destroys the owner (a panel's button) while the dialog is open makes Qt delete the dialog a
// second time. The browser must come back with no folder chosen.
TEST(QtFolderBrowser, OwnerDestroyedWhileTheDialogIsOpen) {
  auto* owner = new QWidget;
  owner->show();
  zan::QtFolderBrowser browser;
  browser.setOwner(owner);
  browser.setTitle(QStringLiteral("Pick"));
  bool dialogSeen = false;
  QTimer::singleShot(100, [&] {
    dialogSeen = owner->findChild<QFileDialog*>() != nullptr;
    delete owner;
  });
  browser.show();
  EXPECT_TRUE(dialogSeen);
  EXPECT_TRUE(browser.path().isEmpty());
}
