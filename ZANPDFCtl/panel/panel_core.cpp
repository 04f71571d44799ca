#include "panel/panel_core.h"

#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/numeric_text.h"
#include "controls/simple_controls.h"
#include "controls/text_box.h"
#include "external/about_box.h"
#include "external/links_control.h"
#include "panel/confidence_threshold_entry.h"
#include "settings/setup_data.h"
#include "settings/string_table.h"
#include "settings/version.h"

#include <QGroupBox>
#include <QHash>

namespace zan {
namespace {

PanelEnvironment required(PanelEnvironment env) {
  env.require();
  return env;
}

using Field = DocInfoField& (PdfSettings::*)();

}  // namespace

PanelCore::PanelCore(SettingsPanel& panel, PanelEnvironment env, const char* className,
                     Engine engine)
    : panel_(panel),
      env_(required(std::move(env))),
      engine_(engine),
      settings_(env_.createSettings()),
      textError_(env_.platform),
      form_(&panel) {
  panel_.setObjectName(QString::fromLatin1(className));
  form_.setFailurePolicy([this](const AutomationError& error) { reportFailure(error); });
}

PanelCore::~PanelCore() = default;

QString PanelCore::text(int stringId) const {
  return env_.strings->text(stringId);
}

controls::Control* PanelCore::ruleControl(
    std::int32_t number, std::initializer_list<std::pair<SettingsRule, controls::Control*>> table) {
  for (const auto& [rule, control] : table)
    if (number == kObjectErrorBase + rule) return control;
  return nullptr;
}

void PanelCore::notifyChange() {
  if (!loading_) emit panel_.Change();
}

void PanelCore::raiseErrorEvent(ErrorEventArgs& args) {
  try {
    emit panel_.Error(args.ErrNum, args.ErrMsg, args.SourceFile, args.LineNo, args.ReRaise,
                      args.Display);
  } catch (...) {
    // The event is the end of the road: a host handler's failure is not the panel's to report.
  }
}

void PanelCore::reportFailure(const AutomationError& error) {
  textError_.log(error);
}

void PanelCore::shown() {
  form_.dispatch([this] { setEnabled(enabled()); });
}

bool PanelCore::enabled() const {
  return settings().Enabled();
}

void PanelCore::setEnabled(bool bEnabled) {
  applyEnabled(bEnabled);
  if (bEnabled) settings().setEngine(engine_);
  settings().setEnabled(bEnabled);
}

void PanelCore::applyEnabled(bool bEnabled) {
  // Each control on its own: a control that refuses one step is passed over.
  QString keptTag;
  try {
    keptTag = keptDisabledTag();
  } catch (...) {
  }
  for (const auto& control : form_.controls()) {
    try {
      if (control->visible()) control->setEnabled(bEnabled);
    } catch (...) {
    }
    try {
      if (!keptTag.isEmpty() && control->tag() == keptTag) control->setEnabled(false);
    } catch (...) {
    }
    try {
      if (control->hasCaption()) control->setCaption(control->caption());
    } catch (...) {
    }
  }
}

void PanelCore::init(SetupData*& rd) {
  StepLabel at;
  try {
    at = 15;
    PDFHeaderLinks->setOfferSetupLinks(true);
    at = 20;
    beforeLoad();
    SetupPart& partOne = requireSetupData(rd).SetupPartOne();
    SetupPart& partTwo = requireSetupData(rd).SetupPartTwo();
    settings().Load(partOne, partTwo, QVariant());
    at = 25;
    refresh();
    followEnabledRule();
    at = 30;
    PDFHeaderLinks->SetSetupData(rd);
    at = 35;
    PDFHeaderLinks->setInitializing(false);
    at = 40;
    PDFHeaderLinks->setModified(false);
    PDFHeaderLinks->Redraw();
    loading_ = false;
  } catch (...) {
    raiseError(initFailure(currentError(), at));
  }
}

qint32 PanelCore::validate() {
  requireInitDone(!loading_, "Validate");
  try {
    storeShownValues();
    storeDocumentRows();
    settings().CheckSettings();
  } catch (...) {
    const AutomationError failure = currentError();
    validateError_ = failure.description;
    focusControl_ = controlForRule(failure.number);
    if (focusControl_) return failure.number;
    raiseError(-1, QStringLiteral("QelPDFSetup.Validate"), text(kStrInternalError));
  }
  focusControl_ = nullptr;
  validateError_.clear();
  return 0;
}

void PanelCore::setValidateFocus() {
  if (!focusControl_)
    raiseError(-1, QStringLiteral("QelPDFSetup.SetValidateFocus"), text(kStrNoValidationFailure));
  focusControl_->setFocus();
}

void PanelCore::apply(SetupData*& rd) {
  requireInitDone(!loading_, "Apply");
  const qint32 result = validate();
  if (result != 0) raiseError(result, QStringLiteral("QelPDFSetup.Apply"), validateError_);
  SetupPart& partOne = requireSetupData(rd).SetupPartOne();
  SetupPart& partTwo = requireSetupData(rd).SetupPartTwo();
  settings().Save(partOne, partTwo);
}

void PanelCore::restoreDefaults() {
  requireInitDone(!loading_, "RestoreDefaults");
  settings().RestoreDefaults();
  refresh();
  followEnabledRule();
}

// The handlers re-apply Enabled only when the page content differs from the stored one; after
// a reload the two are equal, so the rule for what is shown is applied here. The stored state
// is not written again.
void PanelCore::followEnabledRule() {
  applyEnabled(enabled());
}

void PanelCore::showAboutBox() {
  env_.aboutBox().AboutBox(picABoutBoxIcon->picture(), env_.platform->applicationTitle(),
                           QString::number(kVersionMajor), QString::number(kVersionMinor),
                           QString::number(kVersionRevision), QString::fromLatin1(kCopyrightLine));
}

// ---- Captions, lists and handlers

void PanelCore::setCaptions(std::initializer_list<std::pair<controls::Control*, int>> captions) {
  for (const auto& [control, id] : captions) control->setCaption(text(id));
}

namespace {

// A caption as a screen reader speaks it: no access-key marks ("&&" stands for "&"), no colon.
QString spokenText(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    // "&x" is x with its access key; "&&" is "&".
    if (caption[i] == u'&' && ++i == caption.size()) break;
    out += caption[i];
  }
  if (out.contains(u'\n') || out.startsWith(u' ') || out.endsWith(u' ') || out.contains(u"  "))
    out = out.simplified();
  if (out.endsWith(u':')) out.chop(1);
  return out == caption ? caption : out;  // an unchanged caption shares its text
}

// The same, each spoken text made once: every panel of the process shares it, as the captions
// it comes from are shared through the string table. (Widgets live in the GUI thread alone.)
QString spoken(const QString& caption) {
  static QHash<QString, QString> made;
  auto found = made.constFind(caption);
  if (found == made.constEnd()) found = made.insert(caption, spokenText(caption));
  return *found;
}

void describe(QWidget* w, const QString& name, const QString& tip) {
  for (; w; w = w->focusProxy()) {
    w->setAccessibleName(name);
    if (!tip.isEmpty()) {
      w->setToolTip(tip);
      w->setAccessibleDescription(tip);
    }
    if (w->focusProxy() == w) break;
  }
}

}  // namespace

