// The public ZANPdf3: each member runs in the panel's implementation (CapturePanel), and its
// private part runs the same for meta-object callers, keeping failures from them.

#include "acrobat_capture_panel/capture_panel.h"
#include "panel/settings_panel_p.h"

namespace zan {

class ZANPdf3Private final : public SettingsPanelPrivate {
 public:
  using SettingsPanelPrivate::SettingsPanelPrivate;

  CapturePanel& capture() const { return static_cast<CapturePanel&>(core()); }

  // ZANPdf3's own properties and member as meta-object callers reach them.
  QString WorkgroupHub() {
    return get<QString>([&] { return capture().workgroupHub(); });
  }
  void setWorkgroupHub(const QString& strPath) {
    put([&] { capture().setWorkgroupHub(strPath); });
  }
  QString WatchedFolder() {
    return get<QString>([&] { return capture().watchedFolder(); });
  }
  void setWatchedFolder(const QString& strPath) {
    put([&] { capture().setWatchedFolder(strPath); });
  }
  QString PDFOutputFolder() {
    return get<QString>([&] { return capture().pdfOutputFolder(); });
  }
  void setPDFOutputFolder(const QString& strPath) {
    put([&] { capture().setPdfOutputFolder(strPath); });
  }
  QString PDFOutputMachine() {
    return get<QString>([&] { return capture().pdfOutputMachine(); });
  }
  void setPDFOutputMachine(const QString& strPath) {
    put([&] { capture().setPdfOutputMachine(strPath); });
  }
  bool PDFWaitForStatus() {
    return get<bool>([&] { return capture().pdfWaitForStatus(); });
  }
  void setPDFWaitForStatus(bool blnChoice) {
    put([&] { capture().setPdfWaitForStatus(blnChoice); });
  }
  bool PDFDeleteHungDoc() {
    return get<bool>([&] { return capture().pdfDeleteHungDoc(); });
  }
  void setPDFDeleteHungDoc(bool blnChoice) {
    put([&] { capture().setPdfDeleteHungDoc(blnChoice); });
  }
  qint32 PDFInputImageType() {
    return get<qint32>([&] { return capture().pdfInputImageType(); });
  }
  void setPDFInputImageType(qint32 ZANFormat) {
    put([&] { capture().setPdfInputImageType(ZANFormat); });
  }
  void DisableElementDuringHubSearch(QVariant& oUIElement) {
    put([&] { capture().hubSearch().registerElement(oUIElement); });
  }
};

}  // namespace zan

using zan::ZANPdf3Private;

ZANPdf3::ZANPdf3(QWidget* parent) : ZANPdf3(zan::PanelEnvironment::defaults(), parent) {}

ZANPdf3::ZANPdf3(zan::PanelEnvironment env, QWidget* parent) : SettingsPanel(parent) {
  d_ptr = std::make_unique<ZANPdf3Private>(
      *this, std::make_unique<zan::CapturePanel>(*this, std::move(env)));
}

ZANPdf3::~ZANPdf3() = default;

ZANPdf3Private* ZANPdf3::d_func() {
  return static_cast<ZANPdf3Private*>(d_ptr.get());
}
const ZANPdf3Private* ZANPdf3::d_func() const {
  return static_cast<const ZANPdf3Private*>(d_ptr.get());
}

QString ZANPdf3::WorkgroupHub() const {
  return d_func()->capture().workgroupHub();
}
void ZANPdf3::setWorkgroupHub(const QString& strPath) {
  d_func()->capture().setWorkgroupHub(strPath);
}
QString ZANPdf3::WatchedFolder() const {
  return d_func()->capture().watchedFolder();
}
void ZANPdf3::setWatchedFolder(const QString& strPath) {
  d_func()->capture().setWatchedFolder(strPath);
}
QString ZANPdf3::PDFOutputFolder() const {
  return d_func()->capture().pdfOutputFolder();
}
void ZANPdf3::setPDFOutputFolder(const QString& strPath) {
  d_func()->capture().setPdfOutputFolder(strPath);
}
QString ZANPdf3::PDFOutputMachine() const {
  return d_func()->capture().pdfOutputMachine();
}
void ZANPdf3::setPDFOutputMachine(const QString& strPath) {
  d_func()->capture().setPdfOutputMachine(strPath);
}
bool ZANPdf3::PDFWaitForStatus() const {
  return d_func()->capture().pdfWaitForStatus();
}
void ZANPdf3::setPDFWaitForStatus(bool blnChoice) {
  d_func()->capture().setPdfWaitForStatus(blnChoice);
}
bool ZANPdf3::PDFDeleteHungDoc() const {
  return d_func()->capture().pdfDeleteHungDoc();
}
void ZANPdf3::setPDFDeleteHungDoc(bool blnChoice) {
  d_func()->capture().setPdfDeleteHungDoc(blnChoice);
}
qint32 ZANPdf3::PDFInputImageType() const {
  return d_func()->capture().pdfInputImageType();
}
void ZANPdf3::setPDFInputImageType(qint32 ZANFormat) {
  d_func()->capture().setPdfInputImageType(ZANFormat);
}
void ZANPdf3::DisableElementDuringHubSearch(QVariant& oUIElement) {
  d_func()->capture().hubSearch().registerElement(oUIElement);
}
void ZANPdf3::DisableElementDuringHubSearch(QObject* element) {
  d_func()->capture().hubSearch().registerElement(element);
}

// The meta-object code calls into the private part, which only this file sees whole.
#include "ZANPdfCtl4/moc_zanpdf3.cpp"
