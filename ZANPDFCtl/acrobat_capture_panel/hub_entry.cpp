// The workgroup hub and watched folder boxes and their browse buttons.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/controls/combo_box.h"
#include "common/controls/simple_controls.h"
#include "common/controls/text_box.h"
#include "external/folder_browser.h"
#include "external/herald_hub.h"
#include "external/pdf_settings.h"

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
// one, so the lists end up reflecting the newest text.
void ZANPdf3::txtWorkgroupHub_Change() {
  const bool outermost = hubSearchDepth_ == 0;
  struct Nesting {
    int& depth;
    explicit Nesting(int& d) : depth(d) { ++depth; }
    ~Nesting() { --depth; }
  } nesting(hubSearchDepth_);
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
      at = 6;
      env_.platform->processPendingMessages();
      at = 7;
      herald().OpenHub(withoutBlanks(txtWorkgroupHub->text()), m_HubStatus);
      if (m_HubStatus == zan::kHubOk) {
        at = 8;
        QString list;
        herald().GetDictionaries(list, m_HubStatus);
        if (m_HubStatus == zan::kHubOk) FillComboFromList(cmbDictionary, list);
        at = 9;
        list.clear();
        herald().GetWorkflows(list, m_HubStatus);
        if (m_HubStatus == zan::kHubOk) FillComboFromList(cmbWorkflow, list);
        at = 10;
        herald().CloseHub(m_HubStatus);
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

void ZANPdf3::browse(zan::controls::TextBox* box, zan::controls::CommandButton* button,
                     int titleId) {
  m_FolderBrowser = env_.makeFolderBrowser();
  m_FolderBrowser->setOwner(button->hWnd());
  m_FolderBrowser->setFileSystemOnly(true);
  m_FolderBrowser->setTitle(text(titleId));
  m_FolderBrowser->show();
  if (!m_FolderBrowser->path().isEmpty()) box->setText(m_FolderBrowser->path());
  box->setSelStart(box->text().size());
  box->setFocus();
  m_FolderBrowser.reset();
}
