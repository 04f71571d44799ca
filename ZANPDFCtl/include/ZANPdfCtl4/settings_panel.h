#pragma once
/// \file
/// The contract both settings panels offer a host: zan::SettingsPanel, and the same contract as
/// Qt's meta-object system reaches it, zan::PanelSurface.

#include <ZANPdfCtl4/setup_data.h>
#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <memory>

class QShowEvent;

namespace zan {

class PanelCore;

/// The panel contract as Qt's meta-object system sees it: QMetaObject::invokeMethod,
/// QObject::setProperty and property(), QML, Python bindings and the late-bound surface reach
/// the members, properties and events of both panels under these names.
///
/// Each member runs its zan::SettingsPanel namesake, and no failure ever leaves it: the call
/// returns normally, LastError describes the failure, Validate returns the failure's number,
/// and the panel raises Error (ErrNum, ErrMsg and SourceFile of the failure, LineNo 0, ReRaise
/// False, Display True). C++ code that holds a zan::SettingsPanel calls its own members, which
/// throw zan::AutomationException instead.
class ZANPDFCTL4_EXPORT PanelSurface : public QWidget {
  Q_OBJECT
  /// Whether the user can edit the panel (see SettingsPanel::Enabled()).
  Q_PROPERTY(bool Enabled READ metaEnabled WRITE metaPutEnabled)
  /// The message of the last Validate (see SettingsPanel::ValidateError()).
  Q_PROPERTY(QString ValidateError READ metaValidateError)
  /// The stored choices the panel shows differently (see SettingsPanel::SubstitutedSettings()).
  Q_PROPERTY(QStringList SubstitutedSettings READ metaSubstitutedSettings)
  /// The failure of the last member called through the meta-object system (see LastError()).
  Q_PROPERTY(QVariantMap LastError READ LastError)

 public:
  /// SettingsPanel::Init(); the links control may hand back another object in `rd`.
  Q_INVOKABLE void Init(zan::SetupData*& rd);
  /// SettingsPanel::Init() for callers that cannot pass a reference (Q_ARG(QObject*, rd),
  /// Python): `rd` must be a zan::SetupData.
  Q_INVOKABLE void Init(QObject* rd);
  /// SettingsPanel::Validate(); a failure returns its number.
  Q_INVOKABLE qint32 Validate();
  /// SettingsPanel::SetValidateFocus().
  Q_INVOKABLE void SetValidateFocus();
  /// SettingsPanel::Apply().
  Q_INVOKABLE void Apply(zan::SetupData*& rd);
  /// SettingsPanel::Apply() for callers that cannot pass a reference: `rd` must be a
  /// zan::SetupData.
  Q_INVOKABLE void Apply(QObject* rd);
  /// SettingsPanel::RestoreDefaults().
  Q_INVOKABLE void RestoreDefaults();
  /// SettingsPanel::ShowAboutBox().
  Q_INVOKABLE void ShowAboutBox();
  /// The failure of the last member or property put called through the meta-object system, as
  /// "number", "source" and "description"; empty when it succeeded. Property reads leave it
  /// as it is.
  QVariantMap LastError() const;

 signals:
  /// A setting was changed: by the user, or by the panel's own code (RestoreDefaults, a later
  /// Init, a property put) once the first Init has succeeded. Never raised before.
  void Change();
  /// A failure the panel has no caller to report to: in the confidence threshold box's
  /// handlers ("Internal error: " and the description, LineNo 0), or of a member called
  /// through the meta-object system. All arguments are in/out; the panel does nothing more
  /// about the failure, whatever the handler leaves in them.
  void Error(qint32& ErrNum, QString& ErrMsg, QString& SourceFile, qint16& LineNo, bool& ReRaise,
             bool& Display);

 protected:
  /// Only the panels derive from it.
  using QWidget::QWidget;

