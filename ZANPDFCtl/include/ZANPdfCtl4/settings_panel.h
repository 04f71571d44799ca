#pragma once
/// \file
/// zan::SettingsPanel: the contract both settings panels offer a host.

#include <ZANPdfCtl4/setup_data.h>
#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <memory>

class QShowEvent;

namespace zan {

class SettingsPanelPrivate;

/// What ZANPdf3 (PDF production through an Acrobat Capture workgroup hub) and ZANPdf
/// (OCR-based PDF output) have in common; a host that places either panel holds it as one.
/// Hosts create the panels themselves, never this class.
///
/// The host creates the panel, calls Init once with its setup data, lets the user edit (every
/// edit raises Change), calls Validate before accepting (reading ValidateError and calling
/// SetValidateFocus on failure), and Apply to store the settings. RestoreDefaults,
/// ShowAboutBox and Enabled may be used at any time after Init.
///
/// Two ways in, with the same names. A C++ caller of the members below receives a failure as
/// zan::AutomationException: number, source (the procedure, such as "QelPDFSetup.Apply") and a
/// description meant for the user. A caller through Qt's meta-object system
/// (QMetaObject::invokeMethod, QObject::setProperty and property(), QML, Python bindings, the
/// late-bound surface) reaches the same members and properties, and no failure ever leaves
/// them: the call returns normally, LastError describes the failure, Validate returns the
/// failure's number, and the panel raises Error (ErrNum, ErrMsg and SourceFile of the failure,
/// LineNo 0, ReRaise False, Display True).
class ZANPDFCTL4_EXPORT SettingsPanel : public QWidget {
  Q_OBJECT
  /// Whether the user can edit the panel (see Enabled()).
  Q_PRIVATE_PROPERTY(d_func(), bool Enabled READ Enabled WRITE putEnabled)
  /// The message of the last Validate (see ValidateError()).
  Q_PRIVATE_PROPERTY(d_func(), QString ValidateError READ ValidateError)
  /// The stored choices the panel shows differently (see SubstitutedSettings()).
  Q_PRIVATE_PROPERTY(d_func(), QStringList SubstitutedSettings READ SubstitutedSettings)
  /// The failure of the last member called through the meta-object system (see LastError()).
  Q_PROPERTY(QVariantMap LastError READ LastError)

 public:
  // The members as the meta-object system reaches them, public there as here (QML calls no
  // other); the setup data may also be passed as a plain object (Q_ARG(QObject*, rd), Python),
  // which must be a zan::SetupData.
  Q_PRIVATE_SLOT(d_func(), void Init(zan::SetupData*& rd))
  Q_PRIVATE_SLOT(d_func(), void Init(QObject* rd))
  Q_PRIVATE_SLOT(d_func(), qint32 Validate())
  Q_PRIVATE_SLOT(d_func(), void SetValidateFocus())
  Q_PRIVATE_SLOT(d_func(), void Apply(zan::SetupData*& rd))
  Q_PRIVATE_SLOT(d_func(), void Apply(QObject* rd))
  Q_PRIVATE_SLOT(d_func(), void RestoreDefaults())
  Q_PRIVATE_SLOT(d_func(), void ShowAboutBox())

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
  /// Only ZANPdf3 and ZANPdf derive from it; their constructors set d_ptr.
  ZANPDFCTL4_NO_EXPORT explicit SettingsPanel(QWidget* parent);
  /// Puts Enabled again each time the container shows the panel.
  void showEvent(QShowEvent* event) override;

  /// The panel's private part (ZANPdf3 has one of its own kind).
  std::unique_ptr<SettingsPanelPrivate> d_ptr;

 private:
  Q_DECLARE_PRIVATE(SettingsPanel)
};

}  // namespace zan
