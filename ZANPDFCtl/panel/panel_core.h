#pragma once
// PanelCore: the implementation behind zan::SettingsPanel that both panels share. It owns the
// panel's outside world, settings object, logger and controls, runs the contract's members
// (Enabled, Init, Validate, Apply, RestoreDefaults, ShowAboutBox) and raises Change and
// Error. Each panel derives from it and adds its own controls, loading (refresh()), the values
// Validate copies and the control each settings rule names.

#include "automation/meta_call.h"
#include "controls/control.h"
#include "external/panel_environment.h"
#include "external/text_error.h"
#include "settings/automation_error.h"
#include "settings/pdf_settings.h"
#include "settings/string_table.h"

#include <ZANPdfCtl4/settings_panel.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace zan {

class ConfidenceThresholdEntry;
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

class PanelCore {
 public:
  // `engine` is the code the panel gives the settings object ("3" or "2"); `className` its
  // object name.
  PanelCore(SettingsPanel& panel, PanelEnvironment env, const char* className, Engine engine);
  virtual ~PanelCore();
  PanelCore(const PanelCore&) = delete;
  PanelCore& operator=(const PanelCore&) = delete;

  bool enabled() const;
  void setEnabled(bool bEnabled);
  void init(SetupData*& rd);
  qint32 validate();
  QString validateError() const { return validateError_; }
  void setValidateFocus();
  void apply(SetupData*& rd);
  void restoreDefaults();
  void showAboutBox();
  QStringList substitutedSettings() const { return substitutedSettings_; }
  // Each time the container shows the panel.
  void shown();

 protected:
  // Shows what the settings object holds in every control.
  virtual void refresh() = 0;
  // Copies the values Validate stores before the document-information rows.
  virtual void storeShownValues() = 0;
  // The control a rejected setting numbered `number` names; none for another number.
  virtual controls::Control* controlForRule(std::int32_t number) const = 0;
  // The tag of the controls that stay disabled whatever Enabled is; empty for none.
  virtual QString keptDisabledTag() const { return {}; }
  // Init: what runs before the stored settings are loaded, and the failure Init raises again
  // when step `label` failed with `caught`.
  virtual void beforeLoad() {}
  virtual AutomationError initFailure(const AutomationError& caught, int /*label*/) const {
    return caught;
  }

  // The control that `table` names for the rule a failure numbered `number` reports; none for
  // any other number.
  static controls::Control* ruleControl(
      std::int32_t number,
      std::initializer_list<std::pair<SettingsRule, controls::Control*>> table);

  // Raises Change unless the panel is loading.
  void notifyChange();
  // Enables or disables the controls as Enabled `bEnabled` and the page-content rule ask.
  void applyEnabled(bool bEnabled);
  // Applies the stored Enabled again, so that the controls follow it and the page-content rule.
  void followEnabledRule();
  // Raises the panel's Error event; a failing host handler is not the panel's to report.
  void raiseErrorEvent(ErrorEventArgs& args);
  QString text(int stringId) const;
  PdfSettings& settings() const { return *settings_; }
  TextError& textError() { return textError_; }
  // The failure policy of user actions: the failure is shown through the logger.
  void reportFailure(const AutomationError& error);

