// The release-setup dialog driven offscreen as a user drives it: keys and clicks on the real
// dialog hosting the real panels, with the real settings object, hub and setup file.

#include "host_fixture.h"

#include "acrobat_capture_panel/zanpdf3.h"
#include "external/pdf_settings.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <vector>

namespace zan::host::testing {
namespace {

template <class W>
W* child(QWidget& dialog, const char* name) {
  W* w = dialog.findChild<W*>(QLatin1String(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

void showAndWait(QWidget& dialog) {
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.activateWindow();
}

// Replaces the text of a text box the way a user does: select all, then type.
void retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty())
    QTest::keyClick(edit, Qt::Key_Backspace);
  else
    QTest::keyClicks(edit, text);
}

// Catches: OK not validating/applying/saving what the user edited (typed hub path, chosen
// workflow, toggled options), or the hub search not refilling the lists from the typed hub.
TEST(ReleaseSetupDialog, UserEditsAndOkSaveTheSetupFile) {
  HostWorld world;
  const QString hub = world.makeHub(
      QStringLiteral("hub2"), {QStringLiteral("Alpha Flow.wfl"), QStringLiteral("Beta Flow.wfl")},
      {QStringLiteral("German.dic")});
  auto dialog = world.open();
  showAndWait(*dialog);
  ASSERT_FALSE(dialog->windowTitle().startsWith(QLatin1Char('*')));
  ASSERT_FALSE(dialog->applyButton()->isEnabled());

  retype(child<QLineEdit>(*dialog, "txtWorkgroupHub"), hub);
  auto* workflow = child<QComboBox>(*dialog, "cmbWorkflow");
  ASSERT_EQ(workflow->count(), 2);
  EXPECT_EQ(workflow->itemText(0), QStringLiteral("Alpha Flow"));
  workflow->setFocus();
  QTest::keyClick(workflow, Qt::Key_Down);
  EXPECT_EQ(workflow->currentText(), QStringLiteral("Beta Flow"));

  auto* thumbnails = child<QCheckBox>(*dialog, "chkCreateThumbnails");
  auto* links = child<QCheckBox>(*dialog, "chkEnableLinks");
  ASSERT_TRUE(thumbnails->isChecked());  // as the example stores it
  // Click on the check marks: a check box takes clicks on its mark and caption only.
  const QPoint mark(8, thumbnails->height() / 2);
  QTest::mouseClick(thumbnails, Qt::LeftButton, {}, mark);
  QTest::mouseClick(links, Qt::LeftButton, {}, mark);

  EXPECT_TRUE(dialog->windowTitle().startsWith(QLatin1Char('*')));
  EXPECT_TRUE(dialog->applyButton()->isEnabled());
  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

  EXPECT_TRUE(world.prompts->warnings.isEmpty())
      << world.prompts->warnings.join('\n').toStdString();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  auto saved = SetupFile::load(world.setupPath);
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("WorkgroupHub")).toString(), hub);
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("Workflow")).toString(),
            QStringLiteral("Beta Flow"));
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("Dictionary")).toString(),
            QStringLiteral("German"));
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("CreateThumbnails")), QVariant(false));
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("EnableLinks")), QVariant(false));
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("EnableStructure")), QVariant(true));
}

// Catches: the host buttons not registered for hub searches, or a Change raised inside a
// search making Apply usable while the search still runs.
TEST(ReleaseSetupDialog, ButtonsStayUnusableDuringAHubSearch) {
  HostWorld world;
  auto dialog = world.open();
  showAndWait(*dialog);
  std::vector<std::array<bool, 3>> duringSearch;
  world.platform->onPendingMessages = [&] {
    duringSearch.push_back({dialog->okButton()->isEnabled(), dialog->cancelButton()->isEnabled(),
                            dialog->applyButton()->isEnabled()});
  };
  auto* hubBox = child<QLineEdit>(*dialog, "txtWorkgroupHub");
  hubBox->setFocus();
  QTest::keyClick(hubBox, Qt::Key_Slash);

  ASSERT_EQ(duringSearch.size(), 1u);
  EXPECT_EQ(duringSearch[0], (std::array<bool, 3>{false, false, false}));
  EXPECT_TRUE(dialog->okButton()->isEnabled());
  EXPECT_TRUE(dialog->cancelButton()->isEnabled());
  EXPECT_TRUE(dialog->applyButton()->isEnabled());
  EXPECT_TRUE(dialog->hasUnsavedChanges());
}

