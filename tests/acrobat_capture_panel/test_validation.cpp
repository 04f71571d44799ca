// Validate, ValidateError and SetValidateFocus of ZANPdf3.

#include "panel_fixture.h"

#include "external/links_control.h"
#include "external/pdf_settings.h"

#include <QApplication>

using namespace zan::testing;
using zan::AutomationError;

namespace {

// Rejects in CheckSettings with a chosen n.
class RejectingSettings : public zan::PdfSettings {
 public:
  static inline int n = 0;
  QVariant CheckSettings() override {
    zan::raiseError(zan::kObjectErrorBase + n, "PdfSettings", QString("rejected %1").arg(n));
  }
};

class ValidationTest : public PanelTest {
 protected:
  void createShown() {
    create();
    init();
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }
};

// Catches a number mapped to the wrong control, or a result other than the failure number.
TEST_F(ValidationTest, MappedFailuresFocusTheirControl) {
  world.settingsFactory = [] { return std::make_unique<RejectingSettings>(); };
  createShown();
  const std::pair<int, const char*> mapping[] = {{513, "cmbLanguage"},
                                                 {515, "txtConfidenceThreshold"},
                                                 {516, "PDFHeaderLinks"},
                                                 {517, "PDFHeaderLinks"},
                                                 {518, "PDFHeaderLinks"},
                                                 {519, "PDFHeaderLinks"},
                                                 {521, "chkWordNotInDictionary"},
                                                 {525, "cmbPageContent"},
                                                 {526, "cmbDictionary"},
                                                 {527, "chkLowOcrConfidence"},
                                                 {528, "chkLowFontConfidence"},
                                                 {529, "chkMixedAlphaNumeric"},
                                                 {530, "chkNumericOnly"},
                                                 {531, "chkCreateThumbnails"},
                                                 {532, "chkEmbedFonts"},
                                                 {533, "chkEnableLinks"},
                                                 {534, "chkEnableStructure"},
                                                 {535, "chkAutoPageRotation"},
                                                 {536, "txtWorkgroupHub"},
                                                 {537, "txtWatchedFolder"},
                                                 {538, "cmbPageContent"},
                                                 {540, "cmbWorkflow"},
                                                 {541, "cmbWorkflow"},
                                                 {542, "cmbPageContent"}};
  for (const auto& [n, name] : mapping) {
    SCOPED_TRACE(n);
    RejectingSettings::n = n;
    EXPECT_EQ(panel->Validate(), zan::kObjectErrorBase + n);
    EXPECT_EQ(panel->ValidateError(), QString("rejected %1").arg(n));
    child<QWidget>("cmdRestoreDefaults")->setFocus();  // start on a control no number names
    panel->SetValidateFocus();
    QWidget* target = child<QWidget>(name);
    QWidget* focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == target || target->isAncestorOf(focused))
        << (focused ? focused->objectName().toStdString() : "none");
  }
}

// Catches an unmapped number returned as a result, or ValidateError losing the original text.
TEST_F(ValidationTest, UnmappedFailuresAreInternalErrors) {
  world.settingsFactory = [] { return std::make_unique<RejectingSettings>(); };
  createShown();
  for (int n : {514, 520, 522, 523, 524, 539, 600, -5 - 0x40000}) {
    SCOPED_TRACE(n);
    RejectingSettings::n = 515;
    panel->Validate();  // a mapped failure first, so the focus control is set
    RejectingSettings::n = n;
    const AutomationError e = failureOf([&] { panel->Validate(); });
    EXPECT_EQ(e.number, -1);
    EXPECT_EQ(e.source, "QelPDFSetup.Validate");
    EXPECT_EQ(e.description, "Internal Error.");
    EXPECT_EQ(panel->ValidateError(), QString("rejected %1").arg(n));
    const AutomationError f = failureOf([&] { panel->SetValidateFocus(); });
    EXPECT_EQ(f.description, "No validation failure.");
  }
}