 private:
  ZANPDFCTL4_NO_EXPORT bool metaEnabled();
  ZANPDFCTL4_NO_EXPORT void metaPutEnabled(bool bEnabled);
  ZANPDFCTL4_NO_EXPORT QString metaValidateError();
  ZANPDFCTL4_NO_EXPORT QStringList metaSubstitutedSettings();
};

/// One settings panel as a C++ host drives it: ZANPdf3 (PDF production through an Acrobat
/// Capture workgroup hub) and ZANPdf (OCR-based PDF output) both are one.
///
/// The host creates the panel, calls Init once with its setup data, lets the user edit (every
/// edit raises Change), calls Validate before accepting (reading ValidateError and calling
/// SetValidateFocus on failure), and Apply to store the settings. RestoreDefaults,
/// ShowAboutBox and Enabled may be used at any time after Init. A member that fails throws
/// zan::AutomationException: number, source (the procedure, such as "QelPDFSetup.Apply") and a
/// description meant for the user.
class ZANPDFCTL4_EXPORT SettingsPanel : public PanelSurface {
  Q_OBJECT

 public:
  ~SettingsPanel() override;

  /// Whether the user can edit the panel; kept in the settings object.
  bool Enabled() const;
  /// Enables or disables every visible control at once (ZANPdf3 keeps the controls that do not
  /// apply to the page content "Image Only" disabled). Re-applied each time the panel is shown.
  void putEnabled(bool bEnabled);

  /// Called once after creation: loads the settings stored in `rd` and shows them in every
  /// control. The document-information links control may hand back another setup data object
  /// in `rd`. Change is raised only for edits after the first successful Init. A stored choice
  /// that no list offers is replaced by the list's first entry, and a stored confidence
  /// threshold outside 0 to 100 is shown as stored (the user is told of both; see
  /// SubstitutedSettings()). Throws for a missing `rd` (error 91), and the failure of the setup
  /// data or the stored settings, with the panel still loading.
  void Init(SetupData*& rd);
  /// Init() for a pointer that is not to be replaced, such as `setup.get()`.
  void Init(SetupData* const& rd);
  /// Copies every shown value into the settings and checks them: 0 when they are legal,
  /// otherwise the number of the failed check (0x80040000 + n), with ValidateError holding its
  /// message and SetValidateFocus moving to its control. Throws for an internal error (-1,
  /// "Internal Error.") and before Init.
  qint32 Validate();
  /// The message of the last Validate; empty before the first one and after a successful one.
  QString ValidateError() const;
  /// Moves the keyboard focus to the control the last failed Validate named. Throws (-1, "No
  /// validation failure.") when there is none, and when that control cannot take the focus.
  void SetValidateFocus();
  /// Validates, then stores the settings into `rd`, all or none. Throws the validation number
  /// and message when a setting is rejected, the failure of the setup data (which then holds
  /// what it held), and before Init.
  void Apply(SetupData*& rd);
  /// Apply() for a pointer such as `setup.get()`.
  void Apply(SetupData* const& rd);
  /// Puts every setting back to its default and shows the defaults; the controls' own handlers
  /// raise Change for what they show differently. Throws before Init.
  void RestoreDefaults();
  /// Shows the library's about box (title, version 5.0.3, copyright).
  void ShowAboutBox();
  /// The settings whose stored value the last Init or RestoreDefaults could not show as a valid
  /// choice: a choice no list offers, replaced by the list's first entry, or a confidence
  /// threshold outside 0 to 100 ("ConfidenceThreshold"), shown as stored and refused by Validate
  /// until it is mended. Empty when the panel shows what is stored; otherwise the user is told
  /// and a host treats the settings as changed.
  QStringList SubstitutedSettings() const;

 protected:
  /// The panels' own constructors create their implementation and hand it over with adopt().
  explicit SettingsPanel(QWidget* parent);
  /// Takes the panel's implementation (the panels' constructors only).
  ZANPDFCTL4_NO_EXPORT void adopt(std::unique_ptr<PanelCore> core);
  /// The panel's implementation.
  ZANPDFCTL4_NO_EXPORT PanelCore& core() const;
  /// Puts Enabled again each time the container shows the panel.
  void showEvent(QShowEvent* event) override;

 private:
  friend class PanelSurface;
  std::unique_ptr<PanelCore> d;
};

}  // namespace zan
