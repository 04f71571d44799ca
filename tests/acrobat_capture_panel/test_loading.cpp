// Loading ZANPdf3 from its settings (hub lists and statuses, document rows, Init's failure
// formats), Validate with its mapping, and Apply.

#include "panel_fixture.h"

#include "external/links_control.h"

using namespace zan::testing;
using zan::AutomationError;

namespace {

// Settings that record the order of some writes and can fail at one of them (or at a read).
class ScriptedSettings : public zan::PdfSettings {
 public:
  QStringList writes;
  QString failAt;  // the write, read or "CheckSettings" that fails
  std::int32_t failNumber = 7;
  void setValue(zan::Setting setting, const QVariant& v) override {
    if (setting == zan::Setting::PageContent) write("PageContent");
    if (setting == zan::Setting::WorkgroupHub) write("WorkgroupHub");
    PdfSettings::setValue(setting, v);
  }
  QVariant value(zan::Setting setting) const override {
    if (setting == zan::Setting::WatchedFolder)
      const_cast<ScriptedSettings*>(this)->write("read WatchedFolder");
    return PdfSettings::value(setting);
  }
  QVariant CheckSettings() override {
    write("CheckSettings");
    return PdfSettings::CheckSettings();
  }

 private:
  void write(const char* name) {
    writes << QString::fromLatin1(name);
    if (failAt == QLatin1String(name))
      zan::raiseError(failNumber, "PdfSettings", QString("failure %1").arg(failNumber));
  }
};

class LoadingTest : public PanelTest {
 protected:
  ScriptedSettings* scripted = nullptr;
  void useScriptedSettings() {
    world.settingsFactory = [this] {
      auto s = std::make_unique<ScriptedSettings>();
      scripted = s.get();
      return s;
    };
  }
  void initWithHub(const QString& dictionaries, const QString& workflows) {
    create();
    hub().dictionaries = dictionaries;
    hub().workflows = workflows;
    init();
  }
};

// Catches wrong splitting at "|", the "." rule, not stopping at an empty name, or a missing
// selection after filling.
TEST_F(LoadingTest, HubListsAreSplitAndSelected) {
  const std::tuple<QString, QStringList, int> cases[] = {
      {"Alpha.x|Beta|.gamma|Delta.1.2|", {"Alpha", "Beta", ".gamma", "Delta"}, 0},
      {"Alpha|Beta", {"Alpha", "Beta"}, 0},
      {"Alpha||Beta", {"Alpha"}, 0},
      {"", {"<Workgroup hub missing or invalid>"}, 0},
      {"|Alpha", {}, -1}};
  for (const auto& [list, expected, selected] : cases) {
    SCOPED_TRACE(list.toStdString());
    initWithHub(list, list);
    EXPECT_EQ(entries("cmbDictionary"), expected);
    EXPECT_EQ(combo("cmbDictionary")->currentIndex(), selected);
    EXPECT_EQ(entries("cmbWorkflow"), expected);
  }
}

// Catches a case-insensitive match, a stored value not selected after refilling, or the empty
// language taken for an unknown one (the unknown ones: StoredChoicesTheListsLackAreNamed).
TEST_F(LoadingTest, StoredValuesSelectedByExactText) {
  store("Dictionary", "beta");  // differs from "Beta" only in case
  store("Workflow", "Gamma");
  store("CaptureLanguage", "Nynorsk");
  initWithHub("Alpha|Beta|", "Beta|Gamma|");
  EXPECT_EQ(combo("cmbDictionary")->currentIndex(), 0);
  EXPECT_EQ(combo("cmbWorkflow")->currentText(), "Gamma");
  EXPECT_EQ(combo("cmbLanguage")->currentText(), "Nynorsk");
  store("CaptureLanguage", "");
  init();
  EXPECT_EQ(combo("cmbLanguage")->currentText(), "English (US)");
}

// Catches a translated list text stored or compared instead of the English value the setup
// file holds (every Validate would then fail, and stored files would no longer load).
TEST_F(LoadingTest, TranslatedListsStoreTheEnglishValue) {
  store("PageContent", "Image Only");
  store("Workflow", "PDF Image Only");
  store("CaptureLanguage", "German");
  store("WatchedFolder", "C:/watch");
  zan::PanelEnvironment env = world.environment();
  env.strings = std::make_shared<zan::StringTable>(
      QHash<int, QString>{{zan::kStrImageOnly, "Nur Bild"}, {zan::kStrGerman, "Deutsch"}},
      zan::StringTable::usEnglish());
  create(env);
  hub().dictionaries = "D|";
  hub().workflows = "PDF Image Only|";
  init();
  EXPECT_EQ(combo("cmbPageContent")->currentText(), "Nur Bild");
  EXPECT_EQ(combo("cmbLanguage")->currentText(), "Deutsch");
  EXPECT_FALSE(ownEnabled("cmbLanguage"));  // the "Image Only" rule sees the stored value
  EXPECT_FALSE(panel->SubstitutedSettings().contains("PageContent"));
  EXPECT_FALSE(panel->SubstitutedSettings().contains("CaptureLanguage"));
  EXPECT_EQ(panel->Validate(), 0) << panel->ValidateError().toStdString();
  EXPECT_EQ(world.settings->PageContent(), "Image Only");
  EXPECT_EQ(world.settings->CaptureLanguage(), "German");
}

// Catches wrong threshold text (a stored value out of range replaced, or shown without a word),
// blanks trimmed from the hub path loading opens, or a failed dictionary answer also skipping
// the workflows.
TEST_F(LoadingTest, ControlsShowTheStoredValues) {
  store("ConfidenceThreshold", -7);
  store("WorkgroupHub", "  //hub  ");
  create();
  hub().dictionariesStatus = 7;
  hub().workflows = "W1|";
  init();
  EXPECT_EQ(edit("txtConfidenceThreshold")->text(), "-7");
  EXPECT_EQ(panel->WorkgroupHub(), "  //hub  ");
  EXPECT_EQ(hub().openPaths.value(0), "  //hub  ");
  EXPECT_EQ(combo("cmbDictionary")->count(), 0);
  EXPECT_EQ(entries("cmbWorkflow"), QStringList{"W1"});
  ASSERT_EQ(world.platform->boxes.size(), 1u) << "only the threshold is told";
  EXPECT_TRUE(world.platform->boxes[0].text.startsWith("The stored confidence threshold -7 "));
  EXPECT_TRUE(panel->SubstitutedSettings().contains("ConfidenceThreshold"));
}

// Catches a wrong message, number or Display flag for a hub status, a message that does not
// name the hub, lists cleared on failure, or CloseHub / document rows skipped after a failed
// open.
TEST_F(LoadingTest, HubStatusesAreLoggedAndLoadingGoesOn) {
  const QString named = " Workgroup hub: \"/srv/missing\"";
  const std::pair<std::int32_t, QString> cases[] = {
      {5, "The hub path specified is unreachable." + named + "\r(#5)"},
      {6, "The hub path does not point to a valid hub or the directory path is incorrect." + named +
              "\r(#6)"},
      {7, "Internal Error." + named + "\r(#7)"}};
  for (const auto& [status, text] : cases) {
    SCOPED_TRACE(status);
    rd.partTwo().assign({{"WorkgroupHub", "//hub"}});
    initWithHub("Alpha|", "Flow|");
    world.platform->boxes.clear();
    hub().calls.clear();
    world.links->calls.clear();
    hub().openStatus = status;
    store("WorkgroupHub", "/srv/missing");
    init();
    ASSERT_EQ(world.platform->boxes.size(), 1u);
    EXPECT_EQ(world.platform->boxes[0].title, "Text ERROR");
    EXPECT_EQ(world.platform->boxes[0].text, text);
    EXPECT_EQ(entries("cmbDictionary"), QStringList{"Alpha"});
    EXPECT_EQ(entries("cmbWorkflow"), QStringList{"Flow"});
    EXPECT_EQ(hub().calls, QStringList({"CloseHub", "OpenHub:/srv/missing", "CloseHub"}));
    EXPECT_EQ(world.links->calls.filter("AddLink(").size(), 4);
  }
}

// Catches a stored page content, language, dictionary or workflow that no list offers being
// replaced by the first entry without a word (and then saved as if the user had chosen it), a
// message that does not name the stored value and its substitute (or a substitute not shown),
// or the host left unable to learn which settings the panel shows differently from what is
// stored.
TEST_F(LoadingTest, StoredChoicesTheListsLackAreNamed) {
  store("PageContent", "Nonsense");
  store("CaptureLanguage", "Klingon");
  store("Dictionary", "Gone");
  store("Workflow", "No Such Workflow");
  initWithHub("English|", "Invoices|Archive|");
  QStringList texts;
  for (const auto& box : world.platform->boxes) texts << box.text;
  EXPECT_EQ(texts,
            QStringList({"The stored page content \"Nonsense\" is not one of the choices; "
                         "\"Formatted Text & Graphics\" is shown instead.\r(#-1)",
                         "The stored language \"Klingon\" is not one of the choices; \"Brazilian "
                         "Portuguese\" is shown instead.\r(#-1)",
                         "The workgroup hub does not offer the stored dictionary \"Gone\"; "
                         "\"English\" is shown instead.\r(#-1)",
                         "The workgroup hub does not offer the stored workflow \"No Such "
                         "Workflow\"; \"Invoices\" is shown instead.\r(#-1)"}));
  QStringList shown;
  for (const char* name : {"cmbPageContent", "cmbLanguage", "cmbDictionary", "cmbWorkflow"})
    shown << combo(name)->currentText();
  EXPECT_EQ(shown, QStringList({"Formatted Text & Graphics", "Brazilian Portuguese", "English",
                                "Invoices"}));
  EXPECT_EQ(panel->SubstitutedSettings(),
            QStringList({"PageContent", "CaptureLanguage", "Dictionary", "Workflow"}));
  EXPECT_EQ(panel->property("SubstitutedSettings").toStringList(), panel->SubstitutedSettings());

  // Nothing chosen yet is no substitute worth a message, but still differs from what is stored.
  world.platform->boxes.clear();
  store("PageContent", "Image Only");
  store("CaptureLanguage", "German");
  store("Dictionary", "English");
  store("Workflow", "");
  init();
  EXPECT_TRUE(world.platform->boxes.empty());
  EXPECT_EQ(panel->SubstitutedSettings(), QStringList{"Workflow"});
  store("Workflow", "Archive");
  init();
  EXPECT_TRUE(panel->SubstitutedSettings().isEmpty());
}

// Catches settings saved for a hub the panel could not open, or with lists the hub could not
// deliver turned into other settings (the stored dictionary saved as empty): Validate refuses
// them with a message naming the hub or the value, and Apply leaves the setup data as it was.
TEST_F(LoadingTest, HubFailuresAreNotSavedAsSettings) {
  const struct {
    const char* name;
    std::function<void(zan::testing::MemoryHub&)> breakIt;
    bool typeHub;  // the failure comes with a hub the user types after Init
    std::int32_t n;
    QString mentioned;
  } cases[] = {
      {"dictionaries unreadable", [](zan::testing::MemoryHub& h) { h.dictionariesStatus = 7; },
       false, 526, "\"/srv/hub\""},
      {"workflows unreadable", [](zan::testing::MemoryHub& h) { h.workflowsStatus = 7; }, false,
       541, "\"/srv/hub\""},
      {"typed hub unreachable",
       [](zan::testing::MemoryHub& h) { h.openStatus = zan::kHubUnreachable; }, true, 536,
       "\"/nonexistent\""},
      {"typed hub is no hub", [](zan::testing::MemoryHub& h) { h.openStatus = zan::kHubNotAHub; },
       true, 536, "\"/nonexistent\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    rd.partTwo().assign({{"WorkgroupHub", "/srv/hub"},
                         {"WatchedFolder", "/srv/watched"},
                         {"Dictionary", "Legal"},
                         {"Workflow", "Flow"}});
    create();
    hub().dictionaries = "English|Legal|";
    hub().workflows = "Flow|";
    if (!c.typeHub) c.breakIt(hub());
    init();
    if (c.typeHub) {
      c.breakIt(hub());
      panel->setWorkgroupHub("/nonexistent");
    }
    EXPECT_EQ(panel->Validate(), zan::kObjectErrorBase + c.n);
    EXPECT_TRUE(panel->ValidateError().contains(c.mentioned))
        << panel->ValidateError().toStdString();
    const QVariantMap before = rd.partTwo().toMap();
    zan::SetupData* p = &rd;
    EXPECT_EQ(failureOf([&] { panel->Apply(p); }).number, zan::kObjectErrorBase + c.n);
    EXPECT_EQ(rd.partTwo().toMap(), before);
  }
}

