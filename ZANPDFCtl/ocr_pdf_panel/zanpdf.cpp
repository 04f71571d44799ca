#include "ocr_pdf_panel/zanpdf.h"

#include "common/version.h"
#include "external/about_box.h"

#include <QShowEvent>

namespace {
const QString kEngine = QStringLiteral("2");
}  // namespace

ZANPdf::ZANPdf(QWidget* parent) : ZANPdf(zan::PanelEnvironment::defaults(), parent) {}

ZANPdf::ZANPdf(zan::PanelEnvironment env, QWidget* parent)
    : ZANPdfSurface(parent), m_env(std::move(env)) {
  m_env.require();
  m_Loading = true;
  m_form.setFailurePolicy([this](const zan::AutomationError& error) { reportFailure(error); });
  createControls();
  attachHandlers();
  settings()->setPdfEngine(kEngine);
  LocalizeControls();
}

ZANPdf::~ZANPdf() {
  m_form.releaseControls();
  m_TextError.reset();
}

zan::PdfSettings* ZANPdf::settings() const {
  if (!m_Settings) m_Settings = m_env.createSettings();
  return m_Settings.get();
}

zan::TextError* ZANPdf::textError() {
  if (!m_TextError) m_TextError = std::make_unique<zan::TextError>(m_env.platform);
  return m_TextError.get();
}

QString ZANPdf::text(int id) const {
  return m_env.strings->text(id);
}

bool ZANPdf::Enabled() const {
  return settings()->Enabled();
}

void ZANPdf::putEnabled(bool bEnabled) {
  for (const auto& control : m_form.controls()) {
    // Each control on its own: a control that refuses one step is passed over.
    try {
      if (control->visible()) control->setEnabled(bEnabled);
    } catch (...) {
    }
    try {
      if (control->hasCaption()) control->setCaption(control->caption());
    } catch (...) {
    }
  }
  if (bEnabled) settings()->setPdfEngine(kEngine);
  settings()->setEnabled(bEnabled);
}

void ZANPdf::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  m_form.dispatch([this] { putEnabled(Enabled()); });
}

void ZANPdf::NotifyChange() {
  if (!m_Loading) emit Change();
}

void ZANPdf::RestoreDefaults() {
  zan::requireInitDone(!m_Loading, "RestoreDefaults");
  settings()->RestoreDefaults();
  Refresh();
}

QStringList ZANPdf::SubstitutedSettings() const {
  return m_SubstitutedSettings;
}

void ZANPdf::ShowAboutBox() {
  m_env.aboutBox().AboutBox(
      picABoutBoxIcon->picture(), m_env.platform->applicationTitle(),
      QString::number(zan::kVersionMajor), QString::number(zan::kVersionMinor),
      QString::number(zan::kVersionRevision), QString::fromUtf8(zan::kCopyrightLine));
}

void ZANPdf::reportFailure(const zan::AutomationError& error) {
  std::int32_t number = error.number;
  QString message = error.description;
  QString source = error.source;
  std::int16_t line = 0;
  bool reRaise = false, display = true;
  textError()->LogTheError(number, message, source, line, reRaise, display);
}
