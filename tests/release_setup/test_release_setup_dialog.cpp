// The release-setup dialog driven offscreen as a user drives it: keys and clicks on the real
// dialog hosting the real panels, with the real settings object, hub and setup file.

#include "app_translations.h"
#include "host_fixture.h"

#include <ZANPdfCtl4/zanpdf3.h>
#include <ZANPreview/preview_pane.h>
#include "settings/pdf_settings.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include <sys/stat.h>

namespace zan::host::testing {
namespace {

template <class W = QWidget>
W* child(QWidget& dialog, const char* name) {
  W* w = dialog.findChild<W*>(QLatin1String(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Opens the dialog of `world` on screen, as a user sees it.
std::unique_ptr<ReleaseSetupDialog> shown(HostWorld& world, PanelKind kind = PanelKind::Capture) {
  auto dialog = world.open(kind);
  dialog->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  dialog->activateWindow();
  return dialog;
}

// Replaces the text of a text box the way a user does: select all, then type.
void retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

// A click on a check box's mark (a check box takes clicks on its mark and caption only).
void tick(QWidget& dialog, const char* box) {
  QCheckBox* b = child<QCheckBox>(dialog, box);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

// Catches: Apply or OK not validating/applying/saving what the user edited (typed hub path,
// chosen workflow, toggled options), Apply closing the dialog or leaving the unsaved mark and
// its button behind, the hub search not refilling the lists from the typed hub, or the host
// buttons usable while a hub search runs (not registered, or re-enabled by a Change inside it).
TEST(ReleaseSetupDialog, UserEditsApplyAndOkSaveTheSetupFile) {
  HostWorld world;
  QDir root(world.dir.path());
  for (const char* file :
       {"Workflows/Alpha Flow.wfl", "Workflows/Beta Flow.wfl", "Dictionaries/German.dic"}) {
    root.mkpath("hub2/" + QFileInfo(file).path());
    QFile(root.filePath("hub2/") + file).open(QIODevice::WriteOnly);
  }
  auto dialog = shown(world);
  ASSERT_FALSE(dialog->windowTitle().startsWith('*'));
  ASSERT_FALSE(dialog->applyButton()->isEnabled());

  QSet<int> usableDuringSearch;  // how many of OK, Cancel and Apply were usable
  world.platform->onPendingMessages = [&] {
    usableDuringSearch << dialog->okButton()->isEnabled() + dialog->cancelButton()->isEnabled() +
                              dialog->applyButton()->isEnabled();
  };
  retype(child<QLineEdit>(*dialog, "txtWorkgroupHub"), root.filePath("hub2"));
  world.platform->onPendingMessages = nullptr;
  EXPECT_EQ(usableDuringSearch, QSet<int>{0});
  EXPECT_TRUE(dialog->okButton()->isEnabled() && dialog->cancelButton()->isEnabled());
  auto* workflow = child<QComboBox>(*dialog, "cmbWorkflow");
  ASSERT_EQ(workflow->count(), 2);
  workflow->setFocus();
  QTest::keyClick(workflow, Qt::Key_Down);
  EXPECT_EQ(workflow->currentText(), "Beta Flow");
  ASSERT_TRUE(child<QCheckBox>(*dialog, "chkCreateThumbnails")->isChecked());  // as stored
  tick(*dialog, "chkCreateThumbnails");
  EXPECT_TRUE(dialog->windowTitle().startsWith('*'));
  ASSERT_TRUE(dialog->applyButton()->isEnabled());
  QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);

  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->windowTitle().startsWith('*'));
  EXPECT_FALSE(dialog->applyButton()->isEnabled());
  EXPECT_EQ(storedTwo(world.setupPath, "WorkgroupHub").toString(), root.filePath("hub2"));
  EXPECT_EQ(storedTwo(world.setupPath, "Workflow").toString(), "Beta Flow");
  EXPECT_EQ(storedTwo(world.setupPath, "Dictionary").toString(), "German");
  EXPECT_EQ(storedTwo(world.setupPath, "CreateThumbnails"), QVariant(false));

  tick(*dialog, "chkEnableLinks");
  EXPECT_TRUE(dialog->applyButton()->isEnabled());
  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  EXPECT_TRUE(world.prompts->warnings.isEmpty())
      << world.prompts->warnings.join('\n').toStdString();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(storedTwo(world.setupPath, "EnableLinks"), QVariant(false));
  EXPECT_EQ(storedTwo(world.setupPath, "EnableStructure"), QVariant(true));
}

// Catches: a stored workflow the hub no longer offers replaced without a word, so that the user
// neither learns of it nor sees that OK would store the substitute.
TEST(ReleaseSetupDialog, ReplacedStoredChoiceIsToldAndMarkedUnsaved) {
  HostWorld world;
  {
    auto document = SetupDocument::open(world.setupPath);
    document->file().partTwo().setValue("Workflow", "No Such Workflow");
    document->save();
  }
  auto dialog = world.open();
  EXPECT_TRUE(dialog->hasUnsavedChanges());
  EXPECT_TRUE(dialog->windowTitle().startsWith('*'));
  ASSERT_EQ(world.platform->boxes.size(), 1u);
  EXPECT_TRUE(world.platform->boxes[0].text.contains("\"No Such Workflow\"; \"Archive Scans\""))
      << world.platform->boxes[0].text.toStdString();
}

// Catches a threshold out of range changed behind the user's back: typed 150 shown as 15 (or 100
// once the box is left), a stored 150 shown as 95 unmarked and saved as 95 by OK; and such a
// value accepted by Validate instead of refused with the threshold's rule and its box focused.
TEST(ReleaseSetupDialog, ThresholdOutOfRangeIsKeptToldAndRefused) {
  const std::int32_t thresholdRule = kObjectErrorBase + 515;  // 0x80040203 in both panels
  for (const PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    for (const bool stored : {false, true}) {
      SCOPED_TRACE(std::string(kind == PanelKind::Capture ? "capture" : "ocr") +
                   (stored ? ", stored" : ", typed"));
      HostWorld world;
      if (stored) {
        auto document = SetupDocument::open(world.setupPath);
        document->file().partOne().setValue("ConfidenceThreshold", 150);
        document->save();
      }
      const QByteArray before = fileBytes(world.setupPath);
      auto dialog = shown(world, kind);
      auto* box = child<QLineEdit>(*dialog, "txtConfidenceThreshold");
      if (stored) {
        EXPECT_TRUE(dialog->hasUnsavedChanges());
        EXPECT_TRUE(dialog->panel().SubstitutedSettings().contains("ConfidenceThreshold"));
        ASSERT_EQ(world.platform->boxes.size(), 1u);
        EXPECT_TRUE(world.platform->boxes[0].text.contains("confidence threshold 150"))
            << world.platform->boxes[0].text.toStdString();
      } else {
        retype(box, QStringLiteral("150"));
        child(*dialog, "chkLowOcrConfidence")->setFocus();  // leaving the box changes nothing
      }
      EXPECT_EQ(box->text(), "150");
      EXPECT_EQ(dialog->panel().Validate(), thresholdRule);
      QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
      ASSERT_EQ(world.prompts->warnings.size(), 1);
      EXPECT_TRUE(world.prompts->warnings[0].startsWith("The confidence threshold 150 is invalid"))
          << world.prompts->warnings[0].toStdString();
      EXPECT_EQ(dialog->focusWidget(), box);
      EXPECT_TRUE(dialog->isVisible());
      EXPECT_EQ(fileBytes(world.setupPath), before);
    }
  }
}

// Catches Restore Defaults blanking the user's setup without asking (or despite a "Cancel"), the
// panel's own RestoreDefaults member asking a host, and the empty default hub greeted with
// "The hub path specified is unreachable." while the previous hub's lists stay.
TEST(ReleaseSetupDialog, RestoreDefaultsAsksFirstAndClearsTheHubQuietly) {
  for (const PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    SCOPED_TRACE(kind == PanelKind::Capture ? "capture" : "ocr");
    HostWorld world;
    auto dialog = shown(world, kind);
    auto* restore = child<QPushButton>(*dialog, "cmdRestoreDefaults");
    auto* subject = dialog->findChild<QTableWidget*>(QStringLiteral("linksGrid"));
    const QString before = subject->item(1, 1)->text();
    ASSERT_FALSE(before.isEmpty());

    world.prompts->restoreAnswer = false;
    QTest::mouseClick(restore, Qt::LeftButton);
    EXPECT_EQ(world.prompts->restoreQuestions.size(), 1);
    EXPECT_EQ(subject->item(1, 1)->text(), before);
    EXPECT_FALSE(dialog->hasUnsavedChanges());

    world.prompts->restoreAnswer = true;
    QTest::mouseClick(restore, Qt::LeftButton);
    EXPECT_EQ(world.prompts->restoreQuestions.size(), 2);
    EXPECT_EQ(subject->item(1, 1)->text(), "");
    EXPECT_TRUE(dialog->hasUnsavedChanges());
    EXPECT_TRUE(world.platform->boxes.empty()) << world.platform->boxes[0].text.toStdString();
    EXPECT_TRUE(world.prompts->warnings.isEmpty());
    if (kind == PanelKind::Capture) {
      EXPECT_EQ(child<QLineEdit>(*dialog, "txtWorkgroupHub")->text(), "");
      EXPECT_EQ(child<QComboBox>(*dialog, "cmbDictionary")->count(), 0);
      EXPECT_EQ(child<QComboBox>(*dialog, "cmbWorkflow")->count(), 0);
    }

    dialog->panel().RestoreDefaults();  // a host's call
    EXPECT_EQ(world.prompts->restoreQuestions.size(), 2);
  }
}

class UnmappedRejection final : public PdfSettings {
 public:
  QVariant CheckSettings() override {
    raiseError(kObjectErrorBase + 514, "PdfSettings.CheckSettings", "Something unexpected.");
  }
};

// Catches: an illegal setting saved anyway, its message not shown, or the focus not moved to
// the control that holds it (through OK and Apply alike); a panel failure on OK escaping into
// Qt (crash) or followed by a save.
TEST(ReleaseSetupDialog, RejectedSettingIsShownFocusedAndNotSaved) {
  const struct {
    const char* box;  // emptied by the user; none: the settings object fails instead
    const char* button;
    const char* message;
  } cases[] = {{"txtWorkgroupHub", "okButton", "The workgroup hub is missing."},
               {"txtWatchedFolder", "applyButton", "The watched folder is missing."},
               {nullptr, "okButton", "Internal Error."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    HostWorld world;
    if (!c.box)
      world.environment.makeSettings = [] { return std::make_unique<UnmappedRejection>(); };
    const QByteArray before = fileBytes(world.setupPath);
    auto dialog = shown(world);
    if (c.box)
      retype(child<QLineEdit>(*dialog, c.box), QString());
    else
      tick(*dialog, "chkEmbedFonts");  // a change, so that OK stores
    QTest::mouseClick(child<QPushButton>(*dialog, c.button), Qt::LeftButton);

    ASSERT_EQ(world.prompts->warnings.size(), 1);
    const QString& shownText = world.prompts->warnings[0];
    EXPECT_TRUE(c.box ? shownText.startsWith(c.message) : shownText.contains(c.message))
        << shownText.toStdString();
    if (c.box) {
      EXPECT_EQ(dialog->focusWidget(), child(*dialog, c.box));
      EXPECT_TRUE(dialog->hasUnsavedChanges());
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(fileBytes(world.setupPath), before);
  }
}

// Catches F1 opening the about box instead of help, a help page without the README's user part
// or its pictures, and About without a button of its own.
TEST(ReleaseSetupDialog, F1OpensTheHelpPageAndAboutHasItsButton) {
  HostWorld world;
  auto dialog = shown(world);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  QDialog* help = nullptr;
  EXPECT_TRUE(QTest::qWaitFor([&] {
    help = dialog->findChild<QDialog*>(QStringLiteral("helpWindow"));
    return help && help->isVisible();
  }));
  ASSERT_NE(help, nullptr);
  auto* page = help->findChild<QTextBrowser*>(QStringLiteral("helpText"));
  ASSERT_NE(page, nullptr);
  const QString text = page->toPlainText();
  for (const char* part : {"Run the release-setup dialog", "Keyboard, screen readers",
                           "Scripted mode", "--set NAME=VALUE"})
    EXPECT_TRUE(text.contains(part)) << part;
  EXPECT_FALSE(text.contains("Release a batch")) << "the help is the dialog's part only";
  const QVariant picture = page->document()->resource(
      QTextDocument::ImageResource, QUrl("docs/screenshots/release-setup-capture.png"));
  EXPECT_FALSE(picture.value<QImage>().isNull() && picture.value<QPixmap>().isNull())
      << "the pictures are not built in";
  EXPECT_TRUE(world.aboutBox.calls.empty());
  QTest::mouseClick(dialog->aboutButton(), Qt::LeftButton);
  EXPECT_EQ(world.aboutBox.calls.size(), 1u);
}

// Catches OK rewriting the setup file when nothing was changed (a new file, a new date, a save
// that may fail, for nothing).
TEST(ReleaseSetupDialog, OkWithNothingChangedLeavesTheFileAlone) {
  for (const PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    HostWorld world;
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(world.setupPath).constData(), &before), 0);
    auto dialog = shown(world, kind);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(world.setupPath).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
  }
}

// Catches: Cancel discarding edits without asking, closing although the user chose to keep
// editing, writing the file unless asked to save, Save not storing the edit; and asking
// needlessly when nothing changed.
TEST(ReleaseSetupDialog, CancelOffersSaveDiscardOrKeepEditing) {
  using Answer = HostPrompts::UnsavedAnswer;
  HostWorld world;
  const QByteArray before = fileBytes(world.setupPath);
  auto dialog = shown(world);
  tick(*dialog, "chkEmbedFonts");
  world.prompts->discardAnswers = {Answer::Cancel, Answer::Discard};
  QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
  EXPECT_EQ(world.prompts->discardQuestions, 1);
  EXPECT_TRUE(dialog->isVisible());
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(world.prompts->discardQuestions, 2);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(fileBytes(world.setupPath), before);

  auto unchanged = shown(world, PanelKind::Ocr);
  QTest::mouseClick(unchanged->cancelButton(), Qt::LeftButton);
  EXPECT_EQ(world.prompts->discardQuestions, 2);
  EXPECT_FALSE(unchanged->isVisible());

  const QVariant embedFonts = storedTwo(world.setupPath, "EmbedFonts");
  auto saving = shown(world);
  tick(*saving, "chkEmbedFonts");
  world.prompts->discardAnswers = {Answer::Save};
  QTest::keyClick(saving.get(), Qt::Key_Escape);
  EXPECT_FALSE(saving->isVisible());
  EXPECT_EQ(storedTwo(world.setupPath, "EmbedFonts"), QVariant(!embedFonts.toBool()));
}

// The widget an access key of `w` (a frame, a button or a label with a buddy) should reach:
// the first control of a frame in the tab order, a label's buddy, the button itself.
QWidget* accessKeyTarget(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return label->buddy();
  if (!qobject_cast<QGroupBox*>(w)) return w;
  for (QWidget* next = w->window()->nextInFocusChain(); next != w->window();
       next = next->nextInFocusChain())
    if (w->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled() &&
        next->isVisible())
      return next;
  return nullptr;
}

// The last control of the frame `w` that can take the focus (where Qt's own frame shortcut
// returns to once it had the focus).
QWidget* lastControlOf(QWidget* w) {
  QWidget* last = nullptr;
  for (QWidget* child : w->findChildren<QWidget*>())
    if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled() && child->isVisible())
      last = child;
  return last;
}

// The visible controls of `dialog` by the access key of their caption.
QMap<QString, QList<QWidget*>> accessKeyHolders(QWidget& dialog) {
  QMap<QString, QList<QWidget*>> holders;
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    QString caption;
    if (auto* box = qobject_cast<QGroupBox*>(w)) caption = box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) caption = button->text();
    if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) caption = label->text();
    const QString key = QKeySequence::mnemonic(caption).toString();
    if (!key.isEmpty()) holders[key] << w;
  }
  return holders;
}

