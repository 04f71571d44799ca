// The workgroup hub and watched folder boxes, their browse buttons, and the dictionary and
// workflow lists that a hub search fills.

#include "acrobat_capture_panel/capture_panel.h"

#include "controls/combo_box.h"
#include "controls/simple_controls.h"
#include "controls/text_box.h"
#include "external/folder_browser.h"

#include <QPointer>
#include <QtGlobal>

namespace zan {
namespace {

const QString kHubChangeSource = QStringLiteral("ZANPdf3.txtWorkgroupHub_Change");

}  // namespace

// A search started from the pending messages of another one (the user typing on) runs nested:
// only the outermost search disables and restores the host elements and resets the pointer, so
// the saved states survive; the outer search opens the hub of the text shown after the nested
// one, so the lists end up reflecting the newest text. Code that runs during the search (the
// pending messages, a host's Change handler) may destroy the panel: the search then ends at
// once, and the hub search object gives back the elements, the pointer and the hub.
void CapturePanel::onWorkgroupHubChange() {
  const QPointer<SettingsPanel> alive(&panel_);
  const HubSearch::Running running(hubSearch_, &panel_);
  bool elementsDisabled = false;
  StepLabel at;
  try {
    at = 1;
    hubSearch_.showBusy();
    at = 2;
    if (running.outermost() && !loading_) {
      elementsDisabled = true;
      hubSearch_.disableElements();
    }
    at = 3;
    if (txtWorkgroupHub->text() != settings().WorkgroupHub()) {
      at = 4;
      settings().setWorkgroupHub(txtWorkgroupHub->text());
      at = 5;
      notifyChange();
      if (!alive) return;
      at = 6;
      env_.platform->processPendingMessages();
      if (!alive) return;
      at = 7;
      HubOffer offer;
      if (!clearListsWithoutHub(txtWorkgroupHub->text()) &&
          hubSearch_.open(hubPathAsOpened(txtWorkgroupHub->text()), offer)) {
        at = 8;
        QString list;
        if (hubSearch_.readList(false, list, offer))
          fillComboFromList(cmbDictionary, list, offer.dictionaries);
        if (!alive) return;
        at = 9;
        if (hubSearch_.readList(true, list, offer))
          fillComboFromList(cmbWorkflow, list, offer.workflows);
        if (!alive) return;
        at = 10;
        hubSearch_.close();
        if (hubSearch_.status() != kHubOk)
          logHubProblem(kStrHubNotClosed, offer.path, true, kHubChangeSource);
      }
    } else {
      at = 10;
      hubSearch_.close();
    }
    at = 11;
    if (elementsDisabled) hubSearch_.restoreElements();
    at = 12;
    if (running.outermost()) hubSearch_.showIdle();
  } catch (...) {
    const AutomationError caught = currentError();
    if (!alive) {
      // Nothing is left to report to: the panel was destroyed while the failing step ran.
      qWarning("ZANPdfCtl4: a hub search failed after its panel was destroyed: %s",
               qPrintable(caught.description));
      return;
    }
    hubSearch_.closeAfterFailure();
    if (elementsDisabled) hubSearch_.restoreElements();
    if (running.outermost()) {
      try {
        hubSearch_.showIdle();
      } catch (...) {
      }
    }
    raiseError(linePrefixed(caught, at, kHubChangeSource));
  }
}

void CapturePanel::onWatchedFolderChange() {
  if (txtWatchedFolder->text() != settings().WatchedFolder()) notifyChange();
}

// The browser shows a modal dialog, and writing the chosen path runs a whole hub search: code
// that runs meanwhile may destroy the panel, after which nothing of it is touched.
void CapturePanel::browse(controls::TextBox* box, controls::CommandButton* button, int titleId) {
  const QPointer<SettingsPanel> alive(&panel_);
  // Shared with this frame, so that the browser outlives a panel destroyed while it is shown.
  const std::shared_ptr<FolderBrowser> browser = folderBrowser_ = env_.createFolderBrowser();
  browser->setOwner(button->hWnd());
  browser->setFileSystemOnly(true);
  browser->setTitle(text(titleId));
  browser->setStartFolder(box->text());
  browser->show();
  if (!alive) return;
  if (!browser->path().isEmpty()) box->setText(browser->path());
  if (!alive) return;
  box->setSelStart(box->text().size());
  box->setFocus();
  folderBrowser_.reset();
}

bool CapturePanel::clearListsWithoutHub(const QString& path) {
  if (!hubPathAsOpened(path).isEmpty()) return false;
  HubOffer none;
  none.path = hubPathAsOpened(path);
  settings().setHubOffer(none);
  cmbDictionary->clear();
  cmbWorkflow->clear();
  return true;
}

void CapturePanel::fillComboFromList(controls::ComboBox* combo, const QString& list,
                                     const QStringList& names) {
  try {
    combo->clear();
    if (list.isEmpty()) {
      combo->addItem(text(kStrHubMissingEntry));
      combo->setItemValue(0, StringTable::usEnglish()->text(kStrHubMissingEntry));
      combo->setListIndex(0);
      return;
    }
    combo->addItems(names);
  } catch (...) {
    // A list that cannot be filled stays empty.
  }
  try {
    if (combo->listCount() >= 1) combo->setListIndex(0);
  } catch (...) {
    // Filling reports nothing.
  }
}

void CapturePanel::selectComboText(controls::ComboBox* combo, const QString& wanted) {
  const int n = combo->listCount();
  for (int i = 0; i < n; ++i) {
    combo->setListIndex(i);
    if (combo->value() == wanted) {
      combo->setListIndex(i);
      return;
    }
  }
  if (n >= 1) combo->setListIndex(0);
}

}  // namespace zan
