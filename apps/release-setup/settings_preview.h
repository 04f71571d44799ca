#pragma once
// The preview beside the panel: the settings being edited shown on a sample page. Each change
// of the panel is validated and applied into a scratch copy of the setup data in memory (never
// into the setup the dialog saves); the pane reads that copy. A setting that does not validate
// shows its message in the pane instead.

#include <ZANPdfCtl4/setup_data.h>

#include <QObject>
#include <QPointer>
#include <QString>

namespace zan {
class SettingsPanel;
}
namespace zan::preview {
class PreviewPane;
}

namespace zan::host {

class SettingsPreview final : public QObject {
  Q_OBJECT
 public:
  // Previews what `panel` edits; `setup` is the setup data the panel was started on (its keys
  // that no panel owns travel into the scratch copy).
  SettingsPreview(SettingsPanel& panel, SetupData& setup, QObject* parent = nullptr);
  ~SettingsPreview() override;

  // The pane, created on first use as a child of `parent`.
  preview::PreviewPane& pane(QWidget* parent);
  // Validates the panel and hands the pane the scratch copy, or the panel's message.
  void refresh();

 private:
  SettingsPanel& panel_;
  SetupData& setup_;
  MemorySetupData scratch_;
  QPointer<preview::PreviewPane> pane_;
};

// The bundled sample page: the installed one, else the source tree's.
QString samplePagePath();

}  // namespace zan::host
