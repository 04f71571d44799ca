#pragma once
// CapturePanel: the implementation behind ZANPdf3, the settings panel for PDF production
// through an Acrobat Capture workgroup hub.

#include "acrobat_capture_panel/hub_search.h"
#include "panel/panel_core.h"

#include <ZANPdfCtl4/zanpdf3.h>

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>

namespace zan {

class FolderBrowser;

class CapturePanel final : public PanelCore {
 public:
  CapturePanel(ZANPdf3& panel, PanelEnvironment env);
  ~CapturePanel() override;

  QString WorkgroupHub() const;
  void setWorkgroupHub(const QString& strPath);
  QString WatchedFolder() const;
  void setWatchedFolder(const QString& strPath);
  QString PDFOutputFolder() const { return m_PDFOutputFolder; }
  void setPDFOutputFolder(const QString& strPath);
  QString PDFOutputMachine() const { return m_PDFOutputMachine; }
  void setPDFOutputMachine(const QString& strPath);
  bool PDFWaitForStatus() const { return m_PDFWaitForStatus; }
  void setPDFWaitForStatus(bool blnChoice);
  bool PDFDeleteHungDoc() const { return m_PDFDeleteHungDoc; }
  void setPDFDeleteHungDoc(bool blnChoice);
  qint32 PDFInputImageType() const { return m_PDFInputImageType; }
  void setPDFInputImageType(qint32 ZANFormat);
  HubSearch& hubSearch() { return hubSearch_; }

 private:
  // Layout and captions.
  void createControls();
  void attachHandlers();
  void LocalizeControls();
  void enterPanel(bool backward);

  // PanelCore.
  void Refresh() override;
  void storeShownValues() override;
  controls::Control* controlForRule(std::int32_t number) const override;
  QString keptDisabledTag() const override;
  void beforeLoad() override;
  AutomationError initFailure(const AutomationError& caught, int label) const override;

  // Lists filled from the hub, and entries selected by their text.
  // Fills `combo` with `names`, the names of the hub's `list` (hubListNames(list)).
  void FillComboFromList(controls::ComboBox* combo, const QString& list, const QStringList& names);
  void SelectComboText(controls::ComboBox* combo, const QString& wanted);
  // Loading: opens the stored hub and refills the lists; true when it opened.
  bool refreshHubLists();
  // A hub path that is empty or blank names no hub (the default after Restore Defaults): the
  // lists are emptied without a word and nothing is opened. True when `path` is such a path.
  bool clearListsWithoutHub(const QString& path);
  // Selects `stored` in `combo`; when no entry shows it, records `setting` as substituted and,
  // for a stored value that is not empty, tells the user (string `messageId`).
  void selectStored(controls::ComboBox* combo, const QString& stored, const char* setting,
                    int messageId);
  // Logs a hub failure found while loading or searching (source `where`), naming the hub.
  void logHubProblem(int messageId, const QString& hub, bool display, const QString& where);

  // Handlers.
  void txtWorkgroupHub_Change();
  void txtWatchedFolder_Change();
  void browse(controls::TextBox* box, controls::CommandButton* button, int titleId);
  void cmbPageContent_Click();
  void comboClick(controls::ComboBox* combo, const QString& stored);

  QString m_PDFOutputFolder;
  QString m_PDFOutputMachine;
  bool m_PDFWaitForStatus = false;
  bool m_PDFDeleteHungDoc = false;
  std::int32_t m_PDFInputImageType = 0;
  HubSearch hubSearch_;
  std::shared_ptr<FolderBrowser> m_FolderBrowser;
  controls::Control* m_LastTabControl = nullptr;

  controls::Frame* fraLocationOfWorkgroupHub = nullptr;
  controls::TextBox* txtWorkgroupHub = nullptr;
  controls::CommandButton* cmdBrowseHub = nullptr;
  controls::Frame* fraWatchedFolder = nullptr;
  controls::TextBox* txtWatchedFolder = nullptr;
  controls::CommandButton* cmdBrowseWatch = nullptr;
  controls::Frame* fraOutputFormatType = nullptr;
  controls::ComboBox* cmbPageContent = nullptr;
  controls::Frame* fraLanguage = nullptr;
  controls::ComboBox* cmbLanguage = nullptr;
  controls::Frame* fraDictionaries = nullptr;
  controls::ComboBox* cmbDictionary = nullptr;
  controls::Frame* fraWorkflows = nullptr;
  controls::ComboBox* cmbWorkflow = nullptr;
  controls::CheckBox* chkMixedAlphaNumeric = nullptr;
  controls::CheckBox* chkNumericOnly = nullptr;
  controls::Frame* fraAdvanced = nullptr;
  controls::CheckBox* chkCreateThumbnails = nullptr;
  controls::CheckBox* chkEmbedFonts = nullptr;
  controls::CheckBox* chkEnableLinks = nullptr;
  controls::CheckBox* chkEnableStructure = nullptr;
  controls::CheckBox* chkAutoPageRotation = nullptr;
};

}  // namespace zan
