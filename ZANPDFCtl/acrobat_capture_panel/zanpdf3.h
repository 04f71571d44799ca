#pragma once
// ZANPdf3: the settings panel for PDF production through an Acrobat Capture workgroup hub.
//
// A host creates the panel, optionally registers its own elements with
// DisableElementDuringHubSearch, calls Init once with its setup data, lets the user edit
// (every edit raises Change), calls Validate (reading ValidateError and calling
// SetValidateFocus on failure) and finally Apply. RestoreDefaults, ShowAboutBox, Enabled and
// the seven hub and output properties may be used at any time. A public member that fails
// throws zan::AutomationException; reached through Qt's meta-object system it never throws
// (see zan::ZANPdf3Surface).

#include "common/controls/control.h"
#include "common/meta_call.h"
#include "external/panel_environment.h"
#include "external/setup_data.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QShowEvent;
class ZANPdf3;

namespace zan {
class ConfidenceThresholdEntry;
class FolderBrowser;
class HeraldHub;
struct HubOffer;
class PdfSettings;
class TextError;
class ZANLinks;
namespace controls {
class CheckBox;
class ComboBox;
class CommandButton;
class Frame;
class Label;
class PictureBox;
class SpinControl;
class TextBox;
}  // namespace controls
}  // namespace zan

namespace zan {

// ZANPdf3 as Qt's meta-object system sees it (QMetaObject::invokeMethod, QObject::setProperty,
// QML, Python): its properties, members and events under their own names. Each member runs its
// ZANPdf3 namesake, and no failure ever leaves it: the call returns normally, LastError holds
// the failure, Validate returns the failure's number and the panel raises Error (ErrNum,
// ErrMsg and SourceFile of the failure, LineNo 0, ReRaise False, Display True). C++ code calls
// ZANPdf3's own members, which throw; the late-bound surface reports failures as documented in
// docs/late-binding.md.
class ZANPdf3Surface : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ metaEnabled WRITE metaPutEnabled)
  Q_PROPERTY(QString WorkgroupHub READ metaWorkgroupHub WRITE metaSetWorkgroupHub)
  Q_PROPERTY(QString WatchedFolder READ metaWatchedFolder WRITE metaSetWatchedFolder)
  Q_PROPERTY(QString PDFOutputFolder READ metaPDFOutputFolder WRITE metaSetPDFOutputFolder)
  Q_PROPERTY(QString PDFOutputMachine READ metaPDFOutputMachine WRITE metaSetPDFOutputMachine)
  Q_PROPERTY(bool PDFWaitForStatus READ metaPDFWaitForStatus WRITE metaSetPDFWaitForStatus)
  Q_PROPERTY(bool PDFDeleteHungDoc READ metaPDFDeleteHungDoc WRITE metaSetPDFDeleteHungDoc)
  Q_PROPERTY(qint32 PDFInputImageType READ metaPDFInputImageType WRITE metaSetPDFInputImageType)
  Q_PROPERTY(QString ValidateError READ metaValidateError)
  Q_PROPERTY(QStringList SubstitutedSettings READ metaSubstitutedSettings)
  Q_PROPERTY(QVariantMap LastError READ LastError)

 public:
  Q_INVOKABLE void Init(zan::SetupData*& rd);
  Q_INVOKABLE void DisableElementDuringHubSearch(QVariant& oUIElement);
  Q_INVOKABLE qint32 Validate();
  Q_INVOKABLE void SetValidateFocus();
  Q_INVOKABLE void Apply(zan::SetupData*& rd);
  Q_INVOKABLE void RestoreDefaults();
  Q_INVOKABLE void ShowAboutBox();
  // The failure of the last member called through the meta-object system ("number", "source",
  // "description"); empty when it succeeded. Property gets leave it as it is.
  QVariantMap LastError() const;

 signals:
  // A setting was changed (by the user, or by the panel's own code once Init has finished).
  void Change();
  // A failure in the confidence threshold box's handlers, or of a member called through the
  // meta-object system; the panel does nothing more about it.
  void Error(qint32& ErrNum, QString& ErrMsg, QString& SourceFile, qint16& LineNo, bool& ReRaise,
             bool& Display);

 protected:
  using QWidget::QWidget;

 private:
  ZANPdf3& panel();

  bool metaEnabled();
  void metaPutEnabled(bool bEnabled);
  QString metaWorkgroupHub();
  void metaSetWorkgroupHub(const QString& strPath);
  QString metaWatchedFolder();
  void metaSetWatchedFolder(const QString& strPath);
  QString metaPDFOutputFolder();
  void metaSetPDFOutputFolder(const QString& strPath);
  QString metaPDFOutputMachine();
  void metaSetPDFOutputMachine(const QString& strPath);
  bool metaPDFWaitForStatus();
  void metaSetPDFWaitForStatus(bool blnChoice);
  bool metaPDFDeleteHungDoc();
  void metaSetPDFDeleteHungDoc(bool blnChoice);
  qint32 metaPDFInputImageType();
  void metaSetPDFInputImageType(qint32 ZANFormat);
  QString metaValidateError();
  QStringList metaSubstitutedSettings();

  MetaCall metaCall_;
};

}  // namespace zan

