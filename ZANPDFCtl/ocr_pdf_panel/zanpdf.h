#pragma once
// ZANPdf: the settings panel for OCR-based PDF output (output format, language, accuracy,
// confidence threshold, page orientations to try, suspect-region markers and the four PDF
// document-information fields).
//
// A host creates the panel, calls Init once with its setup data, lets the user edit (every edit
// raises Change), calls Validate before accepting and Apply to store the settings. Members that
// fail throw zan::AutomationException; reached through Qt's meta-object system they never throw
// (see zan::ZANPdfSurface).

#include "common/confidence_threshold_entry.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/control.h"
#include "common/controls/simple_controls.h"
#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"
#include "common/meta_call.h"
#include "common/text_error.h"
#include "external/links_control.h"
#include "external/panel_environment.h"
#include "external/pdf_settings.h"
#include "external/setup_data.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>
#include <memory>

class ZANPdf;

namespace zan {

// ZANPdf as Qt's meta-object system sees it (QMetaObject::invokeMethod, QObject::setProperty,
// QML, Python): its properties, members and events under their own names. Each member runs its
// ZANPdf namesake, and no failure ever leaves it: the call returns normally, LastError holds
// the failure, Validate returns the failure's number and the panel raises Error. C++ code calls
// ZANPdf's own members, which throw (see docs/late-binding.md).
class ZANPdfSurface : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ metaEnabled WRITE metaPutEnabled)
  Q_PROPERTY(QString ValidateError READ metaValidateError)
  Q_PROPERTY(QStringList SubstitutedSettings READ metaSubstitutedSettings)
  Q_PROPERTY(QVariantMap LastError READ LastError)

 public:
  Q_INVOKABLE void Init(zan::SetupData*& rd);
  Q_INVOKABLE qint32 Validate();
  Q_INVOKABLE void SetValidateFocus();
  Q_INVOKABLE void Apply(zan::SetupData*& rd);
  Q_INVOKABLE void RestoreDefaults();
  Q_INVOKABLE void ShowAboutBox();
  // The failure of the last member called through the meta-object system ("number", "source",
  // "description"); empty when it succeeded. Property gets leave it as it is.
  QVariantMap LastError() const;

 signals:
  // The user changed a setting (never raised before Init has succeeded).
  void Change();
  // A user action in the confidence threshold box failed, or a member called through the
  // meta-object system; the panel does nothing further.
  void Error(qint32& ErrNum, QString& ErrMsg, QString& SourceFile, qint16& LineNo, bool& ReRaise,
             bool& Display);

 protected:
  using QWidget::QWidget;

 private:
  ZANPdf& panel();
  bool metaEnabled();
  void metaPutEnabled(bool bEnabled);
  QString metaValidateError();
  QStringList metaSubstitutedSettings();

  MetaCall metaCall_;
};

}  // namespace zan

class ZANPdf final : public zan::ZANPdfSurface {
  Q_OBJECT

 public:
  // Creates the panel with the real outside world (Qt platform, US English texts, ...).
  explicit ZANPdf(QWidget* parent = nullptr);
  // Creates the panel with the given outside world. The panel is still loading: it raises no
  // Change until Init has succeeded. Fails when a caption or list text cannot be set, and
  // (error 91, naming what is missing) when `env` lacks a service or a factory, or a factory
  // hands out nothing.
  explicit ZANPdf(zan::PanelEnvironment env, QWidget* parent = nullptr);
  ~ZANPdf() override;

  // Whether the user can edit the panel, kept in the settings object. Putting it enables or
  // disables every visible control; True also tells the settings object again which engine
  // this panel serves. Re-applied each time the panel is shown.
  bool Enabled() const;
  void putEnabled(bool bEnabled);

  // Loads the stored settings of the release script from `rd` and shows them; hands `rd` to the
  // document-information links, which may replace it. Ends the loading state. A failure reaches
  // the host unchanged. A stored choice no list offers is logged and replaced by the list's
  // first entry; SubstitutedSettings names it.
  void Init(zan::SetupData*& rd);
  // Copies every shown value into the settings object and checks it: 0 when legal, otherwise
  // the failed check's number (0x80040200 to 0x8004020C). Throws for an internal error, and
  // before Init.
  qint32 Validate();
  // The message of the last failed Validate; empty before any and after a successful one.
  QString ValidateError() const;
  // Focuses the control the last failed Validate named; fails when there is none.
  void SetValidateFocus();
  // Validates and, when legal, stores the settings into `rd`, all or none; fails with the
  // validation number and message otherwise, and before Init.
  void Apply(zan::SetupData*& rd);
  // Puts every setting back to its default and shows the defaults. Fails before Init.
  void RestoreDefaults();
  // Shows the library's about box.
  void ShowAboutBox();
  // The settings whose stored value the last Init (or RestoreDefaults) could not show and
  // replaced by a list's first entry ("OutputFormatType", "OcrLanguage", "Accuracy"); empty
  // when the panel shows what is stored.
  QStringList SubstitutedSettings() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Layout: creates every control with its design-time geometry, tab order and values.
  void createControls();
  // Captions and lists.
  void LocalizeControls();
  // Selects the entry holding `setting`; without one logs the failure, selects the first entry
  // and records `name` as substituted.
  void FillCombo(zan::controls::ComboBox* list, std::int32_t setting, const char* name);
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
  QStringList m_SubstitutedSettings;
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