void PanelCore::describeControls(std::initializer_list<Description> descriptions) {
  // The panels caption the document-information frame differently; it is named alike.
  if (!framesDescribed_) {
    framesDescribed_ = true;
    for (const auto& control : form_.controls())
      if (dynamic_cast<controls::Frame*>(control.get()))
        describe(control->widget(),
                 control.get() == fraPDFHeaderlinks ? text(kStrDocumentInformationName)
                                                    : spoken(control->caption()),
                 {});
  }
  for (const auto& [control, tipId, nameId] : descriptions) {
    QWidget* w = control->widget();
    QString name;
    if (nameId) {
      name = text(nameId);
    } else if (control->hasCaption()) {
      name = control->caption();
    } else if (auto* frame = qobject_cast<QGroupBox*>(w->parentWidget())) {
      name = frame->title();
    }
    describe(w, spoken(name), text(tipId));
  }
}

void PanelCore::describeCommonControls() {
  describeControls(
      {{headerLinksControl_, kStrTipDocumentInformation, kStrDocumentInformationName},
       {txtConfidenceThreshold, kStrTipConfidenceThreshold, kStrConfidenceThresholdName},
       {chkLowOcrConfidence, kStrTipLowOcrConfidence},
       {chkWordNotInDictionary, kStrTipWordNotInDictionary},
       {chkLowFontConfidence, kStrTipLowFontConfidence},
       {cmdRestoreDefaults, kStrTipRestoreDefaults}});
}