// Catches: an illegal setting saved anyway, its message not shown, or the focus not moved to
// the control that holds it (through OK and through Apply alike).
TEST(ReleaseSetupDialog, RejectedSettingIsShownFocusedAndNotSaved) {
  struct Case {
    const char* box;
    const char* button;
    const char* message;
  };
  const Case cases[] = {
      {"txtWorkgroupHub", "okButton", "The workgroup hub is missing."},
      {"txtWatchedFolder", "applyButton", "The watched folder is missing."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    HostWorld world;
    const QByteArray before = fileBytes(world.setupPath);
    auto dialog = world.open();
    showAndWait(*dialog);
    auto* box = child<QLineEdit>(*dialog, c.box);
    retype(box, QString());
    QTest::mouseClick(child<QPushButton>(*dialog, c.button), Qt::LeftButton);

    ASSERT_EQ(world.prompts->warnings.size(), 1);
    EXPECT_TRUE(world.prompts->warnings[0].startsWith(QLatin1String(c.message)))
        << world.prompts->warnings[0].toStdString();
    EXPECT_EQ(dialog->focusWidget(), box);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->hasUnsavedChanges());
    EXPECT_EQ(fileBytes(world.setupPath), before);
  }
}

// Catches: Cancel discarding edits without asking, closing although the user chose to keep
// editing, or writing the file; and asking needlessly when nothing changed.
TEST(ReleaseSetupDialog, CancelAsksBeforeDiscardingAndNeverSaves) {
  HostWorld world;
  const QByteArray before = fileBytes(world.setupPath);
  auto dialog = world.open();
  showAndWait(*dialog);
  QTest::mouseClick(child<QCheckBox>(*dialog, "chkEmbedFonts"), Qt::LeftButton);

  world.prompts->discardAnswers = {false, true};
  QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
  EXPECT_EQ(world.prompts->discardQuestions, 1);
  EXPECT_TRUE(dialog->isVisible());
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(world.prompts->discardQuestions, 2);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(fileBytes(world.setupPath), before);

  auto unchanged = world.open();
  showAndWait(*unchanged);
  QTest::mouseClick(unchanged->cancelButton(), Qt::LeftButton);
  EXPECT_EQ(world.prompts->discardQuestions, 2);
  EXPECT_FALSE(unchanged->isVisible());
}

// Catches: Apply not saving, closing the dialog, or leaving the unsaved mark and the Apply
// button behind; for both panels (each stores its own engine's settings).
TEST(ReleaseSetupDialog, ApplySavesAndKeepsTheDialogOpen) {
  struct Case {
    PanelKind kind;
    const char* box;
    const char* key;
    const char* part;
  };
  const Case cases[] = {{PanelKind::Capture, "chkEmbedFonts", "EmbedFonts", "two"},
                        {PanelKind::Ocr, "chkMixedCases", "MixedCases", "two"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    HostWorld world;
    auto dialog = world.open(c.kind);
    showAndWait(*dialog);
    auto* box = child<QCheckBox>(*dialog, c.box);
    const bool wanted = !box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);

    EXPECT_TRUE(world.prompts->warnings.isEmpty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->hasUnsavedChanges());
    EXPECT_FALSE(dialog->windowTitle().startsWith(QLatin1Char('*')));
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    auto saved = SetupFile::load(world.setupPath);
    EXPECT_EQ(saved->SetupPartTwo().value(QLatin1String(c.key)), QVariant(wanted));
    EXPECT_EQ(saved->SetupPartOne().value(QStringLiteral("PdfEngine")).toString(),
              c.kind == PanelKind::Capture ? QStringLiteral("3") : QStringLiteral("2"));
    // The bundled hub was seeded as an absolute path and stays one.
    EXPECT_TRUE(QDir::isAbsolutePath(
        saved->SetupPartTwo().value(QStringLiteral("WorkgroupHub")).toString()));
  }
}

