#include "external/folder_browser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
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

// Catches the browser opening in the working directory instead of the folder in the box, or a
// folder that does not exist (yet) not falling back to its nearest existing parent.
TEST(QtFolderBrowser, StartsAtTheNearestExistingFolder) {
  QTemporaryDir dir;
  const QString root = dir.path();
  QDir(root).mkpath("a/b");
  const std::pair<QString, QString> cases[] = {{root + "/a/b", root + "/a/b"},
                                               {root + "/a/b/new/deeper", root + "/a/b"},
                                               {" " + root + "/a/ ", root + "/a"},
                                               {root + "/a/../a/b/", root + "/a/b"},
                                               {"", ""},
                                               {"relative/name", ""}};
  for (const auto& [typed, expected] : cases)
    EXPECT_EQ(zan::nearestExistingFolder(typed), expected) << typed.toStdString();
}
