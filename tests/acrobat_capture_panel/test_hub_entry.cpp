// The workgroup hub and watched folder boxes of ZANPdf3: hub searches (also nested ones),
// host elements disabled meanwhile, the failure path, and both browse buttons.

#include "panel_fixture.h"

#include "external/herald_hub.h"
#include "external/pdf_settings.h"

#include <QCoreApplication>
#include <QKeyEvent>

using namespace zan::testing;
using zan::AutomationError;

namespace {

// A hub whose lists name the path it was opened with; `probe` runs inside each call.
class ProbeHub : public zan::HeraldHub {
 public:
  QStringList calls;
  std::int32_t openStatus = zan::kHubOk, dictionariesStatus = zan::kHubOk;
  bool failOpen = false;
  std::function<void()> probe;

  void OpenHub(const QString& path, std::int32_t& status) override {
    record("OpenHub:" + path);
    if (failOpen) zan::raiseError(53, "Hub", "File not found");
    opened_ = path;
    status = openStatus;
  }
  void GetDictionaries(QString& list, std::int32_t& status) override {
    record("GetDictionaries");
    list = opened_ + "-dict|";
    status = dictionariesStatus;
  }
  void GetWorkflows(QString& list, std::int32_t& status) override {
    record("GetWorkflows");
    list = opened_ + "-flow|";
    status = zan::kHubOk;
  }
  void CloseHub(std::int32_t& status) override {
    record("CloseHub");
    status = zan::kHubOk;
  }

 private:
  void record(const QString& call) {
    calls << call;
    if (probe) probe();
  }
  QString opened_;
};

class HubEntryTest : public PanelTest {
 protected:
  QPushButton enabledButton, disabledButton;
  QStringList statesSeen;  // host element states seen inside hub calls