// Catches an access key two controls of one dialog share (Alt+R cycling between "C&reate
// thumbnails" and "&Restore Defaults", neither acting), a frame's key landing on its browse
// button instead of its box, a host button without a key (German "Übernehmen"), and the
// keyboard not starting on the panel's first control; with either panel, in both languages,
// and with the preview open.
TEST(ReleaseSetupDialog, AccessKeysAreUniqueAndReachTheirFields) {
  for (const char* language : {"en_US", "de_DE"}) {
    QLocale::setDefault(QLocale(language));
    const AppTranslations translations{QLocale()};
    const std::pair<PanelKind, const char*> kinds[] = {{PanelKind::Capture, "txtWorkgroupHub"},
                                                       {PanelKind::Ocr, "cmbOutputFormatType"}};
    for (const auto& [kind, first] : kinds) {
      SCOPED_TRACE(std::string(language) + ", " + panelKindName(kind).toStdString());
      HostWorld world;
      world.prompts->restoreAnswer = false;
      auto dialog = shown(world, kind);
      EXPECT_EQ(QApplication::focusWidget(), child(*dialog, first));
      tick(*dialog, kind == PanelKind::Capture ? "chkEmbedFonts" : "chkRotate90");  // Apply on
      const QMap<QString, QList<QWidget*>> holders = accessKeyHolders(*dialog);
      EXPECT_GE(holders.size(), kind == PanelKind::Capture ? 19 : 14);
      EXPECT_FALSE(QKeySequence::mnemonic(dialog->applyButton()->text()).isEmpty())
          << "Apply has no access key: " << dialog->applyButton()->text().toStdString();
      for (auto it = holders.cbegin(); it != holders.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString() + " " + it.value().first()->objectName().toStdString());
        EXPECT_EQ(it.value().size(), 1) << it.value().last()->objectName().toStdString();
        QWidget* holder = it.value().first();
        QWidget* target = accessKeyTarget(holder);
        ASSERT_NE(target, nullptr);
        // Come from a control of the frame that is not its first, then from elsewhere.
        if (QWidget* last = lastControlOf(holder)) last->setFocus(Qt::TabFocusReason);
        dialog->okButton()->setFocus(Qt::TabFocusReason);
        if (auto* button = qobject_cast<QPushButton*>(target)) {  // a button's key presses it
          QSignalSpy clicked(button, &QAbstractButton::clicked);
          QTest::keySequence(QApplication::focusWidget(), QKeySequence(it.key()));
          EXPECT_TRUE(clicked.wait(1000));
          continue;
        }
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(it.key()));
        EXPECT_EQ(QApplication::focusWidget(), target)
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                            : QString("nothing"))
                   .toStdString();
      }
      // With the preview open beside the panel, its keys are the dialog's too.
      dialog->showPreview(true);
      dialog->previewPane()->cancel();
      const QMap<QString, QList<QWidget*>> withPreview = accessKeyHolders(*dialog);
      EXPECT_GT(withPreview.size(), holders.size());
      for (auto it = withPreview.cbegin(); it != withPreview.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << "with the preview open, " << it.key().toStdString()
                                        << " is " << it.value().first()->objectName().toStdString()
                                        << " and " << it.value().last()->objectName().toStdString();
    }
  }
  QLocale::setDefault(QLocale::c());
}

