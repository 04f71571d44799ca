// ZANPdf3 as Qt's meta-object system sees it: every member runs its C++ namesake and keeps a
// failure to itself.

#include "acrobat_capture_panel/zanpdf3.h"

namespace zan {

ZANPdf3& ZANPdf3Surface::panel() {
  return static_cast<ZANPdf3&>(*this);
}

void ZANPdf3Surface::Init(SetupData*& rd) {
  metaCall_.put(this, [&] { panel().Init(rd); });
}

void ZANPdf3Surface::DisableElementDuringHubSearch(QVariant& oUIElement) {
  metaCall_.put(this, [&] { panel().DisableElementDuringHubSearch(oUIElement); });
}

qint32 ZANPdf3Surface::Validate() {
  qint32 result = 0;
  AutomationError failure;
  if (!metaCall_.run(
          this, true, [&] { result = panel().Validate(); }, failure))
    result = failure.number;
  return result;
}

void ZANPdf3Surface::SetValidateFocus() {
  metaCall_.put(this, [&] { panel().SetValidateFocus(); });
}

void ZANPdf3Surface::Apply(SetupData*& rd) {
  metaCall_.put(this, [&] { panel().Apply(rd); });
}

void ZANPdf3Surface::RestoreDefaults() {
  metaCall_.put(this, [&] { panel().RestoreDefaults(); });
}

void ZANPdf3Surface::ShowAboutBox() {
  metaCall_.put(this, [&] { panel().ShowAboutBox(); });
}

QVariantMap ZANPdf3Surface::LastError() const {
  return metaCall_.lastError();
}

bool ZANPdf3Surface::metaEnabled() {
  return metaCall_.get<bool>(this, [&] { return panel().Enabled(); });
}
void ZANPdf3Surface::metaPutEnabled(bool bEnabled) {
  metaCall_.put(this, [&] { panel().putEnabled(bEnabled); });
}
QString ZANPdf3Surface::metaWorkgroupHub() {
  return metaCall_.get<QString>(this, [&] { return panel().WorkgroupHub(); });
}
void ZANPdf3Surface::metaSetWorkgroupHub(const QString& strPath) {
  metaCall_.put(this, [&] { panel().setWorkgroupHub(strPath); });
}
QString ZANPdf3Surface::metaWatchedFolder() {
  return metaCall_.get<QString>(this, [&] { return panel().WatchedFolder(); });
}
void ZANPdf3Surface::metaSetWatchedFolder(const QString& strPath) {
  metaCall_.put(this, [&] { panel().setWatchedFolder(strPath); });
}
QString ZANPdf3Surface::metaPDFOutputFolder() {
  return metaCall_.get<QString>(this, [&] { return panel().PDFOutputFolder(); });
}
void ZANPdf3Surface::metaSetPDFOutputFolder(const QString& strPath) {
  metaCall_.put(this, [&] { panel().setPDFOutputFolder(strPath); });
}
QString ZANPdf3Surface::metaPDFOutputMachine() {
  return metaCall_.get<QString>(this, [&] { return panel().PDFOutputMachine(); });
}
void ZANPdf3Surface::metaSetPDFOutputMachine(const QString& strPath) {
  metaCall_.put(this, [&] { panel().setPDFOutputMachine(strPath); });
}
bool ZANPdf3Surface::metaPDFWaitForStatus() {
  return metaCall_.get<bool>(this, [&] { return panel().PDFWaitForStatus(); });
}
void ZANPdf3Surface::metaSetPDFWaitForStatus(bool blnChoice) {
  metaCall_.put(this, [&] { panel().setPDFWaitForStatus(blnChoice); });
}
bool ZANPdf3Surface::metaPDFDeleteHungDoc() {
  return metaCall_.get<bool>(this, [&] { return panel().PDFDeleteHungDoc(); });
}
void ZANPdf3Surface::metaSetPDFDeleteHungDoc(bool blnChoice) {
  metaCall_.put(this, [&] { panel().setPDFDeleteHungDoc(blnChoice); });
}
qint32 ZANPdf3Surface::metaPDFInputImageType() {
  return metaCall_.get<qint32>(this, [&] { return panel().PDFInputImageType(); });
}
void ZANPdf3Surface::metaSetPDFInputImageType(qint32 ZANFormat) {
  metaCall_.put(this, [&] { panel().setPDFInputImageType(ZANFormat); });
}
QString ZANPdf3Surface::metaValidateError() {
  return metaCall_.get<QString>(this, [&] { return panel().ValidateError(); });
}
QStringList ZANPdf3Surface::metaSubstitutedSettings() {
  return metaCall_.get<QStringList>(this, [&] { return panel().SubstitutedSettings(); });
}

}  // namespace zan
