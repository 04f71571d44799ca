// Editing ZANPdf3: Change from lists and page content (from check boxes, document rows, a later
// Init and Restore Defaults it comes through code both panels share: BothPanels and the OCR
// panel's tests); the threshold box's wiring; hub searches (also nested ones) with host elements
// disabled meanwhile; the watched folder and both browse buttons.

#include "panel_fixture.h"

#include <QCoreApplication>
#include <QKeyEvent>

using namespace zan::testing;
using zan::AutomationError;

namespace {

using EditingTest = PanelTest;

// Catches list clicks compared with the previous selection instead of the stored value.
TEST_F(EditingTest, ListClicksCompareWithTheStoredValue) {
  store("Dictionary", "D2");
  create();
  hub().dictionaries = "D1|D2|";
  init();
  for (const char* language : {"Dutch", "French", "English (US)"})
    combo("cmbLanguage")->setCurrentIndex(combo("cmbLanguage")->findText(language));
  EXPECT_EQ(changes, 2);
  combo("cmbDictionary")->setCurrentIndex(0);
  combo("cmbDictionary")->setCurrentIndex(1);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(world.settings->CaptureLanguage(), "English (US)");  // nothing stored by a click
}

// Catches "Image Only" not stored, the panel not re-enabled, the workflow not forced (also
// when no such workflow exists or the list is empty), or controls left disabled afterwards.
TEST_F(EditingTest, ImageOnlyPageContent) {
  const std::tuple<QString, QString, int> cases[] = {
      {"A|PDF Image Only|B|", "PDF Image Only", 3}, {"A|B|", "A", 3}, {"|", "", 1}};
  for (const auto& [workflows, selected, expectedChanges] : cases) {
    SCOPED_TRACE(workflows.toStdString());
    store("Workflow", "B");
    create();
    hub().workflows = workflows;
    init();
    changes = 0;
    panel->putEnabled(false);
    combo("cmbPageContent")->setCurrentIndex(3);
    EXPECT_EQ(world.settings->PageContent(), "Image Only");
    EXPECT_EQ(combo("cmbWorkflow")->currentText(), selected);
    EXPECT_EQ(changes, expectedChanges);  // page content, then each workflow differing from "B"
    EXPECT_TRUE(ownEnabled("cmbWorkflow"));
    EXPECT_FALSE(ownEnabled("cmbLanguage"));
    EXPECT_FALSE(ownEnabled("txtConfidenceThreshold"));  // still marked: nothing accepted yet
    combo("cmbPageContent")->setCurrentIndex(1);
    EXPECT_TRUE(ownEnabled("cmbLanguage"));
  }
}

// Catches the user's repeated choice of the stored "Image Only" ignored (Qt reports a choice of
// the selected entry only through `activated`), a change counted twice, and the "Image Only"
// rule left applied after RestoreDefaults has replaced the page content.
TEST_F(EditingTest, ImageOnlyChosenAgainAndRestoredDefaults) {
  store("PageContent", "Image Only");
  store("Workflow", "A");
  create();
  hub().workflows = "A|PDF Image Only|";
  init();
  QComboBox* pageContent = combo("cmbPageContent");
  QComboBox* workflow = combo("cmbWorkflow");
  ASSERT_EQ(workflow->currentText(), "A");  // loading selects what is stored
  changes = 0;
  emit pageContent->activated(pageContent->currentIndex());
  EXPECT_EQ(workflow->currentText(), "PDF Image Only");
  EXPECT_EQ(changes, 1);  // the workflow, not the page content
  QCoreApplication::processEvents();
  changes = 0;
  pageContent->setCurrentIndex(1);  // a real choice: currentIndexChanged, then activated
  emit pageContent->activated(1);
  EXPECT_EQ(changes, 1);

  store("PageContent", "Image Only");
  init();
  EXPECT_FALSE(ownEnabled("cmbLanguage"));
  panel->RestoreDefaults();
  EXPECT_EQ(pageContent->currentText(), "Formatted Text & Graphics");
  for (const char* name : {"cmbLanguage", "chkEmbedFonts", "PDFHeaderLinks"})
    EXPECT_TRUE(ownEnabled(name)) << name;
}

// Catches the empty default hub of RestoreDefaults (or of a stored setup without one) opened
// and reported as unreachable, and the previous hub's lists kept beside the emptied hub.
TEST_F(EditingTest, RestoreDefaultsEmptiesTheHubListsQuietly) {
  create();
  hub().dictionaries = "Alpha|";
  hub().workflows = "Flow|";
  init();
  ASSERT_EQ(entries("cmbWorkflow"), QStringList{"Flow"});
  hub().calls.clear();
  panel->RestoreDefaults();
  EXPECT_TRUE(world.platform->boxes.empty()) << world.platform->boxes[0].text.toStdString();
  EXPECT_TRUE(hub().calls.filter("OpenHub").isEmpty());
  EXPECT_EQ(combo("cmbDictionary")->count(), 0);
  EXPECT_EQ(combo("cmbWorkflow")->count(), 0);
  EXPECT_EQ(panel->Validate(), zan::kObjectErrorBase + 536);  // the hub is missing
  EXPECT_EQ(panel->ValidateError().left(30), "The workgroup hub is missing. ");

  store("WorkgroupHub", QString());
  init();
  EXPECT_TRUE(world.platform->boxes.empty());
}

// Catches the threshold box without its entry (no arrow-key stepping, no Change for a typed
// text), a typed digit taken back (105 shown as 10) or a value changed when the box is left
// (105 becoming 100, a pasted -5 becoming 1), or the "Image Only" mark kept after a text.
TEST_F(EditingTest, ThresholdBoxWiring) {
  create();
  init();
  show();
  QLineEdit* e = edit("txtConfidenceThreshold");
  e->setFocus();
  QTest::keyClick(e, Qt::Key_Up);
  EXPECT_EQ(e->text(), "96");
  EXPECT_EQ(changes, 1);
  e->setText("10");
  changes = 0;
  e->end(false);
  QTest::keyClick(e, Qt::Key_5);
  EXPECT_EQ(e->text(), "105");
  EXPECT_EQ(changes, 1);
  child("chkEmbedFonts")->setFocus();
  EXPECT_EQ(e->text(), "105");
  combo("cmbPageContent")->setCurrentIndex(3);
  EXPECT_TRUE(ownEnabled("txtConfidenceThreshold"));
  EXPECT_FALSE(ownEnabled("spnConfidenceThreshold"));
  combo("cmbPageContent")->setCurrentIndex(0);
  e->setFocus();
  e->setText("-5");
  child("chkEmbedFonts")->setFocus();
  EXPECT_EQ(e->text(), "-5");
}

// A hub whose lists name the path it was opened with; `probe` runs inside each call.
class ProbeHub : public zan::HeraldHub {
 public:
  QStringList calls;
  std::int32_t openStatus = zan::kHubOk, dictionariesStatus = zan::kHubOk,
               closeStatus = zan::kHubOk;
  bool failOpen = false, failWorkflows = false;
  std::function<void()> probe;
  std::shared_ptr<QStringList> shared;  // also receives every call, and outlives the hub

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
    if (failWorkflows) zan::raiseError(76, "Hub", "Path not found");
    list = opened_ + "-flow|";
    status = zan::kHubOk;
  }
  void CloseHub(std::int32_t& status) override {
    record("CloseHub");
    status = closeStatus;
  }

