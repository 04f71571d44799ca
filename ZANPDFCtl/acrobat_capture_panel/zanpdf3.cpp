// The panel object: creation, destruction, showing, keyboard entry, the public properties,
// RestoreDefaults, ShowAboutBox and the change notification.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/confidence_threshold_entry.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/simple_controls.h"
#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"
#include "common/text_error.h"
#include "common/version.h"
#include "external/about_box.h"
#include "external/folder_browser.h"
#include "external/herald_hub.h"
#include "external/links_control.h"
#include "external/pdf_settings.h"

#include <QShowEvent>

namespace {

const QString kImageOnly = QStringLiteral("Image Only");
constexpr int kPutStep = 10;

// Runs the body of a property put; a failure is raised again as "Line# 10 Desc: ...".
template <class Body>
void putProperty(Body&& body) {
  try {
    body();
  } catch (...) {
    zan::raiseError(zan::stepPrefixed(zan::currentError(), kPutStep));
  }
}

}  // namespace

ZANPdf3::ZANPdf3(QWidget* parent) : ZANPdf3(zan::PanelEnvironment::defaults(), parent) {}

ZANPdf3::ZANPdf3(zan::PanelEnvironment env, QWidget* parent)
    : ZANPdf3Surface(parent), env_(std::move(env)) {
  env_.require();
  setObjectName(QStringLiteral("ZANPdf3"));
  m_form.setFailurePolicy([this](const zan::AutomationError& e) { reportUserPathFailure(e); });
  m_form.setFocusEntryHandler([this](bool backward) { enterPanel(backward); });
  createControls();
  attachHandlers();

  m_Loading = true;
  settings()->setPdfEngine(QStringLiteral("3"));
  m_Herald = env_.createHub();
  LocalizeControls();
  m_HubSearchElements.clear();
  putEnabled(true);
}

ZANPdf3::~ZANPdf3() {
  // Destroyed by a host's code that ran during a hub search: give back what the search holds.
  if (hubSearchDepth_ > 0) {
    RestoreHubSearchElements();
    try {
      env_.platform->setMousePointer(zan::MousePointer::Default);
    } catch (...) {
    }
  }
  if (hubOpen_ && m_Herald) {
    try {
      std::int32_t status = 0;
      m_Herald->CloseHub(status);
    } catch (...) {
    }
  }
  m_form.releaseControls();
  confidenceEntry_.reset();
  // Component destructors are not allowed to throw; release in the documented order.
  m_Herald.reset();
  m_LastTabControl = nullptr;
  m_Settings.reset();
  m_FolderBrowser.reset();
  m_TextError.reset();
}

zan::PdfSettings* ZANPdf3::settings() const {
  if (!m_Settings) m_Settings = env_.createSettings();
  return m_Settings.get();
}

zan::TextError& ZANPdf3::textError() {
  if (!m_TextError) m_TextError = std::make_unique<zan::TextError>(env_.platform);
  return *m_TextError;
}

zan::HeraldHub& ZANPdf3::herald() {
  if (!m_Herald) {
    zan::raiseError(91, QStringLiteral("ZANPdfCtl4"),
                    QStringLiteral("Object variable or With block variable not set"));
  }
  return *m_Herald;
}

QString ZANPdf3::text(int stringId) const {
  return env_.strings->text(stringId);
}

void ZANPdf3::NotifyChange() {
  if (!m_Loading) emit Change();
}

void ZANPdf3::reportUserPathFailure(const zan::AutomationError& error) {
  std::int32_t number = error.number;
  QString message = error.description;
  QString source = error.source;
  std::int16_t line = 0;
  bool reRaise = false, display = true;
  textError().LogTheError(number, message, source, line, reRaise, display);
}

void ZANPdf3::enterPanel(bool backward) {
  if (!backward) return;
  try {
    zan::controls::Control* target = m_LastTabControl ? m_LastTabControl : chkAutoPageRotation;
    target->setFocus();
  } catch (...) {
    // A backward entry that cannot be redirected leaves the focus where the container put it.
  }
}

void ZANPdf3::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  m_form.dispatch([this] { putEnabled(Enabled()); });
}

bool ZANPdf3::Enabled() const {
  return settings()->Enabled();
}

void ZANPdf3::putEnabled(bool bEnabled) {
  for (const auto& control : m_form.controls()) {
    try {
      if (control->visible()) control->setEnabled(bEnabled);
    } catch (...) {
    }
    try {
      if (cmbPageContent->text() == kImageOnly && control->tag() == kImageOnly) {
        control->setEnabled(false);
      }
    } catch (...) {
    }
    try {
      if (control->hasCaption()) control->setCaption(control->caption());
    } catch (...) {
    }
  }
  if (bEnabled) settings()->setPdfEngine(QStringLiteral("3"));
  settings()->setEnabled(bEnabled);
}

QString ZANPdf3::WorkgroupHub() const {
  return txtWorkgroupHub->text();
}

void ZANPdf3::setWorkgroupHub(const QString& strPath) {
  putProperty([&] { txtWorkgroupHub->setText(strPath); });
}

QString ZANPdf3::WatchedFolder() const {
  return txtWatchedFolder->text();
}

void ZANPdf3::setWatchedFolder(const QString& strPath) {
  putProperty([&] { txtWatchedFolder->setText(strPath); });
}

QString ZANPdf3::PDFOutputFolder() const {
  return m_PDFOutputFolder;
}

void ZANPdf3::setPDFOutputFolder(const QString& strPath) {
  putProperty([&] { m_PDFOutputFolder = strPath; });
}

QString ZANPdf3::PDFOutputMachine() const {
  return m_PDFOutputMachine;
}

void ZANPdf3::setPDFOutputMachine(const QString& strPath) {
  putProperty([&] { m_PDFOutputMachine = strPath; });
}

bool ZANPdf3::PDFWaitForStatus() const {
  return m_PDFWaitForStatus;
}

void ZANPdf3::setPDFWaitForStatus(bool blnChoice) {
  putProperty([&] { m_PDFWaitForStatus = blnChoice; });
}

bool ZANPdf3::PDFDeleteHungDoc() const {
  return m_PDFDeleteHungDoc;
}

void ZANPdf3::setPDFDeleteHungDoc(bool blnChoice) {
  putProperty([&] { m_PDFDeleteHungDoc = blnChoice; });
}

qint32 ZANPdf3::PDFInputImageType() const {
  return m_PDFInputImageType;
}

void ZANPdf3::setPDFInputImageType(qint32 ZANFormat) {
  putProperty([&] { m_PDFInputImageType = ZANFormat; });
}

void ZANPdf3::RestoreDefaults() {
  zan::requireInitDone(!m_Loading, "RestoreDefaults");
  settings()->RestoreDefaults();
  Refresh();
}

QStringList ZANPdf3::SubstitutedSettings() const {
  return m_SubstitutedSettings;
}

void ZANPdf3::ShowAboutBox() {
  env_.aboutBox().AboutBox(picABoutBoxIcon->picture(), env_.platform->applicationTitle(),
                           QString::number(zan::kVersionMajor), QString::number(zan::kVersionMinor),
                           QString::number(zan::kVersionRevision),
                           QString::fromLatin1(zan::kCopyrightLine));
}