class ZANPdf3 final : public zan::ZANPdf3Surface {
  Q_OBJECT

 public:
  // A panel talking to the real outside world (PanelEnvironment::defaults()).
  explicit ZANPdf3(QWidget* parent = nullptr);
  // A panel talking to the components and services of `env` (hosts with their own, tests).
  // Fails (error 91, naming what is missing) when `env` lacks a service or a factory, or a
  // factory hands out nothing.
  explicit ZANPdf3(zan::PanelEnvironment env, QWidget* parent = nullptr);
  ~ZANPdf3() override;

  // Enables or disables every visible control at once; while the page content is "Image Only"
  // the controls tagged "Image Only" stay disabled. The state is kept by the settings object.
  bool Enabled() const;
  void putEnabled(bool bEnabled);

  // The texts of the hub path box and the watched folder box. A put runs the box's change
  // handling exactly as a user edit does (for the hub: a hub search).
  QString WorkgroupHub() const;
  void setWorkgroupHub(const QString& strPath);
  QString WatchedFolder() const;
  void setWatchedFolder(const QString& strPath);

  // Settings no control shows: kept by the panel, loaded by Init and RestoreDefaults, stored
  // by Validate and Apply. A put stores the value unchecked and raises no Change.
  QString PDFOutputFolder() const;
  void setPDFOutputFolder(const QString& strPath);
  QString PDFOutputMachine() const;
  void setPDFOutputMachine(const QString& strPath);
  bool PDFWaitForStatus() const;
  void setPDFWaitForStatus(bool blnChoice);
  bool PDFDeleteHungDoc() const;
  void setPDFDeleteHungDoc(bool blnChoice);
  qint32 PDFInputImageType() const;
  void setPDFInputImageType(qint32 ZANFormat);

  // Called once after creation: loads the settings stored in `rd` and fills every control. The
  // links control may hand back another setup data object in `rd`. Change is raised only for
  // edits after the first successful Init. A stored page content, language, dictionary or
  // workflow that no list offers is replaced by the list's first entry: the user is told
  // which, and SubstitutedSettings names them.
  void Init(zan::SetupData*& rd);
  // Registers a host element, an object with an "Enabled" (or Qt "enabled") property, that is
  // disabled while the panel searches the workgroup hub; a destroyed element is forgotten.
  // Fails (error 424 or 438) for a value that is no such object.
  void DisableElementDuringHubSearch(QVariant& oUIElement);
  // Copies every shown value into the settings and checks them: 0 when legal, otherwise the
  // number of the failed check (ValidateError has its message). Fails before Init.
  qint32 Validate();
  // The message of the last Validate; empty before the first one and after a successful one.
  QString ValidateError() const;
  // Moves the focus to the control the last failed Validate named.
  void SetValidateFocus();
  // Validates, then stores the settings into `rd`, all or none; fails with the validation
  // message, or with the failure of the setup data (which then holds what it held). Fails
  // before Init.
  void Apply(zan::SetupData*& rd);
  // Resets every setting to its default and reloads the controls. Fails before Init.
  void RestoreDefaults();
  // Shows the library's about box.
  void ShowAboutBox();
  // The settings whose stored value the last Init (or RestoreDefaults) could not show and
  // replaced by a list's first entry ("PageContent", "CaptureLanguage", "Dictionary",
  // "Workflow"); empty when the panel shows what is stored. Apply would store the shown values.
  QStringList SubstitutedSettings() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Layout and captions.
  void createControls();
  void attachHandlers();
  void LocalizeControls();

  // Object.
  zan::PdfSettings* settings() const;
  zan::TextError& textError();
  zan::HeraldHub& herald();
  QString text(int stringId) const;
  void NotifyChange();
  void reportUserPathFailure(const zan::AutomationError& error);
  void enterPanel(bool backward);

  // Hub helpers.
  void DisableHubSearchElements();
  void RestoreHubSearchElements();
  void FillComboFromList(zan::controls::ComboBox* combo, const QString& list);
  void SelectComboText(zan::controls::ComboBox* combo, const QString& wanted);

  // Loading.
  void Refresh();
  // Opens the stored hub and refills the lists; true when it opened.
  bool refreshHubLists();
  void refreshDocumentRows();
  // Opens the hub at `path` and records the answer in `offer`, handed to the settings object;
  // true when it opened.
  bool openHub(const QString& path, zan::HubOffer& offer);
  // Asks the hub for its dictionaries or workflows into `list`, records the answer in `offer`
  // and hands that to the settings object; true when the hub delivered the list.
  bool readHubList(zan::HubOffer& offer, bool workflows, QString& list);
  // Selects `stored` in `combo`; when no entry shows it, records `setting` as substituted and,
  // for a stored value that is not empty, tells the user (string `messageId`).
  void selectStored(zan::controls::ComboBox* combo, const QString& stored, const char* setting,
                    int messageId);
  // Logs a hub failure found while loading or searching (source `where`), naming the hub.
  void logHubProblem(std::int32_t& status, int messageId, const QString& hub, bool display,
                     const QString& where);