 private:
  void record(const QString& call) {
    calls << call;
    if (shared) *shared << call;
    if (probe) probe();
  }
  QString opened_;
};

class HubEntryTest : public PanelTest {
 protected:
  QPushButton enabledButton, disabledButton;
  QStringList statesSeen;  // host element states seen inside hub calls, e.g. "10"
  std::vector<zan::MousePointer> pointersSeen;  // the pointer seen inside hub calls

  void SetUp() override {
    world.hubFactory = [] { return std::make_unique<ProbeHub>(); };
    disabledButton.setEnabled(false);
  }
  ProbeHub& probe() { return *static_cast<ProbeHub*>(world.hub); }
  // Creates the panel with both buttons registered and a probe of their states.
  void createRegistered() {
    create();
    for (QObject* button : {&enabledButton, &disabledButton}) {
      QVariant element = QVariant::fromValue(button);
      panel->DisableElementDuringHubSearch(element);
    }
    probe().probe = [this] {
      statesSeen << QString("%1%2").arg(enabledButton.isEnabled()).arg(disabledButton.isEnabled());
      pointersSeen.push_back(world.platform->pointer);
    };
  }
  void expectRestored() {
    EXPECT_TRUE(enabledButton.isEnabled());
    EXPECT_FALSE(disabledButton.isEnabled());
    EXPECT_EQ(world.platform->pointer, zan::MousePointer::Default);
  }
};

