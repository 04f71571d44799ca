#pragma once
// A ZANPdf3 panel wired to a recording outside world, and the helpers its tests share.

#include <ZANPdfCtl4/zanpdf3.h>
#include "failure_of.h"
#include "test_environment.h"

#include "settings/automation_error.h"
#include "settings/herald_hub.h"
#include "settings/pdf_settings.h"
#include "settings/setup_data.h"

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

class PanelTest : public ::testing::Test {
 protected:
  TestWorld world;
  MemorySetupData rd;
  std::unique_ptr<ZANPdf3> panel;
  int changes = 0;

  // The stored settings name a workgroup hub (an empty one names none and opens nothing).
  PanelTest() { store(QStringLiteral("WorkgroupHub"), QStringLiteral("//hub")); }

  void create(PanelEnvironment env) {
    panel = std::make_unique<ZANPdf3>(std::move(env));
    QObject::connect(panel.get(), &ZANPdf3::Change, [this] { ++changes; });
  }
  void create() { create(world.environment()); }
  void show() {
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }
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

  template <class W = QWidget>
  W* child(const char* name) {
    W* w = panel->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QComboBox* combo(const char* name) { return child<QComboBox>(name); }
  QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
  QStringList entries(const char* name) {
    QStringList texts;
    for (int i = 0; i < combo(name)->count(); ++i) texts << combo(name)->itemText(i);
    return texts;
  }
  // A control's own Enabled flag (a control inside a disabled frame keeps its own flag).
  bool ownEnabled(const char* name) { return !child(name)->testAttribute(Qt::WA_ForceDisabled); }
  // Puts a text into a box the way no handler sees (a text that got there somehow).
  void forceText(const char* name, const QString& text) {
    QSignalBlocker block(edit(name));
    edit(name)->setText(text);
  }
};

}  // namespace zan::testing