  // Validation.
  zan::controls::Control* controlForValidation(std::int32_t number) const;

  // Hub and watched folder entry.
  void txtWorkgroupHub_Change();
  void txtWatchedFolder_Change();
  void browse(zan::controls::TextBox* box, zan::controls::CommandButton* button, int titleId);

  // Change handlers.
  void cmbPageContent_Click();
  void comboClick(zan::controls::ComboBox* combo, const QString& stored);
  void raiseErrorEvent(std::int32_t& ErrNum, QString& ErrMsg, QString& SourceFile,
                       std::int16_t& LineNo, bool& ReRaise, bool& Display);

  zan::PanelEnvironment env_;

  // Members of the panel object.
  mutable std::unique_ptr<zan::PdfSettings> m_Settings;  // created on first use
  std::unique_ptr<zan::HeraldHub> m_Herald;
  std::int32_t m_HubStatus = 0;
  std::shared_ptr<zan::FolderBrowser> m_FolderBrowser;
  std::unique_ptr<zan::TextError> m_TextError;
  bool m_Loading = true;
  QString m_ValidateError;
  zan::controls::Control* m_FocusControl = nullptr;
  zan::controls::Control* m_LastTabControl = nullptr;
  QString m_PDFOutputFolder;
  QString m_PDFOutputMachine;
  bool m_PDFWaitForStatus = false;
  bool m_PDFDeleteHungDoc = false;
  std::int32_t m_PDFInputImageType = 0;
  // A registered host element and the name of its enabled property; a destroyed one is null.
  struct HubSearchElement {
    QPointer<QObject> object;
    const char* property;
  };
  std::vector<HubSearchElement> m_HubSearchElements;
  // Saved enabled states (1 enabled, 0 disabled) of one hub search; empty outside a search.
  std::optional<std::vector<int>> m_HubSearchStates;
  QStringList m_SubstitutedSettings;
  // Hub searches running (a search started from the pending messages of another is nested).
  int hubSearchDepth_ = 0;
  // The hub object was opened and not yet closed.
  bool hubOpen_ = false;

  // Destroyed before the widgets (Qt children), so no handler runs on a half-destroyed panel.
  zan::controls::Form m_form{this};
  std::unique_ptr<zan::ConfidenceThresholdEntry> confidenceEntry_;

  // The controls, in the panel's control order.
  zan::controls::PictureBox* picABoutBoxIcon = nullptr;
  zan::controls::Frame* fraPDFSettings = nullptr;
  zan::controls::Frame* fraLocationOfWorkgroupHub = nullptr;
  zan::controls::TextBox* txtWorkgroupHub = nullptr;
  zan::controls::CommandButton* cmdBrowseHub = nullptr;
  zan::controls::Frame* fraWatchedFolder = nullptr;
  zan::controls::TextBox* txtWatchedFolder = nullptr;
  zan::controls::CommandButton* cmdBrowseWatch = nullptr;
  zan::controls::Frame* fraOutputFormatType = nullptr;
  zan::controls::ComboBox* cmbPageContent = nullptr;
  zan::controls::Frame* fraLanguage = nullptr;
  zan::controls::ComboBox* cmbLanguage = nullptr;
  zan::controls::Frame* fraPDFHeaderlinks = nullptr;
  zan::controls::Control* PDFHeaderLinksControl = nullptr;
  zan::ZANLinks* PDFHeaderLinks = nullptr;
  zan::controls::Frame* fraDictionaries = nullptr;
  zan::controls::ComboBox* cmbDictionary = nullptr;
  zan::controls::Frame* fraWorkflows = nullptr;
  zan::controls::ComboBox* cmbWorkflow = nullptr;
  zan::controls::Frame* fraSuspectRegions = nullptr;
  zan::controls::CheckBox* chkLowOcrConfidence = nullptr;
  zan::controls::TextBox* txtConfidenceThreshold = nullptr;
  zan::controls::SpinControl* spnConfidenceThreshold = nullptr;
  zan::controls::Label* lblConfidenceThresholdUnit = nullptr;
  zan::controls::CheckBox* chkLowFontConfidence = nullptr;
  zan::controls::CheckBox* chkWordNotInDictionary = nullptr;
  zan::controls::CheckBox* chkMixedAlphaNumeric = nullptr;
  zan::controls::CheckBox* chkNumericOnly = nullptr;
  zan::controls::Frame* fraAdvanced = nullptr;
  zan::controls::CheckBox* chkCreateThumbnails = nullptr;
  zan::controls::CheckBox* chkEmbedFonts = nullptr;
  zan::controls::CheckBox* chkEnableLinks = nullptr;
  zan::controls::CheckBox* chkEnableStructure = nullptr;
  zan::controls::CheckBox* chkAutoPageRotation = nullptr;
  zan::controls::CommandButton* cmdRestoreDefaults = nullptr;
};