// Catches blanks trimmed before storing, kept when opening, one search per keystroke missing, or
// a blank path (which names no hub) opened.
TEST_F(HubEntryTest, TypedPathIsStoredWithBlanksAndOpenedWithout) {
  store("WorkgroupHub", QString());  // nothing stored: the user types into an empty box
  createRegistered();
  init();
  show();
  probe().openStatus = zan::kHubUnreachable;
  statesSeen.clear();
  edit("txtWorkgroupHub")->setFocus();
  QTest::keyClicks(edit("txtWorkgroupHub"), " h ");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(world.settings->WorkgroupHub(), " h ");
  EXPECT_EQ(probe().calls.filter("OpenHub:"), QStringList({"OpenHub:h", "OpenHub:h"}));
  EXPECT_NE(probe().calls.last(), "CloseHub");  // a failed open is not closed
  EXPECT_EQ(statesSeen, QStringList({"00", "00"}));
  expectRestored();
  EXPECT_EQ(world.platform->pendingMessageCalls, 3);
}

// Catches lists cleared by a failed open, a failed dictionary answer skipping the workflows,
// host elements disabled / Change raised by a search while loading, or an unchanged text
// skipping CloseHub or the disable/restore pair, or raising Change.
TEST_F(HubEntryTest, HubStatusesLeaveListsAsTheyWere) {
  createRegistered();
  panel->setWorkgroupHub("first");  // still loading
  EXPECT_EQ(statesSeen.last(), "10");
  EXPECT_EQ(entries("cmbDictionary"), QStringList{"first-dict"});
  EXPECT_EQ(changes, 0);
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
  probe().calls.clear();
  statesSeen.clear();
  changes = 0;
  forceText("txtWorkgroupHub", "other");
  panel->setWorkgroupHub("third");
  EXPECT_EQ(probe().calls, QStringList{"CloseHub"});
  EXPECT_EQ(statesSeen, QStringList{"00"});
  EXPECT_EQ(changes, 0);
  expectRestored();
}

// Catches a failing search leaving the pointer busy, elements disabled or an opened hub open,
// the failure format, the failure lost on the user path, or a hub that could not be closed
// passing unreported.
TEST_F(HubEntryTest, FailedSearchRestoresClosesAndReports) {
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
  probe().failWorkflows = true;
  probe().calls.clear();
  e = failureOf([&] { panel->setWorkgroupHub("y"); });
  EXPECT_EQ(e.description, "Line# 10 Desc: Line #: 9; Path not found");
  EXPECT_EQ(probe().calls,
            QStringList({"OpenHub:y", "GetDictionaries", "GetWorkflows", "CloseHub"}));
  expectRestored();

  world.platform->boxes.clear();
  show();
  edit("txtWorkgroupHub")->setFocus();
  QTest::keyClick(edit("txtWorkgroupHub"), Qt::Key_Z);
  ASSERT_EQ(world.platform->boxes.size(), 1u);
  EXPECT_TRUE(world.platform->boxes[0].text.startsWith("Line #: 9; Path not found"));
  expectRestored();

  probe().failWorkflows = false;
  probe().closeStatus = zan::kHubFailure;
  world.platform->boxes.clear();
  panel->setWorkgroupHub("/srv/hub");
  ASSERT_EQ(world.platform->boxes.size(), 1u);
  EXPECT_EQ(world.platform->boxes[0].text,
            "The workgroup hub \"/srv/hub\" could not be closed (status 7).\r(#7)");
}

// Catches a value that is no host element accepted at registration (and failing every later
// search instead), or a destroyed element still used by the next search.
TEST_F(HubEntryTest, RegistrationRefusesNonElementsAndForgetsDestroyedOnes) {
  createRegistered();
  init();
  QObject noEnabledProperty;
  const QString required =
      "Object required: register an object with an Enabled property; the value given is ";
  const std::pair<QVariant, QString> refused[] = {
      {QVariant(42), required + "int."},
      {QVariant(), required + "nothing."},
      {QVariant::fromValue<QObject*>(nullptr), required + "a null object."},
      {QVariant::fromValue(&noEnabledProperty),
       "Object doesn't support this property or method: the QObject registered has no writable "
       "Enabled property."}};
  for (auto [value, message] : refused) {
    const AutomationError e = failureOf([&] { panel->DisableElementDuringHubSearch(value); });
    EXPECT_EQ(e.number, message.startsWith("Object required") ? 424 : 438);
    EXPECT_EQ(e.source, "QelPDFSetup.DisableElementDuringHubSearch");
    EXPECT_EQ(e.description, message);
  }
  auto* doomed = new QPushButton;
  QVariant element = QVariant::fromValue<QObject*>(doomed);
  panel->DisableElementDuringHubSearch(element);
  panel->setWorkgroupHub("first");
  delete doomed;
  panel->setWorkgroupHub("second");
  EXPECT_EQ(entries("cmbWorkflow"), QStringList{"second-flow"});
  expectRestored();
}