// Catches the line-suffixed and line-prefixed formats combined wrongly, the links control
// handed the setup data after a failed load.
TEST_F(LoadingTest, InitFailuresCarryTheirStep) {
  useScriptedSettings();
  create();
  scripted->failAt = "read WatchedFolder";
  world.links->calls.clear();
  AutomationError e = failureOf([&] { init(); });
  EXPECT_EQ(e.number, 7);
  EXPECT_EQ(e.source, "ZANPDF3.Refresh");
  EXPECT_EQ(e.description, "Line #: 40; failure 7 line: 25");
  EXPECT_FALSE(world.links->calls.contains("SetSetupData"));

  e = failureOf([&] {
    zan::SetupData* none = nullptr;
    panel->Init(none);
  });
  EXPECT_EQ(e.number, 91);
  EXPECT_TRUE(e.description.endsWith(" line: 20")) << e.description.toStdString();
}

// Catches Apply storing on a failed validation or with a message other than ValidateError, or
// the five unshown settings not loaded by Init or not stored.
TEST_F(LoadingTest, ApplyStoresOnlyLegalSettings) {
  store("WatchedFolder", "C:/watch");
  store("Workflow", "Flow");
  store("PDFOutputFolder", "C:/out");
  store("PDFOutputMachine", "m1");
  store("PDFWaitForStatus", false);
  store("PDFDeleteHungDoc", true);
  store("PDFInputImageType", 12);
  initWithHub("Dict|", "Flow|");
  EXPECT_EQ(panel->PDFOutputFolder(), "C:/out");
  EXPECT_EQ(panel->PDFOutputMachine(), "m1");
  EXPECT_FALSE(panel->PDFWaitForStatus());
  EXPECT_TRUE(panel->PDFDeleteHungDoc());
  EXPECT_EQ(panel->PDFInputImageType(), 12);
  rd.partOne().assign({});
  rd.partTwo().assign({});
  forceText("txtConfidenceThreshold", "150");
  zan::SetupData* p = &rd;
  const AutomationError e = failureOf([&] { panel->Apply(p); });
  EXPECT_EQ(e.number, zan::kObjectErrorBase + 515);
  EXPECT_EQ(e.source, "QelPDFSetup.Apply");
  EXPECT_EQ(e.description, panel->ValidateError());
  EXPECT_TRUE(rd.partOne().keys().isEmpty());
  EXPECT_TRUE(rd.partTwo().keys().isEmpty());
  forceText("txtConfidenceThreshold", "80");
  panel->setPDFInputImageType(99);
  panel->Apply(p);
  EXPECT_EQ(rd.partOne().value("ConfidenceThreshold").toInt(), 80);
  EXPECT_EQ(rd.partTwo().value("Workflow").toString(), "Flow");
  EXPECT_EQ(rd.partTwo().value("WorkgroupHub").toString(), "//hub");
  EXPECT_EQ(rd.partTwo().value("PDFInputImageType").toInt(), 99);
  EXPECT_EQ(rd.partTwo().value("PDFOutputFolder").toString(), "C:/out");
}

