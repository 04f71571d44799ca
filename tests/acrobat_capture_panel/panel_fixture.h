#pragma once
// A ZANPdf3 panel wired to a recording outside world, and the helpers its tests share.

#include "acrobat_capture_panel/zanpdf3.h"
#include "test_environment.h"

#include "common/automation_error.h"
#include "external/herald_hub.h"
#include "external/setup_data.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTest>

#include <functional>
#include <memory>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace zan::testing {

// Settings that record the order of writes and can fail at one of them or in CheckSettings.
class ScriptedSettings : public PdfSettings {
 public:
  QStringList writes;
  QString failAt;               // the write (or "CheckSettings", or a read) that fails
  std::int32_t failNumber = 0;  // with this number
  QString failDescription = QStringLiteral("scripted failure");

  void setPageContent(const QString& v) override {
    write("PageContent");
    PdfSettings::setPageContent(v);
  }
  void setCaptureLanguage(const QString& v) override {
    write("CaptureLanguage");
    PdfSettings::setCaptureLanguage(v);
  }
  void setConfidenceThreshold(std::int16_t v) override {
    write("ConfidenceThreshold");
    PdfSettings::setConfidenceThreshold(v);
  }
  void setAutoPageRotation(bool v) override {
    write("AutoPageRotation");
    PdfSettings::setAutoPageRotation(v);
  }
  void setWorkgroupHub(const QString& v) override {
    write("WorkgroupHub");
    PdfSettings::setWorkgroupHub(v);
  }
  void setPDFInputImageType(std::int32_t v) override {
    write("PDFInputImageType");
    PdfSettings::setPDFInputImageType(v);
  }
  QString WatchedFolder() const override {
    const_cast<ScriptedSettings*>(this)->write("read WatchedFolder");
    return PdfSettings::WatchedFolder();
  }
  QVariant CheckSettings() override {
    write("CheckSettings");
    return PdfSettings::CheckSettings();
  }

 private:
  void write(const char* name) {
    writes << QString::fromLatin1(name);
    if (failAt == QLatin1String(name))
      raiseError(failNumber, QStringLiteral("PdfSettings"), failDescription);
  }
};

// Links control whose named call fails with error 7.
class FailingLinks : public RecordingLinks {
 public:
  using RecordingLinks::RecordingLinks;
  QString failAt;
  void SetSetupData(SetupData*& rd) override {
    fail("SetSetupData");
    RecordingLinks::SetSetupData(rd);
  }
  void setModified(bool v) override {
    fail("setModified");
    RecordingLinks::setModified(v);
  }

 private:
  void fail(const char* name) {
    if (failAt == QLatin1String(name))
      raiseError(7, QStringLiteral("ZANLinks"), QStringLiteral("Out of memory"));
  }
};

class PanelTest : public ::testing::Test {
 protected:
  TestWorld world;
  MemorySetupData rd;
  std::unique_ptr<ZANPdf3> panel;
  int changes = 0;

  ScriptedSettings* scripted = nullptr;

  // The panel gets a ScriptedSettings (call before create()).
  void useScriptedSettings() {
    world.settingsFactory = [this] {
      auto s = std::make_unique<ScriptedSettings>();
      scripted = s.get();
      return s;
    };
  }
  void create(PanelEnvironment env) {
    panel = std::make_unique<ZANPdf3>(std::move(env));
    QObject::connect(panel.get(), &ZANPdf3::Change, [this] { ++changes; });
  }
  void create() { create(world.environment()); }
  MemoryHub& hub() { return *static_cast<MemoryHub*>(world.hub); }
  // A stored setting the next Init loads, in the part of the setup data that holds it.
  void store(const QString& key, const QVariant& value) {
    static const QStringList partOneKeys = {"Enabled", "ConfidenceThreshold", "LowOcrConfidence",
                                            "WordNotInDictionary", "LowFontConfidence"};
    const bool partOne = partOneKeys.contains(key) || key.contains(QLatin1String("Field."));
    (partOne ? rd.partOne() : rd.partTwo()).setValue(key, value);
  }
  void init() {
    SetupData* p = &rd;
    panel->Init(p);
  }

  template <class W>
  W* child(const char* name) {
    W* w = panel->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QComboBox* combo(const char* name) { return child<QComboBox>(name); }
  QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
  QStringList entries(const char* name) {
    QStringList texts;
    QComboBox* c = combo(name);
    for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    return texts;
  }
  // A control's own Enabled flag (a control inside a disabled frame keeps its own flag).
  bool ownEnabled(const char* name) {
    return !child<QWidget>(name)->testAttribute(Qt::WA_ForceDisabled);
  }
  // Puts a text into a box the way no handler sees (a text that got there somehow).
  void forceText(const char* name, const QString& text) {
    QLineEdit* e = edit(name);
    QSignalBlocker block(e);
    e->setText(text);
  }
};

// Runs `f` and returns the automation error it raised (fails the test when none).
inline AutomationError failureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const AutomationException& e) {
    return e.error();
  }
  ADD_FAILURE() << "no failure raised";
  return {};
}

}  // namespace zan::testing