// Catches a panel that reads its freed memory when code running during a hub search (pending
// messages, a host's Change handler, the browse dialog) destroys it, or that leaves the host's
// elements disabled, the pointer busy or the hub open behind it.
TEST_F(HubEntryTest, PanelDestroyedDuringASearch) {
  const struct {
    const char* name;
    bool inChangeHandler, inBrowser, byTyping;
  } ways[] = {{"pending messages, property put", false, false, false},
              {"pending messages, typing", false, false, true},
              {"Change handler", true, false, false},
              {"browse dialog", false, true, false}};
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    auto hubCalls = std::make_shared<QStringList>();
    world.hubFactory = [hubCalls] {
      auto hub = std::make_unique<ProbeHub>();
      hub->shared = hubCalls;
      return hub;
    };
    createRegistered();
    init();
    show();
    const std::function<void()> destroy = [this] { panel.reset(); }, none;
    world.platform->onPendingMessages = way.inChangeHandler || way.inBrowser ? none : destroy;
    world.browseLog->onShow = way.inBrowser ? destroy : none;
    world.browseAnswer = "/picked";
    if (way.inChangeHandler) QObject::connect(panel.get(), &ZANPdf3::Change, destroy);
    if (way.byTyping) {
      edit("txtWorkgroupHub")->setFocus();
      QTest::keyClick(edit("txtWorkgroupHub"), Qt::Key_H);
    } else if (way.inBrowser) {
      QTest::mouseClick(child("cmdBrowseHub"), Qt::LeftButton);
    } else {
      panel->setWorkgroupHub("/srv/hub");
    }
    EXPECT_EQ(panel, nullptr);
    expectRestored();
    EXPECT_EQ(hubCalls->count("CloseHub") >= hubCalls->count("OpenHub:/srv/hub"), true);
    world.platform->onPendingMessages = nullptr;
    world.browseLog->onShow = nullptr;
  }
}

// Catches a nested search (user input processed during a search) losing the saved states,
// resetting the pointer early, or leaving the lists of an older text.
TEST_F(HubEntryTest, NestedSearchFromQueuedInput) {
  store("WorkgroupHub", QString());  // the user types into an empty box
  createRegistered();
  init();
  show();
  QLineEdit* box = edit("txtWorkgroupHub");
  box->setFocus();
  statesSeen.clear();  // CloseHub while loading
  pointersSeen.clear();
  world.platform->onPendingMessages = [] { QCoreApplication::processEvents(); };
  // The user types "a", and "b" is already queued when the first search lets messages through.
  QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
  QTest::keyClick(box, Qt::Key_A);
  EXPECT_EQ(box->text(), "ab");
  EXPECT_EQ(probe().calls.count("OpenHub:ab"), 2);  // nested search, then the outer one
  EXPECT_EQ(probe().calls.filter("OpenHub:").last(), "OpenHub:ab");
  EXPECT_EQ(world.platform->pendingMessageCalls, 2);
  EXPECT_EQ(statesSeen.count("00"), statesSeen.size());
  EXPECT_EQ(pointersSeen, std::vector(pointersSeen.size(), zan::MousePointer::Hourglass));
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

// Catches browser options, title or start folder wrong, the chosen path not searched, the browser
// not released, or a cancelled browse not moving the caret and focus.
TEST_F(HubEntryTest, BrowseButtons) {
  create();
  init();
  show();
  world.browseAnswer = "/picked";
  QTest::mouseClick(child("cmdBrowseHub"), Qt::LeftButton);
  EXPECT_EQ(world.browseLog->owner, child("cmdBrowseHub"));
  EXPECT_TRUE(world.browseLog->fileSystemOnly);
  EXPECT_EQ(world.browseLog->title, "Location of Adobe Acrobat Capture Workgroup Hub");
  EXPECT_EQ(world.browseLog->destroyed, 1);
  EXPECT_EQ(probe().calls.filter("OpenHub:").last(), "OpenHub:/picked");
  EXPECT_EQ(QApplication::focusWidget(), edit("txtWorkgroupHub"));

  forceText("txtWatchedFolder", "C:/keep");
  edit("txtWatchedFolder")->setCursorPosition(0);
  world.browseAnswer.clear();
  QTest::mouseClick(child("cmdBrowseWatch"), Qt::LeftButton);
  EXPECT_EQ(world.browseLog->title, "Location of Adobe Acrobat Capture Watched Folder");
  EXPECT_EQ(world.browseLog->startFolder, "C:/keep");  // the folder in the box
  EXPECT_EQ(panel->WatchedFolder(), "C:/keep");
  EXPECT_EQ(edit("txtWatchedFolder")->cursorPosition(), 7);
  EXPECT_EQ(QApplication::focusWidget(), edit("txtWatchedFolder"));
  EXPECT_EQ(world.browseLog->destroyed, 2);
}

}  // namespace