class UnmappedRejection final : public PdfSettings {
 public:
  QVariant CheckSettings() override {
    raiseError(kObjectErrorBase + 514, QStringLiteral("PdfSettings.CheckSettings"),
               QStringLiteral("Something unexpected."));
  }
};

// Catches: a panel failure on OK escaping into Qt (crash) or being followed by a save.
TEST(ReleaseSetupDialog, PanelFailureOnOkIsShownAndNothingSaved) {
  HostWorld world;
  world.environment.makeSettings = [] { return std::make_unique<UnmappedRejection>(); };
  const QByteArray before = fileBytes(world.setupPath);
  auto dialog = world.open();
  showAndWait(*dialog);
  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

  ASSERT_EQ(world.prompts->warnings.size(), 1);
  EXPECT_TRUE(world.prompts->warnings[0].contains(QLatin1String("Internal Error.")));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(fileBytes(world.setupPath), before);
}

class FailingLoad final : public PdfSettings {
 public:
  void Load(SetupPart&, SetupPart&, const QVariant&) override {
    raiseError(13, QStringLiteral("PdfSettings.Load"), QStringLiteral("Type mismatch"));
  }
};

// Catches: an Init failure crashing the host instead of reaching it as an error.
TEST(ReleaseSetupDialog, InitFailureReachesTheHostAsAnError) {
  HostWorld world;
  world.environment.makeSettings = [] { return std::make_unique<FailingLoad>(); };
  for (PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    try {
      world.open(kind);
      ADD_FAILURE() << "Init did not fail";
    } catch (const AutomationException& e) {
      EXPECT_EQ(e.error().number, 13);
      EXPECT_TRUE(e.error().description.contains(QLatin1String("Type mismatch")));
    }
  }
}

// Catches: settings applied into setup data the links control handed back in rd never
// reaching the saved file.
TEST(ReleaseSetupDialog, SetupDataHandedBackByTheLinksControlIsSaved) {
  HostWorld world;
  MemorySetupData replacement;
  world.environment.makeLinks = [&](QWidget* parent) -> ZANLinks* {
    auto* links = new zan::testing::RecordingLinks(parent);
    links->replacement = &replacement;
    return links;
  };
  auto dialog = world.open();
  showAndWait(*dialog);
  QTest::mouseClick(child<QCheckBox>(*dialog, "chkEnableStructure"), Qt::LeftButton);
  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

  ASSERT_TRUE(world.prompts->warnings.isEmpty());
  EXPECT_EQ(replacement.partTwo().value(QStringLiteral("EnableStructure")), QVariant(false));
  auto saved = SetupFile::load(world.setupPath);
  EXPECT_EQ(saved->SetupPartTwo().value(QStringLiteral("EnableStructure")), QVariant(false));
}

// Catches: the panel's Error event not reaching the user, or About not reaching the panel.
TEST(ReleaseSetupDialog, ErrorEventIsShownAndAboutCallsThePanel) {
  HostWorld world;
  auto dialog = world.open();
  auto* panel = qobject_cast<ZANPdf3*>(dialog->panel().widget());
  ASSERT_NE(panel, nullptr);
  qint32 number = 13;
  QString message = QStringLiteral("Internal error: Type mismatch");
  QString source = QStringLiteral("QelPDFSetup.txtConfidenceThreshold_Change()");
  qint16 line = 0;
  bool reRaise = false, display = true;
  emit panel->Error(number, message, source, line, reRaise, display);
  display = false;
  emit panel->Error(number, message, source, line, reRaise, display);
  ASSERT_EQ(world.prompts->warnings.size(), 1);
  EXPECT_TRUE(world.prompts->warnings[0].startsWith(message));
  EXPECT_TRUE(world.prompts->warnings[0].contains(QLatin1String("13")));

  QTest::mouseClick(dialog->aboutButton(), Qt::LeftButton);
  EXPECT_EQ(world.aboutBox.calls.size(), 1u);
}

}  // namespace
}  // namespace zan::host::testing