// Catches a focusable control a screen reader cannot name (no name, an "&" or a line break in
// it, a frame caption inherited from an outer frame, two controls with one name, a browse
// button called "...", a list named by the entry it shows instead of its caption) or that has
// neither a tooltip nor What's This text, and the document information grid named differently
// by the two panels.
TEST(ReleaseSetupDialog, EveryFocusableControlHasAUniqueNameAndATip) {
  HostWorld world;
  for (PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    auto dialog = shown(world, kind);
    QSet<QString> names;
    int focusable = 0;
    for (QWidget* w : dialog->panel().findChildren<QWidget*>()) {
      if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || w->window() != dialog.get())
        continue;
      ++focusable;
      const QString name = w->accessibleName();
      SCOPED_TRACE(w->objectName().toStdString() + " \"" + name.toStdString() + "\"");
      EXPECT_FALSE(name.isEmpty());
      EXPECT_FALSE(name.contains('&') || name.contains('\n') || name.contains("..."));
      EXPECT_FALSE(names.contains(name));
      names << name;
      EXPECT_FALSE(w->toolTip().isEmpty() && w->whatsThis().isEmpty());
      // What a screen reader is told: the name, and a list's shown entry as its value.
      QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(w);
      ASSERT_NE(spoken, nullptr);
      EXPECT_EQ(spoken->text(QAccessible::Name), name);
      if (auto* list = qobject_cast<QComboBox*>(w)) {
        EXPECT_EQ(spoken->text(QAccessible::Value), list->currentText());
      }
    }
    EXPECT_GE(focusable, kind == PanelKind::Capture ? 20 : 14);
    EXPECT_EQ(child(*dialog, "fraSuspectRegions")->accessibleName(), "Suspect Regions");
    EXPECT_EQ(child(*dialog, "cmbLanguage")->accessibleName(), "Language");
    // One grid, one name: the captions differ ("PDF Document Information", "PDF Header
    // Links"), what a screen reader says does not.
    EXPECT_EQ(child(*dialog, "linksGrid")->accessibleName(), "PDF document information");
    EXPECT_EQ(child(*dialog, "fraPDFHeaderlinks")->accessibleName(), "PDF document information");
  }
}