// Catches stale ValidateError / focus control after success, or a missing failure before any
// validation.
TEST_F(ValidationTest, SuccessClearsTheLastFailure) {
  create();
  EXPECT_EQ(panel->ValidateError(), "");
  AutomationError e = failureOf([&] { panel->SetValidateFocus(); });
  EXPECT_EQ(e.number, -1);
  EXPECT_EQ(e.source, "QelPDFSetup.SetValidateFocus");
  EXPECT_EQ(e.description, "No validation failure.");

  init();  // no hub path: the settings object rejects it (536)
  EXPECT_EQ(panel->Validate(), zan::kObjectErrorBase + 536);
  EXPECT_FALSE(panel->ValidateError().isEmpty());
  store("WorkgroupHub", "//hub");
  store("WatchedFolder", "C:/w");
  hub().dictionaries = "D|";
  hub().workflows = "W|";
  init();
  EXPECT_EQ(panel->Validate(), 0);
  EXPECT_EQ(panel->ValidateError(), "");
  e = failureOf([&] { panel->SetValidateFocus(); });
  EXPECT_EQ(e.description, "No validation failure.");
}

// Catches writes after the failing one, CheckSettings called after a failed write, or the
// writes out of order.
TEST_F(ValidationTest, FirstFailureEndsTheWrites) {
  useScriptedSettings();
  create();
  init();
  scripted->writes.clear();
  EXPECT_EQ(panel->Validate(), zan::kObjectErrorBase + 536);  // default settings: no hub
  EXPECT_EQ(scripted->writes, QStringList({"PageContent", "CaptureLanguage", "ConfidenceThreshold",
                                           "AutoPageRotation", "WorkgroupHub", "PDFInputImageType",
                                           "CheckSettings"}));
  scripted->writes.clear();
  scripted->failAt = "PageContent";
  scripted->failNumber = zan::kObjectErrorBase + 525;
  EXPECT_EQ(panel->Validate(), zan::kObjectErrorBase + 525);
  EXPECT_EQ(scripted->writes, QStringList{"PageContent"});
}

// Catches wrong rounding, blanks or trailing text not handled, or an overflow passed on.
TEST_F(ValidationTest, ThresholdTextConversion) {
  create();
  init();
  const std::pair<const char*, int> cases[] = {
      {"95", 95}, {"", 0}, {"12.5", 12}, {"13.5", 14}, {"12abc", 12}, {" 4 2", 42}, {"-3", -3}};
  for (const auto& [text, value] : cases) {
    SCOPED_TRACE(text);
    forceText("txtConfidenceThreshold", text);
    panel->Validate();
    EXPECT_EQ(world.settings->ConfidenceThreshold(), value);
  }
  forceText("txtConfidenceThreshold", "99999");
  const AutomationError e = failureOf([&] { panel->Validate(); });
  EXPECT_EQ(e.description, "Internal Error.");
  EXPECT_FALSE(panel->ValidateError().isEmpty());
}

// Catches a grayed box written as False, or a document row copied into the wrong field.
TEST_F(ValidationTest, CheckValuesAndRowsReachTheirSettings) {
  create();
  init();
  QCheckBox* box = child<QCheckBox>("chkCreateThumbnails");
  {
    QSignalBlocker block(box);
    box->setCheckState(Qt::PartiallyChecked);
  }
  zan::DocInfoField author;
  author.setFieldType(zan::kFieldIndexField);
  author.setFieldName("Writer");
  world.links->editRow(2, author);
  panel->Validate();
  EXPECT_TRUE(world.settings->CreateThumbnails());
  EXPECT_EQ(world.settings->AuthorField().FieldName(), "Writer");
  EXPECT_EQ(world.settings->AuthorField().FieldType(), zan::kFieldIndexField);
  EXPECT_EQ(world.settings->TitleField().FieldName(), "");
}

}  // namespace
