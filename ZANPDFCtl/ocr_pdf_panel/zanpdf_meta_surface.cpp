// ZANPdf as Qt's meta-object system sees it: every member runs its C++ namesake and keeps a
// failure to itself.

#include "ocr_pdf_panel/zanpdf.h"

namespace zan {

ZANPdf& ZANPdfSurface::panel() {
  return static_cast<ZANPdf&>(*this);
}

void ZANPdfSurface::Init(SetupData*& rd) {
  metaCall_.put(this, [&] { panel().Init(rd); });
}

qint32 ZANPdfSurface::Validate() {
  qint32 result = 0;
  AutomationError failure;
  if (!metaCall_.run(
          this, true, [&] { result = panel().Validate(); }, failure))
    result = failure.number;
  return result;
}

void ZANPdfSurface::SetValidateFocus() {
  metaCall_.put(this, [&] { panel().SetValidateFocus(); });
}

void ZANPdfSurface::Apply(SetupData*& rd) {
  metaCall_.put(this, [&] { panel().Apply(rd); });
}

void ZANPdfSurface::RestoreDefaults() {
  metaCall_.put(this, [&] { panel().RestoreDefaults(); });
}

void ZANPdfSurface::ShowAboutBox() {
  metaCall_.put(this, [&] { panel().ShowAboutBox(); });
}

QVariantMap ZANPdfSurface::LastError() const {
  return metaCall_.lastError();
}

bool ZANPdfSurface::metaEnabled() {
  return metaCall_.get<bool>(this, [&] { return panel().Enabled(); });
}
void ZANPdfSurface::metaPutEnabled(bool bEnabled) {
  metaCall_.put(this, [&] { panel().putEnabled(bEnabled); });
}
QString ZANPdfSurface::metaValidateError() {
  return metaCall_.get<QString>(this, [&] { return panel().ValidateError(); });
}
QStringList ZANPdfSurface::metaSubstitutedSettings() {
  return metaCall_.get<QStringList>(this, [&] { return panel().SubstitutedSettings(); });
}

}  // namespace zan
