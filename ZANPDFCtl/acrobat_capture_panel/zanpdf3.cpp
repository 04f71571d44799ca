// The public ZANPdf3: each member runs in the panel's implementation (CapturePanel), and
// CaptureSurface runs the same for meta-object callers, keeping failures from them.

#include "acrobat_capture_panel/capture_panel.h"

ZANPdf3::ZANPdf3(QWidget* parent) : ZANPdf3(zan::PanelEnvironment::defaults(), parent) {}

ZANPdf3::ZANPdf3(zan::PanelEnvironment env, QWidget* parent) : CaptureSurface(parent) {
  adopt(std::make_unique<zan::CapturePanel>(*this, std::move(env)));
}

ZANPdf3::~ZANPdf3() = default;

zan::CapturePanel& ZANPdf3::capture() const {
  return static_cast<zan::CapturePanel&>(core());
}

QString ZANPdf3::WorkgroupHub() const {
  return capture().WorkgroupHub();
}
void ZANPdf3::setWorkgroupHub(const QString& strPath) {
  capture().setWorkgroupHub(strPath);
}
QString ZANPdf3::WatchedFolder() const {
  return capture().WatchedFolder();
}
void ZANPdf3::setWatchedFolder(const QString& strPath) {
  capture().setWatchedFolder(strPath);
}
QString ZANPdf3::PDFOutputFolder() const {
  return capture().PDFOutputFolder();
}
void ZANPdf3::setPDFOutputFolder(const QString& strPath) {
  capture().setPDFOutputFolder(strPath);
}
QString ZANPdf3::PDFOutputMachine() const {
  return capture().PDFOutputMachine();
}
void ZANPdf3::setPDFOutputMachine(const QString& strPath) {
  capture().setPDFOutputMachine(strPath);
}
bool ZANPdf3::PDFWaitForStatus() const {
  return capture().PDFWaitForStatus();
}
void ZANPdf3::setPDFWaitForStatus(bool blnChoice) {
  capture().setPDFWaitForStatus(blnChoice);
}
bool ZANPdf3::PDFDeleteHungDoc() const {
  return capture().PDFDeleteHungDoc();
}
void ZANPdf3::setPDFDeleteHungDoc(bool blnChoice) {
  capture().setPDFDeleteHungDoc(blnChoice);
}
qint32 ZANPdf3::PDFInputImageType() const {
  return capture().PDFInputImageType();
}
void ZANPdf3::setPDFInputImageType(qint32 ZANFormat) {
  capture().setPDFInputImageType(ZANFormat);
}
void ZANPdf3::DisableElementDuringHubSearch(QVariant& oUIElement) {
  capture().hubSearch().registerElement(oUIElement);
}
void ZANPdf3::DisableElementDuringHubSearch(QObject* element) {
  capture().hubSearch().registerElement(element);
}

namespace zan {
namespace {

ZANPdf3& panelOf(CaptureSurface* surface) {
  return static_cast<ZANPdf3&>(*surface);
}

}  // namespace

void CaptureSurface::DisableElementDuringHubSearch(QVariant& oUIElement) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.DisableElementDuringHubSearch(oUIElement); });
}
QString CaptureSurface::metaWorkgroupHub() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<QString>(this, [&] { return p.WorkgroupHub(); });
}
void CaptureSurface::metaSetWorkgroupHub(const QString& strPath) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setWorkgroupHub(strPath); });
}
QString CaptureSurface::metaWatchedFolder() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<QString>(this, [&] { return p.WatchedFolder(); });
}
void CaptureSurface::metaSetWatchedFolder(const QString& strPath) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setWatchedFolder(strPath); });
}
QString CaptureSurface::metaPDFOutputFolder() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<QString>(this, [&] { return p.PDFOutputFolder(); });
}
void CaptureSurface::metaSetPDFOutputFolder(const QString& strPath) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setPDFOutputFolder(strPath); });
}
QString CaptureSurface::metaPDFOutputMachine() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<QString>(this, [&] { return p.PDFOutputMachine(); });
}
void CaptureSurface::metaSetPDFOutputMachine(const QString& strPath) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setPDFOutputMachine(strPath); });
}
bool CaptureSurface::metaPDFWaitForStatus() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<bool>(this, [&] { return p.PDFWaitForStatus(); });
}
void CaptureSurface::metaSetPDFWaitForStatus(bool blnChoice) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setPDFWaitForStatus(blnChoice); });
}
bool CaptureSurface::metaPDFDeleteHungDoc() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<bool>(this, [&] { return p.PDFDeleteHungDoc(); });
}
void CaptureSurface::metaSetPDFDeleteHungDoc(bool blnChoice) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setPDFDeleteHungDoc(blnChoice); });
}
qint32 CaptureSurface::metaPDFInputImageType() {
  ZANPdf3& p = panelOf(this);
  return core().metaCall.get<qint32>(this, [&] { return p.PDFInputImageType(); });
}
void CaptureSurface::metaSetPDFInputImageType(qint32 ZANFormat) {
  ZANPdf3& p = panelOf(this);
  core().metaCall.put(this, [&] { p.setPDFInputImageType(ZANFormat); });
}

}  // namespace zan
