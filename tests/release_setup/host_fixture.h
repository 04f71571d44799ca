#pragma once
// Shared pieces of the release-setup tests: a recording stand-in for the dialog's prompts, the
// real panel environment with recording platform and about box, and a working copy of the
// bundled example setup in a temporary folder.

#include "host_prompts.h"
#include "release_setup_dialog.h"
#include "setup_document.h"
#include "test_environment.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>

namespace zan::host::testing {

class RecordingPrompts final : public HostPrompts {
 public:
  QStringList warnings;
  int discardQuestions = 0;
  // Answers to the next questions; Discard when empty.
  std::deque<UnsavedAnswer> discardAnswers;

  void warn(QWidget*, const QString&, const QString& text) override { warnings << text; }
  QStringList restoreQuestions;
  bool restoreAnswer = true;
  bool confirmRestoreDefaults(QWidget*, const QString&, const QString& text) override {
    restoreQuestions << text;
    return restoreAnswer;
  }
  UnsavedAnswer askUnsaved(QWidget*, const QString&, const QString&) override {
    ++discardQuestions;
    const UnsavedAnswer answer =
        discardAnswers.empty() ? UnsavedAnswer::Discard : discardAnswers.front();
    if (!discardAnswers.empty()) discardAnswers.pop_front();
    return answer;
  }
};

inline QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The stored value of `key` in the first part of the setup file at `path`.
inline QVariant storedOne(const QString& path, const char* key) {
  return SetupFile::load(path)->SetupPartOne().value(QLatin1String(key));
}

// The stored value of `key` in the second part of the setup file at `path`.
inline QVariant storedTwo(const QString& path, const char* key) {
  return SetupFile::load(path)->SetupPartTwo().value(QLatin1String(key));
}

// One host world: a temporary folder holding a working copy of the bundled example (whose hub
// points at the bundled sample hub), and the services a dialog gets.
struct HostWorld {
  QTemporaryDir dir;
  QString setupPath;
  std::shared_ptr<RecordingPrompts> prompts = std::make_shared<RecordingPrompts>();
  std::shared_ptr<zan::testing::RecordingPlatform> platform =
      std::make_shared<zan::testing::RecordingPlatform>();
  zan::testing::RecordingAboutBox aboutBox;
  PanelEnvironment environment = PanelEnvironment::defaults();

  HostWorld() {
    environment.platform = platform;
    environment.aboutBox = [this]() -> AboutBoxService& { return aboutBox; };
    setupPath = seedWorkingSetup(bundledSetupPath(), dir.filePath(QStringLiteral("setup.json")));
  }

  std::unique_ptr<ReleaseSetupDialog> open(PanelKind kind = PanelKind::Capture) {
    return std::make_unique<ReleaseSetupDialog>(kind, SetupDocument::open(setupPath),
                                                ReleaseSetupDialog::Services{environment, prompts});
  }
};

}  // namespace zan::host::testing
