// The validation rules of PdfSettings::CheckSettings, checked in the order of
// docs/settings-rules.md; the first broken rule is reported.
#include "settings/pdf_settings.h"

#include "settings/automation_error.h"
#include "settings/string_table.h"

#include <QCoreApplication>
#include <QStringList>

namespace zan {
namespace {

const QString kCheckSource = QString::fromLatin1("PdfSettings.CheckSettings");
const int kMaxFieldText = settingRow(Setting::TitleFieldText).high;

[[noreturn]] void reject(SettingsRule rule, const QString& description) {
  raiseError(kObjectErrorBase + rule, kCheckSource, description);
}

bool isBlank(const QString& s) {
  return s.trimmed().isEmpty();
}

// Why `field` is unusable, or an empty text when it is fine.
QString fieldProblem(const DocInfoField& field) {
  if (field.FieldText().size() > kMaxFieldText)
    return QCoreApplication::translate("PdfSettings",
                                       "its text is %1 characters long; at most %2 are allowed")
        .arg(field.FieldText().size())
        .arg(kMaxFieldText);
  switch (field.FieldType()) {
    case kFieldTextConstant:
      return {};
    case kFieldIndexField:
      if (isBlank(field.FieldName()))
        return QCoreApplication::translate("PdfSettings",
                                           "it links to an index field without a name");
      return {};
    case kFieldBatchField:
      if (isBlank(field.FieldName()))
        return QCoreApplication::translate("PdfSettings",
                                           "it links to a batch field without a name");
      return {};
    default:
      return QCoreApplication::translate(
                 "PdfSettings",
                 "its link type %1 is unknown (0 text, 1 index field, 2 batch field)")
          .arg(field.FieldType());
  }
}

void checkField(SettingsRule n, const char* caption, const DocInfoField& field) {
  const QString problem = fieldProblem(field);
  if (!problem.isEmpty())
    reject(n, QCoreApplication::translate("PdfSettings", "The PDF document %1 is invalid: %2.")
                  .arg(QString::fromLatin1(caption), problem));
}

QString openProblem(std::int32_t status) {
  switch (status) {
    case kHubUnreachable:
      return QCoreApplication::translate("PdfSettings", "the path cannot be reached");
    case kHubNotAHub:
      return QCoreApplication::translate(
          "PdfSettings",
          "it is no workgroup hub (a hub is a folder that holds a Workflows "
          "and a Dictionaries folder)");
    default:
      return QCoreApplication::translate("PdfSettings", "the hub answered with status %1")
          .arg(status);
  }
}

void checkThreshold(SettingsRule n, std::int16_t threshold) {
  if (!PdfSettings::thresholdAccepted(threshold))
    reject(n, QCoreApplication::translate(
                  "PdfSettings",
                  "The confidence threshold %1 is invalid. Enter a value from 0 to 100.")
                  .arg(threshold));
}

}  // namespace

QVariant PdfSettings::CheckSettings() {
  const std::optional<Engine> chosen = engine();
  if (chosen == Engine::Capture) {
    checkCaptureSettings();
  } else if (chosen == Engine::Ocr) {
    checkOcrSettings();
  } else {
    raiseClassic(
        classic::kInvalidCall, kCheckSource,
        QCoreApplication::translate("PdfSettings",
                                    "the PDF engine \"%1\" is unknown; the settings can only be "
                                    "checked for engine \"2\" (OCR) or \"3\" (Acrobat Capture).")
            .arg(PdfEngine()));
  }
  return {};
}

void PdfSettings::checkCaptureSettings() {
  static const QStringList pageContents = zan::pageContents().storedTexts();
  static const QStringList languages = captureLanguages().storedTexts();
  static const QString hubMissingEntry = StringTable::usEnglish()->text(kStrHubMissingEntry);

  if (isBlank(WorkgroupHub()))
    reject(kRuleWorkgroupHub, QCoreApplication::translate(
                                  "PdfSettings",
                                  "The workgroup hub is missing. Enter the folder of the Acrobat "
                                  "Capture workgroup hub."));
  checkCaptureHub();
  if (isBlank(WatchedFolder()))
    reject(kRuleWatchedFolder, QCoreApplication::translate(
                                   "PdfSettings",
                                   "The watched folder is missing. Enter the folder that Acrobat "
                                   "Capture watches for new documents."));
  const std::optional<HubOffer> offer = hubOffer();
  if (offer && offer->workflowsStatus != kHubOk)
    reject(kRuleWorkflowsUnavailable,
           QCoreApplication::translate(
               "PdfSettings",
               "The workflows of the workgroup hub \"%1\" could not be read (status "
               "%2), so no workflow can be chosen. Check the workgroup hub, then "
               "enter it again.")
               .arg(WorkgroupHub(), QString::number(offer->workflowsStatus)));
  if (Workflow().isEmpty())
    reject(kRuleWorkflow,
           QCoreApplication::translate("PdfSettings",
                                       "No workflow is chosen. Choose one of the workflows of the "
                                       "workgroup hub."));
  if (Workflow() == hubMissingEntry)
    reject(kRuleWorkflowsUnavailable,
           QCoreApplication::translate(
               "PdfSettings",
               "The workflow cannot be chosen because the workgroup hub is missing "
               "or invalid. Check the workgroup hub."));
  if (offer && !offer->workflows.contains(Workflow()))
    reject(kRuleWorkflow, QCoreApplication::translate(
                              "PdfSettings",
                              "The workgroup hub \"%1\" offers no workflow \"%2\". Choose one of "
                              "its workflows.")
                              .arg(WorkgroupHub(), Workflow()));
  if (offer && offer->dictionariesStatus != kHubOk)
    reject(kRuleDictionary, QCoreApplication::translate(
                                "PdfSettings",
                                "The dictionaries of the workgroup hub \"%1\" could not be read "
                                "(status %2), so no dictionary can be chosen. Check the workgroup "
                                "hub, then enter it again.")
                                .arg(WorkgroupHub(), QString::number(offer->dictionariesStatus)));
  if (Dictionary() == hubMissingEntry)
    reject(kRuleDictionary, QCoreApplication::translate(
                                "PdfSettings",
                                "The dictionary cannot be chosen because the workgroup hub is "
                                "missing or invalid. Check the workgroup hub."));
  if (offer && !Dictionary().isEmpty() && !offer->dictionaries.contains(Dictionary()))
    reject(kRuleDictionary, QCoreApplication::translate(
                                "PdfSettings",
                                "The workgroup hub \"%1\" offers no dictionary \"%2\". Choose one "
                                "of its dictionaries.")
                                .arg(WorkgroupHub(), Dictionary()));
  if (!pageContents.contains(PageContent()))
    reject(kRulePageContent,
           QCoreApplication::translate("PdfSettings",
                                       "The page content \"%1\" is invalid. Choose one of: %2.")
               .arg(PageContent(), pageContents.join(QString::fromLatin1(", "))));
  if (PageContent() == QLatin1String(kImageOnlyPageContent) &&
      Workflow() != QLatin1String(kImageOnlyWorkflow))
    reject(kRuleImageOnlyWorkflow,
           QCoreApplication::translate(
               "PdfSettings",
               "The page content \"Image Only\" needs the workflow \"PDF Image "
               "Only\"; the workflow \"%1\" is chosen.")
               .arg(Workflow()));
  if (!languages.contains(CaptureLanguage()))
    reject(kRuleCaptureLanguage,
           QCoreApplication::translate("PdfSettings",
                                       "The language \"%1\" is invalid. Choose one of the listed "
                                       "languages.")
               .arg(CaptureLanguage()));
  checkThreshold(kRuleCaptureThreshold, ConfidenceThreshold());
  checkField(kRuleCaptureTitle, "Title", TitleField());
  checkField(kRuleCaptureSubject, "Subject", SubjectField());
  checkField(kRuleCaptureAuthor, "Author", AuthorField());
  checkField(kRuleCaptureKeywords, "Keywords", KeywordsField());
}

// The hub must be the one the panel searched last, and that search must have opened it.
void PdfSettings::checkCaptureHub() {
  const std::optional<HubOffer> offer = hubOffer();
  if (!offer) return;
  const QString hub = WorkgroupHub();
  if (offer->path != hub && offer->path != hubPathAsOpened(hub))
    reject(kRuleWorkgroupHub,
           QCoreApplication::translate(
               "PdfSettings",
               "The workgroup hub \"%1\" has not been opened, so its workflows and "
               "dictionaries are unknown. Enter the workgroup hub again.")
               .arg(hub));
  if (offer->openStatus != kHubOk)
    reject(kRuleWorkgroupHub,
           QCoreApplication::translate(
               "PdfSettings",
               "The workgroup hub \"%1\" cannot be opened: %2. Enter the folder of "
               "an Acrobat Capture workgroup hub.")
               .arg(hub, openProblem(offer->openStatus)));
}

void PdfSettings::checkOcrSettings() {
  const std::int32_t format = OutputFormatType();
  if (!outputFormats().byCode(format))
    reject(kRuleOutputFormatType,
           QCoreApplication::translate(
               "PdfSettings",
               "The output format type %1 is invalid. Choose one of the listed "
               "output formats.")
               .arg(format));
  const std::int32_t language = OcrLanguage();
  if (!ocrLanguages().byCode(language))
    reject(kRuleOcrLanguage,
           QCoreApplication::translate(
               "PdfSettings", "The language %1 is invalid. Choose one of the listed languages.")
               .arg(language));
  const std::int32_t accuracy = Accuracy();
  if (!accuracies().byCode(accuracy))
    reject(kRuleAccuracy, QCoreApplication::translate(
                              "PdfSettings",
                              "The accuracy %1 is invalid. Choose one of the listed accuracy "
                              "levels.")
                              .arg(accuracy));
  checkThreshold(kRuleOcrThreshold, ConfidenceThreshold());
  checkField(kRuleOcrTitle, "Title", TitleField());
  checkField(kRuleOcrSubject, "Subject", SubjectField());
  checkField(kRuleOcrAuthor, "Author", AuthorField());
  checkField(kRuleOcrKeywords, "Keywords", KeywordsField());
  if (!Rotate0() && !Rotate90() && !Rotate180() && !Rotate270())
    reject(kRuleOrientation, QCoreApplication::translate(
                                 "PdfSettings",
                                 "No page orientation is chosen. Choose at least one orientation "
                                 "to try."));
}

}  // namespace zan
