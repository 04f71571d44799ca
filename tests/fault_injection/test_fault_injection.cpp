// Every outside call the panels make (hub, settings object, setup data, links control, folder
// browser, message box, string table, about box, file layer) fails in turn, once each, while a
// host drives a whole conversation with a panel: create, register elements, Init, search a hub,
// browse, edit, Validate, Apply, save the setup file, RestoreDefaults, about box, destroy.

#include "acrobat_capture_panel/zanpdf3.h"
#include "ocr_pdf_panel/zanpdf.h"
#include "test_environment.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace zan::testing {
namespace {

enum class Panel { Capture, Ocr };

struct Outcome {
  QStringList reports;   // failures the host or the user learned of
  QStringList problems;  // promises broken on the way
  QVariantMap one, two;  // the setup data at the end
  QByteArray file;       // the setup file at the end
};

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void seed(SetupFile& setup) {
  auto& two = setup.partTwo();
  two.setValue("WorkgroupHub", "/hub");
  two.setValue("WatchedFolder", "/watched");
  two.setValue("Workflow", "Archive Scans");
  two.setValue("Dictionary", "English");
  two.setValue("OutputFormatType", 2);
  setup.partOne().setValue("ConfidenceThreshold", 80);
  setup.save();
}

// One conversation with `log` recording (and failing) the outside calls.
Outcome converse(Panel kind, const std::shared_ptr<CallLog>& log, const QString& dir) {
  Outcome out;
  TestWorld world;
  world.log = log;
  world.browseAnswer = QStringLiteral("/picked");
  auto setup = std::make_unique<SetupFile>(dir + "/setup.json");
  seed(*setup);
  setup->setFileSystem(std::make_shared<FaultyFileSystem>(log));
  LoggedSetupData rd(*setup, log);
  QPushButton enabledButton, disabledButton;
  disabledButton.setEnabled(false);

  std::unique_ptr<QWidget> panel;
  const auto step = [&](const char* phase, const std::function<void()>& body) {
    log->phase = QString::fromLatin1(phase);
    try {
      body();
    } catch (const AutomationException& e) {
      out.reports << QStringLiteral("%1 failed: %2").arg(phase, e.error().description);
    }
    const QString at = QString::fromLatin1(phase) + QStringLiteral(": ");
    if (world.platform->pointer != MousePointer::Default) out.problems << at + "pointer left busy";
    if (!enabledButton.isEnabled() || disabledButton.isEnabled())
      out.problems << at + "host elements not restored";
    if (log->hubOpen) out.problems << at + "hub left open";
  };
  const auto onError = [&out](qint32& n, QString& message, QString&, qint16&, bool&, bool&) {
    out.reports << QStringLiteral("Error event %1: %2").arg(n).arg(message);
  };

  step("create", [&] {
    if (kind == Panel::Capture) {
      auto* p = new ZANPdf3(world.environment());
      panel.reset(p);
      QObject::connect(p, &ZANPdf3::Error, onError);
    } else {
      auto* p = new ZANPdf(world.environment());
      panel.reset(p);
      QObject::connect(p, &ZANPdf::Error, onError);
    }
    panel->show();
    if (!QTest::qWaitForWindowExposed(panel.get())) out.problems << "panel not shown";
  });
  auto* capture = qobject_cast<ZANPdf3*>(panel.get());
  auto* ocr = qobject_cast<ZANPdf*>(panel.get());
  SetupData* rdHandle = &rd;
  if (capture) {
    step("register", [&] {
      for (QObject* button : {&enabledButton, &disabledButton}) {
        QVariant element = QVariant::fromValue(button);
        capture->DisableElementDuringHubSearch(element);
      }
    });
    step("Init", [&] { capture->Init(rdHandle); });
    step("hub", [&] { capture->setWorkgroupHub("/hub2"); });
    step("browse", [&] { panel->findChild<QPushButton*>("cmdBrowseWatch")->click(); });
  } else if (ocr) {
    step("Init", [&] { ocr->Init(rdHandle); });
  }
  if (panel) {
    step("edit", [&] { panel->findChild<QCheckBox*>("chkLowFontConfidence")->click(); });
    step("Validate", [&] {
      const qint32 result = capture ? capture->Validate() : ocr->Validate();
      if (result != 0) out.reports << QStringLiteral("Validate refused: %1").arg(result);
    });
  }
  const QVariantMap oneBefore = setup->partOne().toMap(), twoBefore = setup->partTwo().toMap();
  const QByteArray fileBefore = bytesOf(setup->path());
  bool applied = false;
  if (panel) {
    step("Apply", [&] {
      capture ? capture->Apply(rdHandle) : ocr->Apply(rdHandle);
      applied = true;
    });
  }
  if (!applied && (setup->partOne().toMap() != oneBefore || setup->partTwo().toMap() != twoBefore))
    out.problems << "a failed Apply changed the setup data";
  if (applied) {
    bool saved = false;
    step("save", [&] {
      setup->save();
      saved = true;
    });
    if (!saved && bytesOf(setup->path()) != fileBefore)
      out.problems << "a failed save changed the setup file";
  }
  if (panel) {
    step("RestoreDefaults", [&] { capture ? capture->RestoreDefaults() : ocr->RestoreDefaults(); });
    step("about", [&] { capture ? capture->ShowAboutBox() : ocr->ShowAboutBox(); });
  }
  step("destroy", [&] { panel.reset(); });
  for (const auto& box : world.platform->boxes) out.reports << "message box: " + box.text;
  out.one = setup->partOne().toMap();
  out.two = setup->partTwo().toMap();
  out.file = bytesOf(setup->path());
  return out;
}

class FaultInjection : public ::testing::TestWithParam<Panel> {};

// Catches, for any one outside call failing: a crash, the busy pointer or disabled host elements
// left behind, a hub left open, setup data or a setup file changed by a failed Apply or save, and
// a failure swallowed so that what ends up stored differs from a run without it.
TEST_P(FaultInjection, EveryOutsideCallFailsInTurn) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath("clean");
  const auto cleanLog = std::make_shared<CallLog>();
  const Outcome clean = converse(GetParam(), cleanLog, dir.filePath("clean"));
  ASSERT_TRUE(clean.reports.isEmpty()) << clean.reports.join('\n').toStdString();
  ASSERT_TRUE(clean.problems.isEmpty()) << clean.problems.join('\n').toStdString();
  ASSERT_TRUE(cleanLog->failed.isEmpty());

