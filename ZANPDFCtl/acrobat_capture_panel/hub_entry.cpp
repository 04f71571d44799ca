// The workgroup hub and watched folder boxes and their browse buttons.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/controls/combo_box.h"
#include "common/controls/simple_controls.h"
#include "common/controls/text_box.h"
#include "external/folder_browser.h"
#include "external/herald_hub.h"
#include "external/pdf_settings.h"

#include <QPointer>
#include <QtGlobal>

namespace {

const QString kHubChangeSource = QStringLiteral("ZANPdf3.txtWorkgroupHub_Change");

// The path without leading and trailing blanks (blanks only, as the hub path is typed).
QString withoutBlanks(const QString& path) {
  qsizetype first = 0, last = path.size();
  while (first < last && path[first] == QLatin1Char(' ')) ++first;
  while (last > first && path[last - 1] == QLatin1Char(' ')) --last;
  return path.mid(first, last - first);
}

}  // namespace

// A search started from the pending messages of another one (the user typing on) runs nested:
// only the outermost search disables and restores the host elements and resets the pointer, so
// the saved states survive; the outer search opens the hub of the text shown after the nested
// one, so the lists end up reflecting the newest text. Code that runs during the search (the
// pending messages, a host's Change handler) may destroy the panel: the search then ends at
// once, and the destructor gives back the elements, the pointer and the hub.
void ZANPdf3::txtWorkgroupHub_Change() {
  const bool outermost = hubSearchDepth_ == 0;
  const QPointer<ZANPdf3> alive(this);
  struct Nesting {
    const QPointer<ZANPdf3>& panel;
    ~Nesting() {
      if (panel) --panel->hubSearchDepth_;
    }
  } nesting{alive};
  ++hubSearchDepth_;
  bool elementsDisabled = false;
  zan::StepLabel at;
  try {
    at = 1;
    env_.platform->setMousePointer(zan::MousePointer::Hourglass);
    at = 2;
    if (outermost && !m_Loading) {
      elementsDisabled = true;
      DisableHubSearchElements();
    }
    at = 3;
    if (txtWorkgroupHub->text() != settings()->WorkgroupHub()) {
      at = 4;
      settings()->setWorkgroupHub(txtWorkgroupHub->text());
      at = 5;
      NotifyChange();
      if (!alive) return;
      at = 6;
      env_.platform->processPendingMessages();
      if (!alive) return;
      at = 7;
      zan::HubOffer offer;
      if (openHub(withoutBlanks(txtWorkgroupHub->text()), offer)) {
        at = 8;
        QString list;
        if (readHubList(offer, false, list)) FillComboFromList(cmbDictionary, list);
        if (!alive) return;
        at = 9;
        if (readHubList(offer, true, list)) FillComboFromList(cmbWorkflow, list);
        if (!alive) return;
        at = 10;
        hubOpen_ = false;
        herald().CloseHub(m_HubStatus);
        if (m_HubStatus != zan::kHubOk)
          logHubProblem(m_HubStatus, 5739, offer.path, true, kHubChangeSource);
      }
    } else {
      at = 10;
      herald().CloseHub(m_HubStatus);
    }
    at = 11;
    if (elementsDisabled) RestoreHubSearchElements();
    at = 12;
    if (outermost) env_.platform->setMousePointer(zan::MousePointer::Default);
  } catch (...) {
    const zan::AutomationError caught = zan::currentError();
    if (!alive) {
      // Nothing is left to report to: the panel was destroyed while the failing step ran.
      qWarning("ZANPdfCtl4: a hub search failed after its panel was destroyed: %s",
               qPrintable(caught.description));
      return;
    }
    if (hubOpen_) {
      hubOpen_ = false;
      try {
        std::int32_t status = 0;
        herald().CloseHub(status);
      } catch (...) {
        // The failure being raised is the one the caller needs.
      }
    }
    if (elementsDisabled) RestoreHubSearchElements();
    if (outermost) {
      try {
        env_.platform->setMousePointer(zan::MousePointer::Default);
      } catch (...) {
      }
    }
    zan::raiseError(zan::linePrefixed(caught, at, kHubChangeSource));
  }
}

void ZANPdf3::txtWatchedFolder_Change() {
  if (txtWatchedFolder->text() != settings()->WatchedFolder()) NotifyChange();
}

// The browser shows a modal dialog, and writing the chosen path runs a whole hub search: code
// that runs meanwhile may destroy the panel, after which nothing of it is touched.
void ZANPdf3::browse(zan::controls::TextBox* box, zan::controls::CommandButton* button,
                     int titleId) {
  const QPointer<ZANPdf3> alive(this);
  // Shared with this frame, so that the browser outlives a panel destroyed while it is shown.
  const std::shared_ptr<zan::FolderBrowser> browser = m_FolderBrowser = env_.createFolderBrowser();
  browser->setOwner(button->hWnd());
  browser->setFileSystemOnly(true);
  browser->setTitle(text(titleId));
  browser->show();
  if (!alive) return;
  if (!browser->path().isEmpty()) box->setText(browser->path());
  if (!alive) return;
  box->setSelStart(box->text().size());
  box->setFocus();
  m_FolderBrowser.reset();
}
