#pragma once
// ZANPdf: the settings panel for OCR-based PDF output (output format, language, accuracy,
// confidence threshold, page orientations to try, suspect-region markers and the four PDF
// document-information fields).
//
// A host creates the panel, calls Init once with its setup data, lets the user edit (every edit
// raises Change), calls Validate before accepting and Apply to store the settings. Members that
// fail throw zan::AutomationException.

#include "common/confidence_threshold_entry.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/control.h"
#include "common/controls/simple_controls.h"
#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"
#include "common/text_error.h"
#include "external/links_control.h"
#include "external/panel_environment.h"
#include "external/pdf_settings.h"
#include "external/setup_data.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class ZANPdf final : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ Enabled WRITE putEnabled)
  Q_PROPERTY(QString ValidateError READ ValidateError)

 public:
  // Creates the panel with the real outside world (Qt platform, US English texts, ...).
  explicit ZANPdf(QWidget* parent = nullptr);
  // Creates the panel with the given outside world. The panel is still loading: it raises no
  // Change until Init has succeeded. Fails when a caption or list text cannot be set.
  explicit ZANPdf(zan::PanelEnvironment env, QWidget* parent = nullptr);
  ~ZANPdf() override;

  // Whether the user can edit the panel, kept in the settings object. Putting it enables or
  // disables every visible control; True also tells the settings object again which engine
  // this panel serves. Re-applied each time the panel is shown.
  bool Enabled() const;
  void putEnabled(bool bEnabled);

  // Loads the stored settings of the release script from `rd` and shows them; hands `rd` to the
  // document-information links, which may replace it. Ends the loading state. A failure reaches
  // the host unchanged.
  Q_INVOKABLE void Init(zan::SetupData*& rd);
  // Copies every shown value into the settings object and checks it: 0 when legal, otherwise
  // the failed check's number (0x80040200 to 0x8004020C). Throws only for an internal error.
  Q_INVOKABLE qint32 Validate();
  // The message of the last failed Validate; empty before any and after a successful one.
  QString ValidateError() const;
  // Focuses the control the last failed Validate named; fails when there is none.
  Q_INVOKABLE void SetValidateFocus();
  // Validates and, when legal, stores the settings into `rd`; fails with the validation number
  // and message otherwise.
  Q_INVOKABLE void Apply(zan::SetupData*& rd);
  // Puts every setting back to its default and shows the defaults.
  Q_INVOKABLE void RestoreDefaults();
  // Shows the library's about box.
  Q_INVOKABLE void ShowAboutBox();

 signals:
  // The user changed a setting (never raised before Init has succeeded).
  void Change();
  // A user action in the confidence threshold box failed; the panel does nothing further.
  void Error(qint32& ErrNum, QString& ErrMsg, QString& SourceFile, qint16& LineNo, bool& ReRaise,
             bool& Display);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Layout: creates every control with its design-time geometry, tab order and values.
  void createControls();
  // Captions and lists.
  void LocalizeControls();
  void FillCombo(zan::controls::ComboBox* list, std::int32_t setting);
  // Loading: shows the values of the settings object.
  void Refresh();
  // Change handlers.
  void attachHandlers();
  void onListClick(zan::controls::ComboBox* list, std::int32_t stored);
  void NotifyChange();
  // The validation code's control, or none for a number outside the validation codes.
  zan::controls::Control* focusControlFor(std::int32_t number) const;
  // The dispatch-boundary policy: a failure of a user action is shown through the logger.
  void reportFailure(const zan::AutomationError& error);

  // The settings object, created on first use.
  zan::PdfSettings* settings() const;
  // The logger, created on first use.
  zan::TextError* textError();
  QString text(int id) const;

  zan::PanelEnvironment m_env;
  mutable std::unique_ptr<zan::PdfSettings> m_Settings;
  std::unique_ptr<zan::TextError> m_TextError;
  bool m_Loading = true;
  QString m_ValidateError;
  zan::controls::Control* m_FocusControl = nullptr;

  // Declared after everything the controls' handlers use, so it is destroyed before them.
  zan::controls::Form m_form{this};
  std::unique_ptr<zan::ConfidenceThresholdEntry> m_confidenceEntry;

  zan::controls::Frame* fraPDFSettings = nullptr;
  zan::controls::Frame* fraOutputFormatType = nullptr;
  zan::controls::ComboBox* cmbOutputFormatType = nullptr;
  zan::controls::Frame* fraLanguage = nullptr;
  zan::controls::ComboBox* cmbLanguage = nullptr;
  zan::controls::Frame* fraAccuracy = nullptr;
  zan::controls::ComboBox* cmbAccuracy = nullptr;
  zan::controls::Frame* fraConfidenceThreshold = nullptr;
  zan::controls::TextBox* txtConfidenceThreshold = nullptr;
  zan::controls::SpinControl* spnConfidenceThreshold = nullptr;
  zan::controls::Label* lblConfidenceThresholdUnit = nullptr;
  zan::controls::CommandButton* cmdRestoreDefaults = nullptr;
  zan::controls::Frame* fraPDFHeaderlinks = nullptr;
  zan::ZANLinks* PDFHeaderLinks = nullptr;
  zan::controls::Control* PDFHeaderLinksControl = nullptr;  // PDFHeaderLinks in the control order
  zan::controls::Frame* fraSuspectRegions = nullptr;
  zan::controls::CheckBox* chkLowOcrConfidence = nullptr;
  zan::controls::CheckBox* chkWordNotInDictionary = nullptr;
  zan::controls::CheckBox* chkMixedCases = nullptr;
  zan::controls::CheckBox* chkLowFontConfidence = nullptr;
  zan::controls::Frame* fraOrientation = nullptr;
  zan::controls::PictureBox* picABoutBoxIcon = nullptr;
  zan::controls::CheckBox* chkRotate0 = nullptr;
  zan::controls::CheckBox* chkRotate90 = nullptr;
  zan::controls::CheckBox* chkRotate180 = nullptr;
  zan::controls::CheckBox* chkRotate270 = nullptr;
};