// The visible controls of `panel` whose names `control` matches; each lies inside its parent and
// overlaps no sibling control (but Restore Defaults, which the designed geometry puts on the
// corner of Advanced Settings).
QList<QWidget*> expectPlacedApart(QWidget& panel, const QRegularExpression& control) {
  QList<QWidget*> controls;
  for (QWidget* w : panel.findChildren<QWidget*>())
    if (control.match(w->objectName()).hasMatch() && !w->isHidden()) controls << w;
  for (QWidget* w : controls) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_TRUE(QRect(QPoint(), w->parentWidget()->size()).contains(w->geometry()));
    for (QWidget* other : controls) {
      const QSet<QString> pair{w->objectName(), other->objectName()};
      if (other == w || other->parentWidget() != w->parentWidget() ||
          pair == QSet<QString>{"cmdRestoreDefaults", "fraAdvanced"})
        continue;
      EXPECT_FALSE(w->geometry().intersects(other->geometry()))
          << other->objectName().toStdString();
    }
  }
  return controls;
}

// Catches single controls growing with the font instead of the whole layout, a control
// clipped by its frame or overlapping a sibling, a caption that does not fit (in English or
// German; a check box narrower than its mark and caption need), a drop-down list narrower than its
// longest entry, or a cut-off value without a tooltip showing all of it.
TEST(ReleaseSetupDialog, LayoutScalesWithTheFontAndTextsFit) {
  const QFont designed = QApplication::font();
  const QRegularExpression control("^(fra|cmb|chk|txt|cmd|lbl|spn|PDFHeaderLinks)");
  for (const char* language : {"en_US", "de_DE"})
    for (int points : {8, 11, 14}) {
      QLocale::setDefault(QLocale(language));  // the panels' string table follows it
      HostWorld world;
      QFont font = designed;
      font.setPointSize(points);
      QApplication::setFont(font);
      for (PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
        SCOPED_TRACE(std::to_string(points) + " pt, " + language + ", " +
                     panelKindName(kind).toStdString());
        auto dialog = shown(world, kind);
        QWidget& panel = dialog->panel();
        EXPECT_EQ(child<QGroupBox>(*dialog, "fraPDFSettings")->title(),
                  QLocale().language() == QLocale::German ? "PDF-Einstellungen" : "PDF Settings");
        EXPECT_NEAR(panel.width(), 7395.0 * points / 8 / 15, 1.0);
        EXPECT_TRUE(dialog->rect().contains(panel.geometry()));
        for (QWidget* w : expectPlacedApart(panel, control)) {
          SCOPED_TRACE(w->objectName().toStdString());
          const QFontMetrics fm = w->fontMetrics();
          if (auto* box = qobject_cast<QCheckBox*>(w)) {
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect label =
                box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            EXPECT_LE(fm.horizontalAdvance(box->text().remove('&')), label.width());
            EXPECT_LE(box->sizeHint().width(), box->width());
            EXPECT_LE(box->style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, box),
                      box->height());
          } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            EXPECT_LE(fm.horizontalAdvance(frame->title().remove('&')) + 16, frame->width());
          } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            int longest = 0;
            for (int i = 0; i < combo->count(); ++i)
              longest = std::max(longest, fm.horizontalAdvance(combo->itemText(i)));
            combo->showPopup();  // the list is measured when it opens
            EXPECT_GE(combo->view()->minimumWidth(), longest);
            combo->hidePopup();
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect shown = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            if (fm.horizontalAdvance(combo->currentText()) > shown.width()) {
              EXPECT_TRUE(combo->toolTip().contains(combo->currentText()));
            }
          }
        }
      }
    }
  QApplication::setFont(designed);
  QLocale::setDefault(QLocale::c());
}