// Catches a number mapped to the wrong control or not returned as the result, an unmapped
// number returned, ValidateError losing the original text, a stale failure kept after a
// success, SetValidateFocus passing without a failure, or writes out of order or after a
// failed one.
TEST_F(LoadingTest, ValidateMapsFailuresToControls) {
  useScriptedSettings();
  store("WatchedFolder", "C:/w");
  initWithHub("D|", "W|");
  show();
  EXPECT_EQ(panel->ValidateError(), "");
  AutomationError e = failureOf([&] { panel->SetValidateFocus(); });
  EXPECT_EQ(e.number, -1);
  EXPECT_EQ(e.source, "QelPDFSetup.SetValidateFocus");
  EXPECT_EQ(e.description, "No validation failure.");
  scripted->writes.clear();
  EXPECT_EQ(panel->Validate(), 0);
  EXPECT_EQ(scripted->writes.mid(0, 3),
            QStringList({"PageContent", "WorkgroupHub", "CheckSettings"}));

  // The control each number from 513 to 542 names ("-": none, an internal error).
  const QStringList targets =
      QString(
          "cmbLanguage - txtConfidenceThreshold PDFHeaderLinks PDFHeaderLinks PDFHeaderLinks "
          "PDFHeaderLinks - chkWordNotInDictionary - - - cmbPageContent cmbDictionary "
          "chkLowOcrConfidence chkLowFontConfidence chkMixedAlphaNumeric chkNumericOnly "
          "chkCreateThumbnails chkEmbedFonts chkEnableLinks chkEnableStructure "
          "chkAutoPageRotation txtWorkgroupHub txtWatchedFolder cmbPageContent - cmbWorkflow "
          "cmbWorkflow cmbPageContent")
          .split(' ');
  // Failure numbers with their control; 600 lies beyond the range, 5 outside the object range.
  std::vector<std::pair<std::int32_t, QString>> cases;
  for (int i = 0; i < targets.size(); ++i)
    cases.push_back({zan::kObjectErrorBase + 513 + i, targets[i]});
  cases.push_back({zan::kObjectErrorBase + 600, "-"});
  cases.push_back({5, "-"});
  scripted->failAt = "CheckSettings";
  for (const auto& [number, name] : cases) {
    SCOPED_TRACE(number);
    scripted->failNumber = number;
    const QString original = QString("failure %1").arg(number);
    if (name != "-") {
      EXPECT_EQ(panel->Validate(), number);
      EXPECT_EQ(panel->ValidateError(), original);
      child("cmdRestoreDefaults")->setFocus();  // start on a control no number names
      panel->SetValidateFocus();
      QWidget* focused = QApplication::focusWidget();
      QWidget* target = panel->findChild<QWidget*>(name);
      ASSERT_NE(target, nullptr);
      EXPECT_TRUE(focused == target || target->isAncestorOf(focused));
    } else {
      e = failureOf([&] { panel->Validate(); });
      EXPECT_EQ(e.number, -1);
      EXPECT_EQ(e.source, "QelPDFSetup.Validate");
      EXPECT_EQ(e.description, "Internal Error.");
      EXPECT_EQ(panel->ValidateError(), original);
      EXPECT_EQ(failureOf([&] { panel->SetValidateFocus(); }).description,
                "No validation failure.");  // the focus control of the last mapped failure gone
    }
  }
  scripted->failAt = "PageContent";
  scripted->failNumber = zan::kObjectErrorBase + 525;
  scripted->writes.clear();
  EXPECT_EQ(panel->Validate(), scripted->failNumber);
  EXPECT_EQ(scripted->writes, QStringList{"PageContent"});
  scripted->failAt.clear();
  EXPECT_EQ(panel->Validate(), 0);
  EXPECT_EQ(panel->ValidateError(), "");
  EXPECT_EQ(failureOf([&] { panel->SetValidateFocus(); }).description, "No validation failure.");
}

// Catches a grayed box written as False, or a threshold overflow passed on instead of failing
// as an internal error (rounding, trailing text and the document rows are copied by code both
// panels share: OcrPanelTest.ThresholdTextIsReadTheClassicWay, ValidateCopiesEveryControl).
TEST_F(LoadingTest, ValidateCopiesTheControls) {
  create();
  init();
  {
    QSignalBlocker block(child<QCheckBox>("chkCreateThumbnails"));
    child<QCheckBox>("chkCreateThumbnails")->setCheckState(Qt::PartiallyChecked);
  }
  panel->Validate();
  EXPECT_TRUE(world.settings->CreateThumbnails());
  forceText("txtConfidenceThreshold", "99999");
  EXPECT_EQ(failureOf([&] { panel->Validate(); }).description, "Internal Error.");
  EXPECT_FALSE(panel->ValidateError().isEmpty());
}

}  // namespace
