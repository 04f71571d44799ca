// The validation rules of PdfSettings::CheckSettings, checked in the order of
// docs/settings-rules.md; the first broken rule is reported.
#include "external/pdf_settings.h"

#include "common/automation_error.h"

#include <QStringList>

namespace zan {
namespace {

const QString kCheckSource = QStringLiteral("PdfSettings.CheckSettings");
constexpr int kMaxFieldText = 254;
const QString kHubMissingEntry = QStringLiteral("<Workgroup hub missing or invalid>");

[[noreturn]] void reject(int n, const QString& description) {
  raiseError(kObjectErrorBase + n, kCheckSource, description);
}

bool isBlank(const QString& s) {
  return s.trimmed().isEmpty();
}

// Why `field` is unusable, or an empty text when it is fine.
QString fieldProblem(const DocInfoField& field) {
  if (field.FieldText().size() > kMaxFieldText)
    return QStringLiteral("its text is %1 characters long; at most %2 are allowed")
        .arg(field.FieldText().size())
        .arg(kMaxFieldText);
  switch (field.FieldType()) {
    case kFieldTextConstant:
      return {};
    case kFieldIndexField:
      if (isBlank(field.FieldName()))
        return QStringLiteral("it links to an index field without a name");
      return {};
    case kFieldBatchField:
      if (isBlank(field.FieldName()))
        return QStringLiteral("it links to a batch field without a name");
      return {};
    default:
      return QStringLiteral("its link type %1 is unknown (0 text, 1 index field, 2 batch field)")
          .arg(field.FieldType());
  }
}

void checkField(int n, const char* caption, const DocInfoField& field) {
  const QString problem = fieldProblem(field);
  if (!problem.isEmpty())
    reject(n, QStringLiteral("The PDF document %1 is invalid: %2.")
                  .arg(QString::fromLatin1(caption), problem));
}

// The path without leading and trailing blanks, as a typed hub path is opened.
QString withoutBlanks(const QString& path) {
  qsizetype first = 0, last = path.size();
  while (first < last && path[first] == QLatin1Char(' ')) ++first;
  while (last > first && path[last - 1] == QLatin1Char(' ')) --last;
  return path.mid(first, last - first);
}

QString openProblem(std::int32_t status) {
  switch (status) {
    case kHubUnreachable:
      return QStringLiteral("the path cannot be reached");
    case kHubNotAHub:
      return QStringLiteral(
          "it is no workgroup hub (a hub is a folder that holds a Workflows "
          "and a Dictionaries folder)");
    default:
      return QStringLiteral("the hub answered with status %1").arg(status);
  }
}

void checkThreshold(int n, std::int16_t threshold) {
  if (threshold < 0 || threshold > 100)
    reject(n, QStringLiteral("The confidence threshold %1 is invalid. Enter a value from 0 to 100.")
                  .arg(threshold));
}

}  // namespace

QVariant PdfSettings::CheckSettings() {
  const QString engine = PdfEngine();
  if (engine == QLatin1String("3")) {
    checkCaptureSettings();
  } else if (engine == QLatin1String("2")) {
    checkOcrSettings();
  } else {
    raiseError(5, kCheckSource,
               QStringLiteral("The PDF engine \"%1\" is unknown; the settings can only be checked "
                              "for engine \"2\" (OCR) or \"3\" (Acrobat Capture).")
                   .arg(engine));
  }
  return {};
}

void PdfSettings::checkCaptureSettings() {
  static const QStringList pageContents = {
      QStringLiteral("Formatted Text & Graphics"), QStringLiteral("Searchable Image (Compact)"),
      QStringLiteral("Searchable Image (Exact)"), QStringLiteral("Image Only")};
  static const QStringList languages = {QStringLiteral("Brazilian Portuguese"),
                                        QStringLiteral("Catalan"),
                                        QStringLiteral("Danish"),
                                        QStringLiteral("English (US)"),
                                        QStringLiteral("English (UK)"),
                                        QStringLiteral("Dutch"),
                                        QStringLiteral("French"),
                                        QStringLiteral("German"),
                                        QStringLiteral("Italian"),
                                        QStringLiteral("Spanish"),
                                        QStringLiteral("Swedish"),
                                        QStringLiteral("Finnish"),
                                        QStringLiteral("Norwegian"),
                                        QStringLiteral("Nynorsk"),
                                        QStringLiteral("Portuguese"),
                                        QStringLiteral("Swiss German")};

  if (isBlank(WorkgroupHub()))
    reject(536, QStringLiteral("The workgroup hub is missing. Enter the folder of the Acrobat "
                               "Capture workgroup hub."));
  checkCaptureHub();
  if (isBlank(WatchedFolder()))
    reject(537, QStringLiteral("The watched folder is missing. Enter the folder that Acrobat "
                               "Capture watches for new documents."));
  const std::optional<HubOffer> offer = hubOffer();
  if (offer && offer->workflowsStatus != kHubOk)
    reject(541,
           QStringLiteral("The workflows of the workgroup hub \"%1\" could not be read (status "
                          "%2), so no workflow can be chosen. Check the workgroup hub, then "
                          "enter it again.")
               .arg(WorkgroupHub(), QString::number(offer->workflowsStatus)));
  if (Workflow().isEmpty())
    reject(540, QStringLiteral("No workflow is chosen. Choose one of the workflows of the "
                               "workgroup hub."));
  if (Workflow() == kHubMissingEntry)
    reject(541, QStringLiteral("The workflow cannot be chosen because the workgroup hub is missing "
                               "or invalid. Check the workgroup hub."));
  if (offer && !offer->workflows.contains(Workflow()))
    reject(540, QStringLiteral("The workgroup hub \"%1\" offers no workflow \"%2\". Choose one of "
                               "its workflows.")
                    .arg(WorkgroupHub(), Workflow()));
  if (offer && offer->dictionariesStatus != kHubOk)
    reject(526, QStringLiteral("The dictionaries of the workgroup hub \"%1\" could not be read "
                               "(status %2), so no dictionary can be chosen. Check the workgroup "
                               "hub, then enter it again.")
                    .arg(WorkgroupHub(), QString::number(offer->dictionariesStatus)));
  if (Dictionary() == kHubMissingEntry)
    reject(526, QStringLiteral("The dictionary cannot be chosen because the workgroup hub is "
                               "missing or invalid. Check the workgroup hub."));
  if (offer && !Dictionary().isEmpty() && !offer->dictionaries.contains(Dictionary()))
    reject(526, QStringLiteral("The workgroup hub \"%1\" offers no dictionary \"%2\". Choose one "
                               "of its dictionaries.")
                    .arg(WorkgroupHub(), Dictionary()));
  if (!pageContents.contains(PageContent()))
    reject(525, QStringLiteral("The page content \"%1\" is invalid. Choose one of: %2.")
                    .arg(PageContent(), pageContents.join(QStringLiteral(", "))));
  if (PageContent() == QLatin1String("Image Only") && Workflow() != QLatin1String("PDF Image Only"))
    reject(542, QStringLiteral("The page content \"Image Only\" needs the workflow \"PDF Image "
                               "Only\"; the workflow \"%1\" is chosen.")
                    .arg(Workflow()));
  if (!languages.contains(CaptureLanguage()))
    reject(513, QStringLiteral("The language \"%1\" is invalid. Choose one of the listed "
                               "languages.")
                    .arg(CaptureLanguage()));
  checkThreshold(515, ConfidenceThreshold());
  checkField(516, "Title", TitleField());
  checkField(517, "Subject", SubjectField());
  checkField(518, "Author", AuthorField());
  checkField(519, "Keywords", KeywordsField());
}

// The hub must be the one the panel searched last, and that search must have opened it.
void PdfSettings::checkCaptureHub() {
  const std::optional<HubOffer> offer = hubOffer();
  if (!offer) return;
  const QString hub = WorkgroupHub();
  if (offer->path != hub && offer->path != withoutBlanks(hub))
    reject(536, QStringLiteral("The workgroup hub \"%1\" has not been opened, so its workflows and "
                               "dictionaries are unknown. Enter the workgroup hub again.")
                    .arg(hub));
  if (offer->openStatus != kHubOk)
    reject(536, QStringLiteral("The workgroup hub \"%1\" cannot be opened: %2. Enter the folder of "
                               "an Acrobat Capture workgroup hub.")
                    .arg(hub, openProblem(offer->openStatus)));
}

void PdfSettings::checkOcrSettings() {
  const std::int32_t format = OutputFormatType();
  if (format < 1 || format > 3)
    reject(0x200, QStringLiteral("The output format type %1 is invalid. Choose one of the listed "
                                 "output formats.")
                      .arg(format));
  const std::int32_t language = OcrLanguage();
  if (language < 1 || language > 8)
    reject(0x201, QStringLiteral("The language %1 is invalid. Choose one of the listed languages.")
                      .arg(language));
  const std::int32_t accuracy = Accuracy();
  if (accuracy != 1 && accuracy != 2 && accuracy != 4 && accuracy != 8 && accuracy != 16)
    reject(0x202, QStringLiteral("The accuracy %1 is invalid. Choose one of the listed accuracy "
                                 "levels.")
                      .arg(accuracy));
  checkThreshold(0x203, ConfidenceThreshold());
  checkField(0x204, "Title", TitleField());
  checkField(0x205, "Subject", SubjectField());
  checkField(0x206, "Author", AuthorField());
  checkField(0x207, "Keywords", KeywordsField());
  if (!Rotate0() && !Rotate90() && !Rotate180() && !Rotate270())
    reject(0x20C, QStringLiteral("No page orientation is chosen. Choose at least one orientation "
                                 "to try."));
}

}  // namespace zan