  // Each distinct call of each phase fails once; hub operations also by answering a bad status.
  QSet<QString> seen;
  int runs = 0;
  for (int i = 0; i < cleanLog->calls.size(); ++i) {
    const QString call = cleanLog->calls[i];
    if (seen.contains(call)) continue;
    seen.insert(call);
    for (const bool byStatus : {false, true}) {
      if (byStatus && !call.contains("/hub.")) continue;
      SCOPED_TRACE((call + (byStatus ? " (status 7)" : "")).toStdString());
      auto log = std::make_shared<CallLog>();
      log->failAt = i;
      log->hubStatusFailures = byStatus;
      QDir(dir.path()).mkpath(QString::number(++runs));
      const Outcome out = converse(GetParam(), log, dir.filePath(QString::number(runs)));
      EXPECT_EQ(log->failed, call);
      EXPECT_TRUE(out.problems.isEmpty()) << out.problems.join("\n").toStdString();
      const bool sameAsClean =
          out.one == clean.one && out.two == clean.two && out.file == clean.file;
      EXPECT_TRUE(!out.reports.isEmpty() || sameAsClean) << "a failure was swallowed";
    }
  }
  EXPECT_GT(runs, 30);
}

INSTANTIATE_TEST_SUITE_P(BothPanels, FaultInjection, ::testing::Values(Panel::Capture, Panel::Ocr),
                         [](const auto& info) {
                           return info.param == Panel::Capture ? "ZANPdf3" : "ZANPdf";
                         });

}  // namespace
}  // namespace zan::testing
