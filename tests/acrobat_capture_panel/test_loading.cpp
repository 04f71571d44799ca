// Loading ZANPdf3 from its settings: list filling from the hub, hub statuses, document rows,
// Init's call order and failure formats, Apply.

#include "panel_fixture.h"

#include "external/links_control.h"
#include "external/pdf_settings.h"

using namespace zan::testing;
using zan::AutomationError;

namespace {

class LoadingTest : public PanelTest {
 protected:
  // Init against a hub that answers `dictionaries` and `workflows`.
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
  struct Case {
    QString list;
    QStringList entries;
    int selected;
  };
  const Case cases[] = {
      {"Alpha.x|Beta|.gamma|Delta.1.2|", {"Alpha", "Beta", ".gamma", "Delta"}, 0},
      {"Alpha|Beta", {"Alpha", "Beta"}, 0},
      {"Alpha||Beta", {"Alpha"}, 0},
      {"", {"<Workgroup hub missing or invalid>"}, 0},
      {"|Alpha", {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list.toStdString());
    initWithHub(c.list, c.list);
    EXPECT_EQ(entries("cmbDictionary"), c.entries);
    EXPECT_EQ(combo("cmbDictionary")->currentIndex(), c.selected);
    EXPECT_EQ(entries("cmbWorkflow"), c.entries);
  }
}

// Catches a case-insensitive match, or a stored value not selected after refilling.
TEST_F(LoadingTest, StoredValuesSelectedByExactText) {
  store("Dictionary", "beta");  // differs from "Beta" only in case
  store("Workflow", "Gamma");
  store("CaptureLanguage", "Nynorsk");
  store("PageContent", "No such content");
  initWithHub("Alpha|Beta|", "Beta|Gamma|");
  EXPECT_EQ(combo("cmbDictionary")->currentIndex(), 0);
  EXPECT_EQ(combo("cmbWorkflow")->currentText(), "Gamma");
  EXPECT_EQ(combo("cmbLanguage")->currentText(), "Nynorsk");
  EXPECT_EQ(combo("cmbPageContent")->currentIndex(), 0);

  // An empty stored language selects English (US); an unknown one the first entry.
  store("CaptureLanguage", "");
  init();
  EXPECT_EQ(combo("cmbLanguage")->currentText(), "English (US)");
  store("CaptureLanguage", "Klingon");
  init();
  EXPECT_EQ(combo("cmbLanguage")->currentIndex(), 0);
}

// Catches wrong threshold text, check boxes not following the settings, or blanks trimmed.
TEST_F(LoadingTest, ControlsShowTheStoredValues) {
  store("ConfidenceThreshold", -7);
  store("EmbedFonts", false);
  store("NumericOnly", true);
  store("WorkgroupHub", "  //hub  ");
  store("WatchedFolder", "C:/watch");
  create();
  init();
  EXPECT_EQ(edit("txtConfidenceThreshold")->text(), "-7");
  EXPECT_EQ(child<QCheckBox>("chkEmbedFonts")->checkState(), Qt::Unchecked);
  EXPECT_EQ(child<QCheckBox>("chkNumericOnly")->checkState(), Qt::Checked);
  EXPECT_EQ(panel->WorkgroupHub(), "  //hub  ");
  EXPECT_EQ(panel->WatchedFolder(), "C:/watch");
  EXPECT_TRUE(hub().openPaths.contains("  //hub  "));  // loading opens the path as stored
}

// Catches a wrong message, number or Display flag for a hub status, lists cleared on failure,
// or CloseHub / document rows skipped after a failed open.
TEST_F(LoadingTest, HubStatusesAreLoggedAndLoadingGoesOn) {
  struct Case {
    std::int32_t status;
    QString text;
  };
  const Case cases[] = {{5, "The hub path specified is unreachable.\r(#5)"},
                        {6,
                         "The hub path does not point to a valid hub or the directory path is "
                         "incorrect.\r(#6)"},
                        {7, "Internal Error.\r(#7)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    initWithHub("Alpha|", "Flow|");
    world.platform->boxes.clear();
    hub().calls.clear();
    world.links->calls.clear();
    hub().openStatus = c.status;
    panel->RestoreDefaults();
    ASSERT_EQ(world.platform->boxes.size(), 1u);
    EXPECT_EQ(world.platform->boxes[0].title, "Text ERROR");
    EXPECT_EQ(world.platform->boxes[0].text, c.text);
    EXPECT_EQ(entries("cmbDictionary"), QStringList{"Alpha"});
    EXPECT_EQ(entries("cmbWorkflow"), QStringList{"Flow"});
    EXPECT_EQ(hub().calls.last(), "CloseHub");
    EXPECT_FALSE(hub().calls.contains("GetDictionaries"));
    EXPECT_EQ(world.links->calls.filter("AddLink(").size(), 4);
  }
}

// Catches a failed dictionary answer also skipping the workflows.
TEST_F(LoadingTest, DictionaryFailureStillRefillsWorkflows) {
  create();
  hub().dictionaries = "D1|";
  hub().workflows = "W1|";
  hub().dictionariesStatus = 7;
  init();
  EXPECT_EQ(combo("cmbDictionary")->count(), 0);
  EXPECT_EQ(entries("cmbWorkflow"), QStringList{"W1"});
  EXPECT_TRUE(world.platform->boxes.empty());
}

// Catches rows in the wrong order, swapped arguments, or a missing clear/redraw; and the
// links-control calls of Init out of order or rd not replaced.
TEST_F(LoadingTest, InitTalksToTheLinksControlInOrder) {
  store("AuthorField.FieldText", "Ann");
  store("TitleField.FieldName", "DocTitle");
  store("TitleField.FieldType", 1);
  create();
  zan::MemorySetupData other;
  world.links->replacement = &other;
  world.links->calls.clear();
  zan::SetupData* p = &rd;
  panel->Init(p);
  EXPECT_EQ(p, &other);
  EXPECT_EQ(
      world.links->calls,
      QStringList({"setOfferSetupLinks(1)", "ClearLinks", "AddLink(DocTitle,1,,Title)",
                   "AddLink(,0,,Subject)", "AddLink(,0,Ann,Author)", "AddLink(,0,,Keywords)",
                   "Redraw", "SetSetupData", "setInitializing(0)", "setModified(0)", "Redraw"}));
}

// Catches the line-suffixed and line-prefixed formats combined wrongly, or the links control
// handed the setup data after a failed load.
TEST_F(LoadingTest, InitFailuresCarryTheirStep) {
  useScriptedSettings();
  create();
  scripted->failAt = "read WatchedFolder";
  scripted->failNumber = 7;
  scripted->failDescription = "Out of memory";
  world.links->calls.clear();
  AutomationError e = failureOf([&] { init(); });
  EXPECT_EQ(e.number, 7);
  EXPECT_EQ(e.source, "ZANPDF3.Refresh");
  EXPECT_EQ(e.description, "Line #: 40; Out of memory line: 25");
  EXPECT_FALSE(world.links->calls.contains("SetSetupData"));

  // No setup data: fails at the loading step, number and source of the failure kept.
  e = failureOf([&] {
    zan::SetupData* none = nullptr;
    panel->Init(none);
  });
  EXPECT_EQ(e.number, 91);
  EXPECT_TRUE(e.description.endsWith(" line: 20")) << e.description.toStdString();

  // A failure of the last step keeps number, source and description, with " line: 40".
  for (const char* step : {"SetSetupData", "setModified"}) {
    FailingLinks* links = nullptr;
    zan::PanelEnvironment env = world.environment();
    env.makeLinks = [&links](QWidget* parent) { return links = new FailingLinks(parent); };
    create(env);
    links->failAt = step;
    e = failureOf([&] { init(); });
    EXPECT_EQ(e.source, "ZANLinks");
    EXPECT_EQ(e.description,
              QString("Out of memory line: %1")
                  .arg(QLatin1String(step) == QLatin1String("setModified") ? 40 : 30));
  }
}

// Catches Apply storing on a failed validation or with a message other than ValidateError.
TEST_F(LoadingTest, ApplyStoresOnlyLegalSettings) {
  store("WorkgroupHub", "//hub");
  store("WatchedFolder", "C:/watch");
  store("Workflow", "Flow");
  create();
  hub().dictionaries = "Dict|";
  hub().workflows = "Flow|";
  init();
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
  panel->Apply(p);
  EXPECT_EQ(rd.partOne().value("ConfidenceThreshold").toInt(), 80);
  EXPECT_EQ(rd.partTwo().value("Workflow").toString(), "Flow");
  EXPECT_EQ(rd.partTwo().value("WorkgroupHub").toString(), "//hub");
}

}  // namespace