void PanelCore::fillList(controls::ComboBox* list, Choices choices) {
  // Settings hold the US English text of an entry whatever language the table shows.
  const auto english = StringTable::usEnglish();
  QStringList texts;
  texts.reserve(choices.count);
  for (const Choice& c : choices) texts << text(c.shown);
  const int first = list->listCount();
  list->addItems(texts);
  int i = 0;
  for (const Choice& c : choices) {
    list->setItemData(first + i, c.code);
    // An entry without a value stores its text: only a translated one needs its English value.
    const QString value = english->text(c.shown);
    if (value != texts[i]) list->setItemValue(first + i, value);
    ++i;
  }
}

void PanelCore::attachCommonHandlers(std::initializer_list<controls::CheckBox*> checkBoxes,
                                     bool thresholdArrowKeys) {
  for (controls::CheckBox* box : checkBoxes) box->onClick = [this] { notifyChange(); };
  // The links control is no classic control: its row edits come in through the form's
  // dispatch, and none is reported once the controls are released.
  headerLinksControl_->listen(PDFHeaderLinks, &ZANLinks::rowEdited,
                              [this] { form_.dispatch([this] { notifyChange(); }); });
  cmdRestoreDefaults->onClick = [this] {
    if (env_.confirmRestoreDefaults && !env_.confirmRestoreDefaults(&panel_)) return;
    panel_.RestoreDefaults();
  };
  confidenceEntry_ = std::make_unique<ConfidenceThresholdEntry>(
      *txtConfidenceThreshold, ConfidenceThresholdEntry::Options{thresholdArrowKeys},
      [this] { notifyChange(); }, [this](ErrorEventArgs& args) { raiseErrorEvent(args); });
}

// ---- Loading and validation

void PanelCore::showFlags(std::initializer_list<std::pair<controls::CheckBox*, Flag>> flags) {
  for (const auto& [box, flag] : flags) box->setValue((settings().*flag)() ? 1 : 0);
}

void PanelCore::storeFlags(std::initializer_list<std::pair<controls::CheckBox*, SetFlag>> flags) {
  // A grayed box (value 2) counts as checked.
  for (const auto& [box, setFlag] : flags) (settings().*setFlag)(box->value() != 0);
}

// A stored threshold that no rule accepts is shown as stored, and the user told: Validate
// refuses it until it is mended.
void PanelCore::showThreshold(const QString& source, int line) {
  const std::int16_t stored = settings().ConfidenceThreshold();
  txtConfidenceThreshold->setText(QString::number(stored));
  if (PdfSettings::thresholdAccepted(stored)) return;
  substitutedSettings_ << settingRow(Setting::ConfidenceThreshold).keyText();
  textError_.log({-1, source, text(kStrThresholdOutOfRange).arg(stored), {}, 0},
                 static_cast<std::int16_t>(line));
}

void PanelCore::storeThreshold() {
  settings().setConfidenceThreshold(toInteger16(txtConfidenceThreshold->text()));
}

// Rows 0 Title, 1 Subject, 2 Author, 3 Keywords, each with its caption.
void PanelCore::showDocumentRows() {
  PDFHeaderLinks->ClearLinks();
  const std::pair<Field, int> rows[] = {{&PdfSettings::TitleField, kStrTitle},
                                        {&PdfSettings::SubjectField, kStrSubject},
                                        {&PdfSettings::AuthorField, kStrAuthor},
                                        {&PdfSettings::KeywordsField, kStrKeywords}};
  for (const auto& [field, captionId] : rows) {
    const DocInfoField& stored = (settings().*field)();
    PDFHeaderLinks->AddLink(stored.FieldName(), stored.FieldType(), stored.FieldText(),
                            text(captionId));
  }
}

// Each row as loading added it, in the order Author, Title, Subject, Keywords.
void PanelCore::storeDocumentRows() {
  const std::pair<Field, std::int16_t> rows[] = {{&PdfSettings::AuthorField, 2},
                                                 {&PdfSettings::TitleField, 0},
                                                 {&PdfSettings::SubjectField, 1},
                                                 {&PdfSettings::KeywordsField, 3}};
  for (const auto& [field, row] : rows) {
    const DocInfoField shown = PDFHeaderLinks->Link(row);
    DocInfoField& stored = (settings().*field)();
    stored.setFieldType(shown.FieldType());
    stored.setFieldName(shown.FieldName());
    stored.setFieldText(shown.FieldText());
  }
}

}  // namespace zan
