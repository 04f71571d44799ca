#pragma once
// Shared pieces of the release-setup tests: a recording stand-in for the dialog's prompts, the
// real panel environment with recording platform and about box, and a working copy of the
// bundled example setup in a temporary folder.

#include "host_prompts.h"
#include "release_setup_dialog.h"
#include "setup_document.h"
#include "test_environment.h"

#include <QByteArray>
#include <QDir>
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
  std::deque<bool> discardAnswers;  // answers to the next questions; true (discard) when empty

  void warn(QWidget*, const QString&, const QString& text) override { warnings << text; }
  bool confirmDiscard(QWidget*, const QString&, const QString&) override {
    ++discardQuestions;
    if (discardAnswers.empty()) return true;
    const bool answer = discardAnswers.front();
    discardAnswers.pop_front();
    return answer;
  }
};

inline QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

  // A workgroup hub folder with the given workflow and dictionary files.
  QString makeHub(const QString& name, const QStringList& workflows,
                  const QStringList& dictionaries) const {
    QDir root(dir.path());
    root.mkpath(name + QStringLiteral("/Workflows"));
    root.mkpath(name + QStringLiteral("/Dictionaries"));
    for (const QString& w : workflows)
      touch(root.filePath(name + QStringLiteral("/Workflows/") + w));
    for (const QString& d : dictionaries)
      touch(root.filePath(name + QStringLiteral("/Dictionaries/") + d));
    return root.filePath(name);
  }

 private:
  static void touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
  }
};

}  // namespace zan::host::testing
