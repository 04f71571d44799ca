#pragma once
// A ZANPdf panel wired to the test doubles, with a settings object whose loading and checking a
// test scripts.

#include <ZANPdfCtl4/zanpdf.h>
#include "failure_of.h"
#include "settings/setup_data.h"
#include "test_environment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace zan::testing {

class ScriptedSettings : public PdfSettings {
 public:
  std::function<void(PdfSettings&)> onLoad;  // what Load puts into the settings
  std::optional<AutomationError> loadFailure, checkFailure;

  void Load(SetupPart&, SetupPart&, const QVariant&) override {
    if (loadFailure) raiseError(*loadFailure);
    if (onLoad) onLoad(*this);
  }
  QVariant CheckSettings() override {
    if (checkFailure) raiseError(*checkFailure);
    return {};
  }
};

// Output format 2, language 5, accuracy 8, threshold 80, every Boolean True.
inline void loadExample(PdfSettings& s) {
  s.setOutputFormatType(2);
  s.setOcrLanguage(5);
  s.setAccuracy(8);
  s.setConfidenceThreshold(80);
  for (auto set :
       {&PdfSettings::setLowOcrConfidence, &PdfSettings::setWordNotInDictionary,
        &PdfSettings::setMixedCases, &PdfSettings::setLowFontConfidence, &PdfSettings::setRotate0,
        &PdfSettings::setRotate90, &PdfSettings::setRotate180, &PdfSettings::setRotate270}) {
    (s.*set)(true);
  }
}

inline const char* const kCheckBoxes[] = {"chkLowOcrConfidence", "chkWordNotInDictionary",
                                          "chkMixedCases",       "chkLowFontConfidence",
                                          "chkRotate0",          "chkRotate90",
                                          "chkRotate180",        "chkRotate270"};

class OcrPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.settingsFactory = [] { return std::make_unique<ScriptedSettings>(); };
    panel = std::make_unique<ZANPdf>(world.environment());
    QObject::connect(panel.get(), &ZANPdf::Change, [this] { ++changes; });
  }

  ScriptedSettings& settings() { return static_cast<ScriptedSettings&>(*world.settings); }

  void init() {
    SetupData* p = &rd;
    panel->Init(p);
  }

  template <class W = QWidget>
  W* child(const char* name) {
    W* w = panel->findChild<W*>(QString::fromLatin1(name));
    if (!w) ADD_FAILURE() << "no child " << name;
    return w;
  }
  QComboBox* combo(const char* name) { return child<QComboBox>(name); }
  QCheckBox* check(const char* name) { return child<QCheckBox>(name); }
  QLineEdit* threshold() { return child<QLineEdit>("txtConfidenceThreshold"); }
  bool ownEnabled(const char* name) { return !child(name)->testAttribute(Qt::WA_ForceDisabled); }

  void showPanel() {
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }

  TestWorld world;
  MemorySetupData rd;
  std::unique_ptr<ZANPdf> panel;
  int changes = 0;
};

}  // namespace zan::testing
