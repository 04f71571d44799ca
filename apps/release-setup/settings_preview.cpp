#include "settings_preview.h"

#include "setup_document.h"

#include "settings/automation_error.h"

#include <ZANPdfCtl4/settings_panel.h>
#include <ZANPreview/preview_pane.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zan::host {
namespace {

void copyPart(SetupPart& from, MemorySetupPart& to) {
  QVariantMap values;
  for (const QString& key : from.keys()) values.insert(key, from.value(key));
  to.assign(values);
}

// Sample values of the index and batch fields: the bundled sample batch's first document.
void sampleValues(QVariantMap& index, QVariantMap& batch) {
  QFile file(examplesDir() + QStringLiteral("/batch/batch.json"));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QJsonObject root = QJsonDocument::fromJson(file.read(1 << 20)).object();
  batch = root.value(QStringLiteral("batchFields")).toObject().toVariantMap();
  const auto documents = root.value(QStringLiteral("documents")).toArray();
  if (!documents.isEmpty())
    index =
        documents.first().toObject().value(QStringLiteral("indexFields")).toObject().toVariantMap();
}

}  // namespace

QString samplePagePath() {
  QStringList candidates;
#ifdef ZAN_INSTALL_DATA_DIR
  candidates << QDir(QCoreApplication::applicationDirPath())
                    .absoluteFilePath(
                        QStringLiteral("../" ZAN_INSTALL_DATA_DIR "/sample-page.png"));
#endif
#ifdef ZAN_SOURCE_DATA_DIR
  candidates << QStringLiteral(ZAN_SOURCE_DATA_DIR "/sample-page.png");
#endif
  for (const QString& path : candidates)
    if (QFileInfo::exists(path)) return QDir::cleanPath(path);
  return {};
}

SettingsPreview::SettingsPreview(SettingsPanel& panel, SetupData& setup, QObject* parent)
    : QObject(parent), panel_(panel), setup_(setup) {
  scratch_.setIndexFields(setup.indexFields());
  scratch_.setBatchFields(setup.batchFields());
}

SettingsPreview::~SettingsPreview() = default;

preview::PreviewPane& SettingsPreview::pane(QWidget* parent) {
  if (!pane_) {
    pane_ = new preview::PreviewPane(parent);
    QVariantMap index, batch;
    sampleValues(index, batch);
    pane_->setSampleValues(index, batch);
  }
  return *pane_;
}

void SettingsPreview::refresh() {
  if (!pane_) return;
  try {
    if (panel_.Validate() != 0) {
      pane_->setSettingsProblem(panel_.ValidateError());
      return;
    }
    copyPart(setup_.SetupPartOne(), scratch_.partOne());
    copyPart(setup_.SetupPartTwo(), scratch_.partTwo());
    SetupData* rd = &scratch_;
    panel_.Apply(rd);
    auto* applied = qobject_cast<MemorySetupData*>(rd);
    if (!applied) applied = &scratch_;
    pane_->setSettings(applied->partOne().toMap(), applied->partTwo().toMap());
  } catch (...) {
    pane_->setSettingsProblem(currentError().description);
  }
}

}  // namespace zan::host
