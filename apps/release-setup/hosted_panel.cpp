#include "hosted_panel.h"

#include "acrobat_capture_panel/zanpdf3.h"
#include "ocr_pdf_panel/zanpdf.h"

#include <QPointer>

#include <type_traits>
#include <utility>

namespace zan::host {
namespace {

template <class Panel>
class PanelAdapter final : public HostedPanel {
 public:
  static constexpr bool kCapture = std::is_same_v<Panel, ZANPdf3>;

  PanelAdapter(PanelEnvironment env, QWidget* parent) : panel_(new Panel(std::move(env), parent)) {}

  PanelKind kind() const override { return kCapture ? PanelKind::Capture : PanelKind::Ocr; }
  QWidget* widget() const override { return panel_; }

  void listen(std::function<void()> onChange,
              std::function<void(PanelErrorEvent&)> onError) override {
    QObject::connect(panel_, &Panel::Change, panel_, std::move(onChange));
    QObject::connect(
        panel_, &Panel::Error, panel_,
        [onError = std::move(onError)](std::int32_t& num, QString& msg, QString& src,
                                       std::int16_t& line, bool& reRaise, bool& display) {
          PanelErrorEvent event{num, msg, src, line, reRaise, display};
          onError(event);
        });
  }

  bool takesHubSearchElements() const override { return kCapture; }
  void DisableElementDuringHubSearch(QVariant& element) override {
    if constexpr (kCapture) panel()->DisableElementDuringHubSearch(element);
  }
  void Init(SetupData*& rd) override { panel()->Init(rd); }
  std::int32_t Validate() override { return panel()->Validate(); }
  QString ValidateError() const override { return panel()->ValidateError(); }
  void SetValidateFocus() override { panel()->SetValidateFocus(); }
  void Apply(SetupData*& rd) override { panel()->Apply(rd); }
  void RestoreDefaults() override { panel()->RestoreDefaults(); }
  void ShowAboutBox() override { panel()->ShowAboutBox(); }
  QStringList SubstitutedSettings() const override { return panel()->SubstitutedSettings(); }

 private:
  // The dialog owns the panel widget; a call after it is gone is a host fault worth a clear
  // error rather than a crash.
  Panel* panel() const {
    if (!panel_) raiseError(91, panelClassName(kind()), QStringLiteral("Object variable not set"));
    return panel_;
  }

  QPointer<Panel> panel_;
};

}  // namespace

bool panelKindFromName(const QString& name, PanelKind& kind) {
  if (name == QLatin1String("capture")) {
    kind = PanelKind::Capture;
    return true;
  }
  if (name == QLatin1String("ocr")) {
    kind = PanelKind::Ocr;
    return true;
  }
  return false;
}

QString panelKindName(PanelKind kind) {
  return kind == PanelKind::Capture ? QStringLiteral("capture") : QStringLiteral("ocr");
}

QString panelClassName(PanelKind kind) {
  return kind == PanelKind::Capture ? QStringLiteral("ZANPdf3") : QStringLiteral("ZANPdf");
}

std::unique_ptr<HostedPanel> createHostedPanel(PanelKind kind, PanelEnvironment env,
                                               QWidget* parent) {
  if (kind == PanelKind::Capture)
    return std::make_unique<PanelAdapter<ZANPdf3>>(std::move(env), parent);
  return std::make_unique<PanelAdapter<ZANPdf>>(std::move(env), parent);
}

}  // namespace zan::host