// Catches a panel that stays at its designed width in a wider dialog (values cut off with "..."
// stay cut), fields that do not grow with it, buttons stretched instead of kept, and controls
// overlapping or leaving their frames once stretched.
TEST(ReleaseSetupDialog, WiderDialogStretchesTheFields) {
  const std::pair<PanelKind, QStringList> kinds[] = {
      {PanelKind::Capture,
       {"txtWorkgroupHub", "txtWatchedFolder", "cmbPageContent", "cmbWorkflow", "linksGrid"}},
      {PanelKind::Ocr, {"cmbOutputFormatType", "cmbAccuracy", "linksGrid"}}};
  for (const auto& [kind, fields] : kinds) {
    SCOPED_TRACE(panelKindName(kind).toStdString());
    HostWorld world;
    auto dialog = shown(world, kind);
    QWidget& panel = dialog->panel();
    const int designed = panel.width();
    QMap<QString, int> before;
    for (QWidget* w : panel.findChildren<QWidget*>()) before[w->objectName()] = w->width();
    dialog->resize(dialog->width() + 250, dialog->height());
    QTest::qWait(10);
    EXPECT_GE(panel.width(), designed + 240);
    for (const QString& name : fields)
      EXPECT_GT(child(*dialog, name.toLatin1())->width(), before[name] + 40) << name.toStdString();
    for (auto* button : panel.findChildren<QPushButton*>())
      EXPECT_EQ(button->width(), before[button->objectName()])
          << button->objectName().toStdString();
    if (kind == PanelKind::Capture) {
      auto* pageContent = child<QComboBox>(*dialog, "cmbPageContent");
      QStyleOptionComboBox option;
      option.initFrom(pageContent);
      const QRect shown = pageContent->style()->subControlRect(
          QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, pageContent);
      EXPECT_LE(pageContent->fontMetrics().horizontalAdvance(pageContent->currentText()),
                shown.width())
          << "the page content is still cut";
    }
    expectPlacedApart(panel, QRegularExpression("^(fra|cmb|chk|txt|cmd|spn|lbl)"));
  }
}

