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

  QString workgroupHub() const;
  void setWorkgroupHub(const QString& strPath);
  QString watchedFolder() const;
  void setWatchedFolder(const QString& strPath);
  QString pdfOutputFolder() const { return pdfOutputFolder_; }
  void setPdfOutputFolder(const QString& strPath);
  QString pdfOutputMachine() const { return pdfOutputMachine_; }
  void setPdfOutputMachine(const QString& strPath);
  bool pdfWaitForStatus() const { return pdfWaitForStatus_; }
  void setPdfWaitForStatus(bool blnChoice);
  bool pdfDeleteHungDoc() const { return pdfDeleteHungDoc_; }
  void setPdfDeleteHungDoc(bool blnChoice);
  qint32 pdfInputImageType() const { return pdfInputImageType_; }
  void setPdfInputImageType(qint32 ZANFormat);
  HubSearch& hubSearch() { return hubSearch_; }

 private:
  // Layout and captions.
  void createControls();
  void attachHandlers();
  void localizeControls();
  void enterPanel(bool backward);

  // PanelCore.
  void refresh() override;
  void storeShownValues() override;
  controls::Control* controlForRule(std::int32_t number) const override;
  QString keptDisabledTag() const override;
  void beforeLoad() override;
  AutomationError initFailure(const AutomationError& caught, int label) const override;

  // Lists filled from the hub, and entries selected by their text.
  // Fills `combo` with `names`, the names of the hub's `list` (hubListNames(list)).
  void fillComboFromList(controls::ComboBox* combo, const QString& list, const QStringList& names);
  void selectComboText(controls::ComboBox* combo, const QString& wanted);
  // Loading: opens the stored hub and refills the lists; true when it opened.
  bool refreshHubLists();
  // A hub path that is empty or blank names no hub (the default after Restore Defaults): the
  // lists are emptied without a word and nothing is opened. True when `path` is such a path.
  bool clearListsWithoutHub(const QString& path);
  // Selects `stored` in `combo`; when no entry shows it, records `setting` as substituted and,
  // for a stored value that is not empty, tells the user (string `messageId`).
  void selectStored(controls::ComboBox* combo, const QString& stored, Setting setting,
                    int messageId);
  // Logs a hub failure found while loading or searching (source `where`), naming the hub.
  void logHubProblem(int messageId, const QString& hub, bool display, const QString& where);

  // Handlers.
  void onWorkgroupHubChange();
  void onWatchedFolderChange();
  void browse(controls::TextBox* box, controls::CommandButton* button, int titleId);
  void onPageContentClick();
  void comboClick(controls::ComboBox* combo, const QString& stored);

  QString pdfOutputFolder_;
  QString pdfOutputMachine_;
  bool pdfWaitForStatus_ = false;
  bool pdfDeleteHungDoc_ = false;
  std::int32_t pdfInputImageType_ = 0;
  HubSearch hubSearch_;
  std::shared_ptr<FolderBrowser> folderBrowser_;
  controls::Control* lastTabControl_ = nullptr;

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