  void SetUp() override {
    world.hubFactory = [] { return std::make_unique<ProbeHub>(); };
    disabledButton.setEnabled(false);
  }
  ProbeHub& probe() { return *static_cast<ProbeHub*>(world.hub); }
  // Creates the panel with both buttons registered and a probe of their states.
  void createRegistered() {
    create();
    QVariant a = QVariant::fromValue<QObject*>(&enabledButton);
    QVariant b = QVariant::fromValue<QObject*>(&disabledButton);
    panel->DisableElementDuringHubSearch(a);
    panel->DisableElementDuringHubSearch(b);
    probe().probe = [this] {
      statesSeen << QString("%1%2")
                        .arg(int(enabledButton.isEnabled()))
                        .arg(int(disabledButton.isEnabled()));
    };
  }
  void expectRestored() {
    EXPECT_TRUE(enabledButton.isEnabled());
    EXPECT_FALSE(disabledButton.isEnabled());
    EXPECT_EQ(world.platform->pointer, zan::MousePointer::Default);
  }
};

// Catches blanks trimmed before storing, kept when opening, or one search per keystroke missing.
TEST_F(HubEntryTest, TypedPathIsStoredWithBlanksAndOpenedWithout) {
  createRegistered();
  init();
  panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  probe().openStatus = zan::kHubUnreachable;
  statesSeen.clear();
  QLineEdit* box = edit("txtWorkgroupHub");
  box->setFocus();
  QTest::keyClicks(box, " h ");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(world.settings->WorkgroupHub(), " h ");
  EXPECT_EQ(probe().calls.filter("OpenHub:").mid(1),  // after the one of loading
            QStringList({"OpenHub:", "OpenHub:h", "OpenHub:h"}));
  EXPECT_FALSE(probe().calls.last() == "CloseHub");  // a failed open is not closed
  for (const QString& s : statesSeen) EXPECT_EQ(s, "00");
  expectRestored();
  EXPECT_EQ(world.platform->pendingMessageCalls, 3);
}

// Catches an unchanged text skipping CloseHub or the disable/restore pair, or raising Change.
TEST_F(HubEntryTest, UnchangedTextStillClosesTheHub) {
  store("WorkgroupHub", "//hub");
  createRegistered();
  init();
  probe().calls.clear();
  statesSeen.clear();
  forceText("txtWorkgroupHub", "other");
  panel->setWorkgroupHub("//hub");
  EXPECT_EQ(probe().calls, QStringList{"CloseHub"});
  EXPECT_EQ(statesSeen, QStringList{"00"});
  EXPECT_EQ(changes, 0);
  expectRestored();
}

// Catches lists cleared by a failed open, or a failed dictionary answer skipping the workflows.
TEST_F(HubEntryTest, HubStatusesLeaveListsAsTheyWere) {
  createRegistered();
  init();
  panel->setWorkgroupHub("first");
  probe().openStatus = zan::kHubNotAHub;
  panel->setWorkgroupHub("second");
  EXPECT_EQ(entries("cmbDictionary"), QStringList{"first-dict"});
  EXPECT_EQ(entries("cmbWorkflow"), QStringList{"first-flow"});
  probe().openStatus = zan::kHubOk;
  probe().dictionariesStatus = zan::kHubFailure;
  panel->setWorkgroupHub("third");
  EXPECT_EQ(entries("cmbDictionary"), QStringList{"first-dict"});
  EXPECT_EQ(entries("cmbWorkflow"), QStringList{"third-flow"});
  expectRestored();
}

// Catches host elements disabled, or Change raised, while the panel is still loading.
TEST_F(HubEntryTest, LoadingSearchLeavesHostElementsAlone) {
  createRegistered();
  panel->setWorkgroupHub("early");
  EXPECT_EQ(statesSeen.last(), "10");
  EXPECT_EQ(world.settings->WorkgroupHub(), "early");
  EXPECT_EQ(entries("cmbDictionary"), QStringList{"early-dict"});
  EXPECT_EQ(changes, 0);
}

// Catches a failing search leaving the pointer busy or elements disabled (also when a
// registered value is no object), and the failure formats of the search and the property put.
TEST_F(HubEntryTest, FailedSearchRestoresAndReportsTheStep) {
  createRegistered();
  init();
  probe().failOpen = true;
  AutomationError e = failureOf([&] { panel->setWorkgroupHub("x"); });
  EXPECT_EQ(e.number, 53);
  EXPECT_EQ(e.source, "ZANPdf3.txtWorkgroupHub_Change");
  EXPECT_EQ(e.description, "Line# 10 Desc: Line #: 7; File not found");
  EXPECT_EQ(world.settings->WorkgroupHub(), "x");  // what was written stays
  expectRestored();

  probe().failOpen = false;
  QVariant notAnObject(42);
  panel->DisableElementDuringHubSearch(notAnObject);
  e = failureOf([&] { panel->setWorkgroupHub("y"); });
  EXPECT_EQ(e.number, 424);
  EXPECT_EQ(e.description, "Line# 10 Desc: Line #: 2; Object required");
  expectRestored();

  // On the user path the failure is shown, not lost.
  world.platform->boxes.clear();
  panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  edit("txtWorkgroupHub")->setFocus();
  QTest::keyClick(edit("txtWorkgroupHub"), Qt::Key_Z);
  ASSERT_EQ(world.platform->boxes.size(), 1u);
  EXPECT_TRUE(world.platform->boxes[0].text.startsWith("Line #: 2; Object required"));
  expectRestored();
}

// Catches a nested search (user input processed during a search) losing the saved states,
// resetting the pointer early, or leaving the lists of an older text.
TEST_F(HubEntryTest, NestedSearchFromQueuedInput) {
  createRegistered();
  init();
  panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  QLineEdit* box = edit("txtWorkgroupHub");
  box->setFocus();
  std::vector<zan::MousePointer> pointersInside;
  statesSeen.clear();
  probe().probe = [&] {
    pointersInside.push_back(world.platform->pointer);
    statesSeen
        << QString("%1%2").arg(int(enabledButton.isEnabled())).arg(int(disabledButton.isEnabled()));
  };
  world.platform->onPendingMessages = [] { QCoreApplication::processEvents(); };
  // The user types "a", and "b" is already queued when the first search lets messages through.
  QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
  QTest::keyClick(box, Qt::Key_A);
  EXPECT_EQ(box->text(), "ab");
  EXPECT_EQ(probe().calls.count("OpenHub:ab"), 2);  // nested search, then the outer one
  EXPECT_EQ(world.platform->pendingMessageCalls, 2);
  EXPECT_EQ(probe().calls.filter("OpenHub:").last(), "OpenHub:ab");
  for (const QString& s : statesSeen) EXPECT_EQ(s, "00");
  for (zan::MousePointer p : pointersInside) EXPECT_EQ(p, zan::MousePointer::Hourglass);
  EXPECT_EQ(entries("cmbDictionary"), QStringList{"ab-dict"});
  EXPECT_EQ(world.settings->WorkgroupHub(), "ab");
  expectRestored();
}

// Catches a watched folder change stored at once, or Change for the stored text.
TEST_F(HubEntryTest, WatchedFolderChangeOnlyNotifies) {
  store("WatchedFolder", "C:/w");
  create();
  init();
  forceText("txtWatchedFolder", "x");
  panel->setWatchedFolder("C:/w");
  EXPECT_EQ(changes, 0);
  panel->setWatchedFolder("C:/v");
  panel->setWatchedFolder("C:/u");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(world.settings->WatchedFolder(), "C:/w");
}

// Catches browser options or title wrong, the chosen path not searched, or a cancelled browse
// not moving the caret and focus.
TEST_F(HubEntryTest, BrowseButtons) {
  create();
  init();
  panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  world.browseAnswer = "/picked";
  QPushButton* hubButton = child<QPushButton>("cmdBrowseHub");
  QTest::mouseClick(hubButton, Qt::LeftButton);
  EXPECT_EQ(world.browseLog->owner, hubButton);
  EXPECT_TRUE(world.browseLog->fileSystemOnly);
  EXPECT_EQ(world.browseLog->title, "Location of Adobe Acrobat Capture Workgroup Hub");
  EXPECT_EQ(world.browseLog->destroyed, 1);
  EXPECT_EQ(panel->WorkgroupHub(), "/picked");
  EXPECT_EQ(probe().calls.filter("OpenHub:").last(), "OpenHub:/picked");
  EXPECT_EQ(QApplication::focusWidget(), edit("txtWorkgroupHub"));

  forceText("txtWatchedFolder", "C:/keep");
  edit("txtWatchedFolder")->setCursorPosition(0);
  world.browseAnswer.clear();
  QTest::mouseClick(child<QPushButton>("cmdBrowseWatch"), Qt::LeftButton);
  EXPECT_EQ(world.browseLog->title, "Location of Adobe Acrobat Capture Watched Folder");
  EXPECT_EQ(panel->WatchedFolder(), "C:/keep");
  EXPECT_EQ(edit("txtWatchedFolder")->cursorPosition(), 7);
  EXPECT_EQ(QApplication::focusWidget(), edit("txtWatchedFolder"));
  EXPECT_EQ(world.browseLog->destroyed, 2);
}

}  // namespace