class FailingLoad final : public PdfSettings {
 public:
  void Load(SetupPart&, SetupPart&, const QVariant&) override {
    raiseError(13, "PdfSettings.Load", "Type mismatch");
  }
};

// Catches: an Init failure crashing the host instead of reaching it as an error.
TEST(ReleaseSetupDialog, InitFailureReachesTheHostAsAnError) {
  HostWorld world;
  world.environment.makeSettings = [] { return std::make_unique<FailingLoad>(); };
  for (PanelKind kind : {PanelKind::Capture, PanelKind::Ocr})
    EXPECT_THROW(world.open(kind), AutomationException);
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
  auto dialog = shown(world);
  tick(*dialog, "chkEnableStructure");
  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  ASSERT_TRUE(world.prompts->warnings.isEmpty());
  EXPECT_EQ(replacement.partTwo().value("EnableStructure"), QVariant(false));
  EXPECT_EQ(storedTwo(world.setupPath, "EnableStructure"), QVariant(false));
}

// Catches: the panel's Error event not reaching the user (or shown when Display is false).
TEST(ReleaseSetupDialog, ErrorEventIsShownOnlyWhenToBeDisplayed) {
  HostWorld world;
  auto dialog = world.open();
  auto* panel = qobject_cast<ZANPdf3*>(&dialog->panel());
  ASSERT_NE(panel, nullptr);
  qint32 number = 13;
  QString message = "Internal error: Type mismatch", source = "QelPDFSetup.txtConfidence_Change()";
  qint16 line = 0;
  bool reRaise = false;
  for (bool display : {true, false})
    emit panel->Error(number, message, source, line, reRaise, display);
  ASSERT_EQ(world.prompts->warnings.size(), 1);
  EXPECT_TRUE(world.prompts->warnings[0].startsWith(message));
  EXPECT_TRUE(world.prompts->warnings[0].contains("13"));
}

}  // namespace
}  // namespace zan::host::testing
