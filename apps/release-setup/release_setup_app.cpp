#include "release_setup_app.h"

#include "console_services.h"
#include "dialog_screenshot.h"
#include "property_put.h"
#include "release_setup_dialog.h"
#include "setup_document.h"
#include "stored_setting.h"

#include "external/panel_environment.h"
#include "settings/automation_error.h"

#include <ZANPdfCtl4/settings_panel.h>

#include <ZANPreview/preview_pane.h>

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

#include <functional>

namespace zan::host {
namespace {

QString describe(const AutomationError& error) {
  return QStringLiteral("%1 (error %2%3)")
      .arg(error.description)
      .arg(error.number)
      .arg(error.source.isEmpty() ? QString() : QStringLiteral(", ") + error.source);
}

// The dialog with its preview, once the page is shown (at most two minutes).
void showPreviewAndWait(ReleaseSetupDialog& dialog, const QString& page) {
  dialog.showPreview(true, page);
  preview::PreviewPane* pane = dialog.previewPane();
  QEventLoop loop;
  QObject::connect(pane, &preview::PreviewPane::busyChanged, &loop, [&loop](bool busy) {
    if (!busy) loop.quit();
  });
  QTimer::singleShot(120000, &loop, &QEventLoop::quit);
  if (pane->isBusy()) loop.exec();
}

ReleaseSetupDialog::Services consoleServices() {
  ReleaseSetupDialog::Services services;
  services.environment = PanelEnvironment::defaults();
  services.environment.platform = consolePlatform();
  services.prompts = consolePrompts();
  return services;
}

ReleaseSetupDialog::Services desktopServices() {
  ReleaseSetupDialog::Services services;
  services.environment = PanelEnvironment::defaults();
  services.prompts = qtPrompts();
  return services;
}

// What is done to the setup data before the panel loads it; an empty string or the reason it
// could not be done.
using BeforeInit = std::function<QString(SetupData&)>;

// Opens the setup file and starts the panel on it; nullptr with `exitCode` set after printing
// what went wrong.
std::unique_ptr<ReleaseSetupDialog> openDialog(PanelKind kind, const QString& path,
                                               ReleaseSetupDialog::Services services, int& exitCode,
                                               const BeforeInit& beforeInit = {}) {
  std::unique_ptr<SetupDocument> document;
  try {
    document = SetupDocument::open(path);
  } catch (...) {
    printError(currentError().description);
    exitCode = kExitUsage;
    return nullptr;
  }
  if (beforeInit) {
    const QString problem = beforeInit(document->file());
    if (!problem.isEmpty()) {
      printError(problem);
      exitCode = kExitUsage;
      return nullptr;
    }
  }
  try {
    return std::make_unique<ReleaseSetupDialog>(kind, std::move(document), std::move(services));
  } catch (...) {
    printError(
        QStringLiteral("the %1 panel failed to start on %2: %3")
            .arg(panelClassName(kind), QDir::toNativeSeparators(path), describe(currentError())));
    exitCode = kExitPanelFailed;
    return nullptr;
  }
}

// The setup file of this run: --setup, or the working copy (created from the bundled example
// on the first run). Empty after printing why there is none.
QString chooseSetupFile(const Options& options) {
  if (!options.setupPath.isEmpty()) return QFileInfo(options.setupPath).absoluteFilePath();
  const QString example = bundledSetupPath();
  if (example.isEmpty()) {
    printError(QStringLiteral("the bundled example setup file was not found; pass --setup FILE"));
    return {};
  }
  const QString target = workingSetupPath();
  const bool firstRun = !QFileInfo::exists(target);
  try {
    seedWorkingSetup(example, target);
  } catch (...) {
    printError(currentError().description);
    return {};
  }
  if (firstRun)
    printError(QStringLiteral("created the working setup file %1 from the bundled example")
                   .arg(QDir::toNativeSeparators(target)));
  return target;
}

int runScripted(const Options& options, const QString& path) {
  // A name the panel has no member of but the setup file stores is written into the setup data
  // before the panel loads it; every other name is put into the panel's property afterwards.
  QList<QPair<QString, QString>> propertySets, storedSets;
  for (const auto& set : options.sets) {
    const bool stored = !hasMember(panelClassName(options.panel), set.first) &&
                        findStoredSetting(set.first).has_value();
    (stored ? storedSets : propertySets) << set;
  }
  const BeforeInit storeSettings = [&storedSets](SetupData& rd) {
    for (const auto& [name, value] : storedSets) {
      const QString problem = putStoredSetting(rd, *findStoredSetting(name), value);
      if (!problem.isEmpty()) return QStringLiteral("--set %1").arg(problem);
    }
    return QString();
  };
  int exitCode = kExitOk;
  auto dialog = openDialog(options.panel, path, consoleServices(), exitCode, storeSettings);
  if (!dialog) return exitCode;
  SettingsPanel& panel = dialog->panel();

  for (const auto& [name, value] : propertySets) {
    QString problem;
    try {
      problem = putProperty(panel, name, value);
    } catch (...) {
      printError(
          QStringLiteral("--set %1=%2 failed: %3").arg(name, value, describe(currentError())));
      return kExitPanelFailed;
    }
    if (!problem.isEmpty()) {
      printError(QStringLiteral("--set %1").arg(problem));
      return kExitUsage;
    }
  }

  if (!options.screenshot.isEmpty()) {
    if (options.preview) showPreviewAndWait(*dialog, options.previewPage);
    const QImage image = renderOffscreen(*dialog);
    QString problem;
    if (!writePng(image, options.screenshot, problem)) {
      printError(problem);
      return kExitUsage;
    }
    printOut(QStringLiteral("Screenshot: %1 (%2 x %3)")
                 .arg(QDir::toNativeSeparators(QFileInfo(options.screenshot).absoluteFilePath()))
                 .arg(image.width())
                 .arg(image.height()));
  }

  if (options.validate || options.apply) {
    std::int32_t result = 0;
    try {
      result = panel.Validate();
    } catch (...) {
      printError(QStringLiteral("Validate failed: %1").arg(describe(currentError())));
      return kExitPanelFailed;
    }
    const QString message = panel.ValidateError();
    if (options.validate) {
      printOut(QStringLiteral("Validate: %1").arg(result));
      printOut(QStringLiteral("ValidateError: %1").arg(message));
    }
    if (result != 0) {
      printError(QStringLiteral("a setting was rejected (%1): %2").arg(result).arg(message));
      return kExitRejected;
    }
  }

  if (options.apply) {
    switch (dialog->store()) {  // failures are printed by the console prompts
      case ReleaseSetupDialog::StoreOutcome::Saved:
        printOut(QStringLiteral("Saved: %1").arg(QDir::toNativeSeparators(path)));
        break;
      case ReleaseSetupDialog::StoreOutcome::Rejected:
        return kExitRejected;
      case ReleaseSetupDialog::StoreOutcome::PanelFailed:
        return kExitPanelFailed;
      case ReleaseSetupDialog::StoreOutcome::SaveFailed:
        return kExitUsage;
    }
  }
  return kExitOk;
}

int runWithoutDisplay(const QString& path, const QString& reason) {
  printOut(
      QStringLiteral("release-setup: %1; rendering the dialog offscreen instead.").arg(reason));
  const QString folder = QDir(workingHome()).absoluteFilePath(QStringLiteral("screenshots"));
  if (!QDir().mkpath(folder)) {
    printError(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    return kExitUsage;
  }
  for (PanelKind kind : {PanelKind::Capture, PanelKind::Ocr}) {
    int exitCode = kExitOk;
    auto dialog = openDialog(kind, path, consoleServices(), exitCode);
    if (!dialog) return exitCode;
    const QString file = QDir(folder).absoluteFilePath(
        QStringLiteral("release-setup-%1.png").arg(panelKindName(kind)));
    QString problem;
    if (!writePng(renderOffscreen(*dialog), file, problem)) {
      printError(problem);
      return kExitUsage;
    }
    printOut(QStringLiteral("  %1 (--panel %2): %3")
                 .arg(panelClassName(kind), panelKindName(kind), QDir::toNativeSeparators(file)));
  }
  printOut(QStringLiteral("Setup file: %1").arg(QDir::toNativeSeparators(path)));
  printOut(QStringLiteral(
      "Run on a desktop (or under xvfb-run) to edit it, or use --set, --validate and --apply."));
  return kExitOk;
}

int runDialog(const Options& options, const QString& path) {
  int exitCode = kExitOk;
  auto dialog = openDialog(options.panel, path, desktopServices(), exitCode);
  if (!dialog) return exitCode;
  if (options.closeAfterMs >= 0) {
    QTimer::singleShot(options.closeAfterMs, dialog.get(), [d = dialog.get(), &options] {
      printOut(QStringLiteral("Closing the dialog after %1 ms (Qt platform %2).")
                   .arg(options.closeAfterMs)
                   .arg(QGuiApplication::platformName()));
      d->reject();
    });
  }
  if (options.preview) dialog->showPreview(true, options.previewPage);
  dialog->exec();
  return kExitOk;
}

}  // namespace

QString noDisplayReason(const QString& platformName) {
  if (!platformName.isEmpty()) {
    if (platformName == QLatin1String("offscreen") || platformName == QLatin1String("minimal"))
      return QStringLiteral("the Qt platform '%1' shows no windows").arg(platformName);
    return {};
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return QStringLiteral("no display was found (DISPLAY and WAYLAND_DISPLAY are not set)");
  return {};
}

int runReleaseSetup(const Options& options, const QString& noDisplay) {
  const QString path = chooseSetupFile(options);
  if (path.isEmpty()) return kExitUsage;
  if (options.scripted()) return runScripted(options, path);
  if (!noDisplay.isEmpty()) return runWithoutDisplay(path, noDisplay);
  return runDialog(options, path);
}

}  // namespace zan::host