  // Layout: a control named `name` (a u"..." literal, whose characters the name uses in place)
  // on `parent`, at a position and size in twips.
  using Name = const char16_t*;
  static QString nameOf(Name name) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(name),
                                static_cast<qsizetype>(std::char_traits<char16_t>::length(name)));
  }
  struct Twips {
    int left, top, width, height;
  };
  controls::Frame* frame(Name name, QWidget* parent, Twips at, const char* caption,
                         const QString& tag = {});
  controls::ComboBox* comboBox(Name name, QWidget* parent, Twips at, const QString& tag = {});
  controls::CheckBox* checkBox(Name name, QWidget* parent, Twips at, const char* caption,
                               const QString& tag = {});
  controls::TextBox* textBox(Name name, QWidget* parent, Twips at, const QString& tag = {});
  controls::CommandButton* button(Name name, QWidget* parent, Twips at, const char* caption);
  // Any control: added to the form, placed, tagged.
  template <class Control>
  Control* place(Name name, QWidget* parent, Twips at, const QString& tag = {}) {
    auto* c = form_.add<Control>(nameOf(name), parent);
    c->setGeometryTwips(at.left, at.top, at.width, at.height);
    c->setTag(tag);
    return c;
  }
  // The hidden holder of the about-box picture.
  void addAboutBoxIcon(QWidget* parent);
  // The confidence threshold box ("95", at most 3 typed characters), its spin control (0 to
  // 100, showing `spinValue`) and its unit label.
  void addThresholdEntry(QWidget* parent, Twips box, Twips spin, Twips unit, int spinValue,
                         const QString& tag = {});
  // The document-information links control in `frame`, with the column widths in twips.
  void addLinks(controls::Frame* frame, int captionWidth, int textWidth, Twips at,
                const QString& tag = {});
  static void setTabOrder(std::initializer_list<QWidget*> order);

  // Captions and lists from the string table.
  void setCaptions(std::initializer_list<std::pair<controls::Control*, int>> captions);
  // Names for screen readers and tooltips: each control is named by text `nameId`, or else by
  // its caption, or else by its frame's caption (access-key marks removed), and gets text
  // `tipId` as its tooltip. Every frame is named by its own caption.
  struct Description {
    controls::Control* control;
    int tipId;
    int nameId = 0;
  };
  void describeControls(std::initializer_list<Description> descriptions);
  // The controls both panels describe alike.
  void describeCommonControls();

  // Appends the texts `firstText`, `firstText` + 1, ..., one per code, each with its code as
  // the entry's item data.
  void fillList(controls::ComboBox* list, Choices choices);

  // Handlers both panels attach: each check box raises Change, an edited document row raises
  // Change, Restore Defaults calls the public RestoreDefaults, and the threshold box's entry.
  void attachCommonHandlers(std::initializer_list<controls::CheckBox*> checkBoxes,
                            bool thresholdArrowKeys);

  // Loading and validation of the check boxes, the threshold and the document rows.
  using Flag = bool (PdfSettings::*)() const;
  using SetFlag = void (PdfSettings::*)(bool);
  void showFlags(std::initializer_list<std::pair<controls::CheckBox*, Flag>> flags);
  void storeFlags(std::initializer_list<std::pair<controls::CheckBox*, SetFlag>> flags);
  // `source` and `line` name the loading step when a stored threshold is reported.
  void showThreshold(const QString& source, int line);
  void storeThreshold();
  void showDocumentRows();
  void storeDocumentRows();

  SettingsPanel& panel_;
  PanelEnvironment env_;
  const Engine engine_;
  std::unique_ptr<PdfSettings> settings_;
  TextError textError_;
  bool loading_ = true;
  QString validateError_;
  controls::Control* focusControl_ = nullptr;
  QStringList substitutedSettings_;
  bool framesDescribed_ = false;  // every frame is named by the first describeControls()

  // Destroyed before the widgets (Qt children of the panel), so that no handler runs on a
  // half-destroyed panel.
  controls::Form form_;
  std::unique_ptr<ConfidenceThresholdEntry> confidenceEntry_;

  // The controls both panels have.
  controls::PictureBox* picABoutBoxIcon = nullptr;
  controls::Frame* fraPDFSettings = nullptr;
  controls::Frame* fraPDFHeaderlinks = nullptr;
  ZANLinks* PDFHeaderLinks = nullptr;
  controls::Control* headerLinksControl_ = nullptr;  // PDFHeaderLinks in the control order
  controls::Frame* fraSuspectRegions = nullptr;
  controls::CheckBox* chkLowOcrConfidence = nullptr;
  controls::CheckBox* chkWordNotInDictionary = nullptr;
  controls::CheckBox* chkLowFontConfidence = nullptr;
  controls::TextBox* txtConfidenceThreshold = nullptr;
  controls::SpinControl* spnConfidenceThreshold = nullptr;
  controls::Label* lblConfidenceThresholdUnit = nullptr;
  controls::CommandButton* cmdRestoreDefaults = nullptr;
};

}  // namespace zan
