#include "settings/string_table.h"

#include "settings/automation_error.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace zan {
namespace {

QHash<int, QString> usEnglishTexts() {
  return {
      // Shared by both panels; 2700-2737 are the OCR panel's own range.
      {kStrPdfSettings, QStringLiteral("PDF Settings")},
      {kStrOutputFormatTypeCaption, QStringLiteral("O&utput Format Type")},
      {kStrLanguageCaption, QStringLiteral("&Language")},
      {kStrAccuracyCaption, QStringLiteral("Accurac&y")},
      {kStrConfidenceThresholdCaption, QStringLiteral("&Confidence Threshold")},
      {kStrPercent, QStringLiteral("%")},
      {kStrPdfHeaderLinksCaption, QStringLiteral("&PDF Header Links")},
      {kStrAuthor, QStringLiteral("Author")},
      {kStrTitle, QStringLiteral("Title")},
      {kStrSubject, QStringLiteral("Subject")},
      {kStrKeywords, QStringLiteral("Keywords")},
      {kStrSuspectRegions, QStringLiteral("Suspect Regions")},
      {kStrLowOcrConfidence, QStringLiteral("Low &OCR confidence")},
      {kStrWordNotInDictionary, QStringLiteral("&Word not in dictionary")},
      {kStrMixedCase, QStringLiteral("&Mixed case")},
      {kStrLowFontConfidence, QStringLiteral("Low fon&t confidence")},
      {kStrOrientation, QStringLiteral("Orientation")},
      {kStrRotate0, QStringLiteral("Rotate &0")},
      {kStrRotate90, QStringLiteral("Rotate &90")},
      {kStrRotate180, QStringLiteral("Rotate &180")},
      {kStrRotate270, QStringLiteral("Rotate &270")},
      {kStrNormalPdf, QStringLiteral("Normal PDF")},
      {kStrImageOnlyPdf, QStringLiteral("Image Only PDF")},
      {kStrImageAndHiddenTextPdf, QStringLiteral("Image and Hidden Text PDF")},
      {kStrOcrEnglishUs, QStringLiteral("English - United States")},
      {kStrOcrEnglishUk, QStringLiteral("English - United Kingdom")},
      {kStrOcrDutch, QStringLiteral("Dutch")},
      {kStrOcrFrench, QStringLiteral("French")},
      {kStrOcrGerman, QStringLiteral("German")},
      {kStrOcrItalian, QStringLiteral("Italian")},
      {kStrOcrSpanish, QStringLiteral("Spanish")},
      {kStrOcrSwedish, QStringLiteral("Swedish")},
      {kStrFastest, QStringLiteral("Fastest")},
      {kStrFast, QStringLiteral("Fast")},
      {kStrNormal, QStringLiteral("Normal")},
      {kStrAccurate, QStringLiteral("Accurate")},
      {kStrMostAccurate, QStringLiteral("Most Accurate")},
      {kStrRestoreDefaults, QStringLiteral("&Restore Defaults")},
      // Acrobat Capture panel: page content.
      {kStrFormattedTextAndGraphics, QStringLiteral("Formatted Text & Graphics")},
      {kStrSearchableImageCompact, QStringLiteral("Searchable Image (Compact)")},
      {kStrSearchableImageExact, QStringLiteral("Searchable Image (Exact)")},
      {kStrImageOnly, QStringLiteral("Image Only")},
      // Acrobat Capture panel: captions, dialog titles and messages.
      {kStrPageContentCaption, QStringLiteral("&Page Content")},
      {kStrDictionariesCaption, QStringLiteral("Di&ctionaries")},
      {kStrDocumentInformationCaption, QStringLiteral("PDF &Document Information")},
      {kStrOcrConfidenceBelow, QStringLiteral("&OCR confidence below")},
      {kStrSuspectFont, QStringLiteral("&Suspect font")},
      {kStrMixedAlphanumeric, QStringLiteral("Mi&xed alphanumeric")},
      {kStrNumericOnly, QStringLiteral("Numeric onl&y")},
      {kStrAdvancedSettings, QStringLiteral("Advanced Settings")},
      {kStrCreateThumbnails, QStringLiteral("Create t&humbnails")},
      {kStrEmbedFonts, QStringLiteral("E&mbed fonts")},
      {kStrEnableLinks, QStringLiteral("E&nable links")},
      {kStrEnableStructure, QStringLiteral("Ena&ble structure")},
      {kStrAutomaticPageRotation, QStringLiteral("Automatic pa&ge rotation")},
      {kStrWorkgroupHubCaption, QStringLiteral("Workgroup H&ub")},
      {kStrWatchedFolderCaption, QStringLiteral("Watched &Folder")},
      {kStrWorkflowsCaption, QStringLiteral("Wor&kflows")},
      {kStrHubBrowseTitle, QStringLiteral("Location of Adobe Acrobat Capture Workgroup Hub")},
      {kStrWatchedFolderBrowseTitle,
       QStringLiteral("Location of Adobe Acrobat Capture Watched Folder")},
      {kStrHubMissingEntry, QStringLiteral("<Workgroup hub missing or invalid>")},
      {kStrHubUnreachable, QStringLiteral("The hub path specified is unreachable.")},
      {kStrHubNotAHub,
       QStringLiteral(
           "The hub path does not point to a valid hub or the directory path is incorrect.")},
      {kStrHubNamed, QStringLiteral("Workgroup hub: \"%1\"")},
      {kStrHubNotClosed,
       QStringLiteral("The workgroup hub \"%1\" could not be closed (status %2).")},
      {kStrPageContentSubstituted,
       QStringLiteral("The stored page content \"%1\" is not one of the choices; \"%2\" is "
                      "shown instead.")},
      {kStrLanguageSubstituted,
       QStringLiteral("The stored language \"%1\" is not one of the choices; \"%2\" is "
                      "shown instead.")},
      {kStrDictionarySubstituted,
       QStringLiteral("The workgroup hub does not offer the stored dictionary \"%1\"; \"%2\" "
                      "is shown instead.")},
      {kStrWorkflowSubstituted,
       QStringLiteral("The workgroup hub does not offer the stored workflow \"%1\"; \"%2\" "
                      "is shown instead.")},
      // Acrobat Capture panel: capture languages.
      {kStrBrazilianPortuguese, QStringLiteral("Brazilian Portuguese")},
      {kStrCatalan, QStringLiteral("Catalan")},
      {kStrDanish, QStringLiteral("Danish")},
      {kStrEnglishUs, QStringLiteral("English (US)")},
      {kStrEnglishUk, QStringLiteral("English (UK)")},
      {kStrDutch, QStringLiteral("Dutch")},
      {kStrFrench, QStringLiteral("French")},
      {kStrGerman, QStringLiteral("German")},
      {kStrItalian, QStringLiteral("Italian")},
      {kStrSpanish, QStringLiteral("Spanish")},
      {kStrSwedish, QStringLiteral("Swedish")},
      {kStrFinnish, QStringLiteral("Finnish")},
      {kStrNorwegian, QStringLiteral("Norwegian")},
      {kStrNynorsk, QStringLiteral("Nynorsk")},
      {kStrPortuguese, QStringLiteral("Portuguese")},
      {kStrSwissGerman, QStringLiteral("Swiss German")},
      // Both panels.
      {kStrNoValidationFailure, QStringLiteral("No validation failure.")},
      {kStrInternalError, QStringLiteral("Internal Error.")},
      // Both panels: names and tooltips.
      {kStrTipRestoreDefaults,
       QStringLiteral("Put every setting of this panel back to its default")},
      {kStrTipDocumentInformation,
       QStringLiteral("The PDF document information. Each value is a text constant or an index or "
                      "batch field; press F2 to edit the current row")},
      {kStrTipConfidenceThreshold,
       QStringLiteral("Words recognised with less confidence than this (0 to 100 %) are suspect")},
      {kStrTipLowOcrConfidence,
       QStringLiteral("Mark words recognised with less confidence than the threshold")},
      {kStrTipWordNotInDictionary, QStringLiteral("Mark words the dictionary does not hold")},
      {kStrTipLowFontConfidence, QStringLiteral("Mark words whose font was not recognised surely")},
      {kStrTipWorkgroupHub, QStringLiteral("The folder of the Acrobat Capture workgroup hub")},
      {kStrBrowseHub, QStringLiteral("Browse for the workgroup hub")},
      {kStrTipWatchedFolder, QStringLiteral("The folder the workgroup hub watches for documents")},
      {kStrBrowseWatchedFolder, QStringLiteral("Browse for the watched folder")},
      {kStrTipPageContent,
       QStringLiteral("What the PDF pages hold: formatted text, a searchable image or the image "
                      "only")},
      {kStrTipLanguage, QStringLiteral("The language of the documents' text")},
      {kStrTipDictionary,
       QStringLiteral("The dictionary of the workgroup hub that recognised words are checked "
                      "against")},
      {kStrTipWorkflow, QStringLiteral("The workflow of the workgroup hub that makes the PDF")},
      {kStrTipMixedAlphanumeric, QStringLiteral("Mark words that mix letters and digits")},
      {kStrTipNumericOnly, QStringLiteral("Mark words made of digits only")},
      {kStrTipCreateThumbnails, QStringLiteral("Add a thumbnail of each page to the PDF")},
      {kStrTipEmbedFonts, QStringLiteral("Embed the fonts in the PDF")},
      {kStrTipEnableLinks, QStringLiteral("Turn web addresses in the text into links")},
      {kStrTipEnableStructure, QStringLiteral("Keep the structure of the document in the PDF")},
      {kStrTipAutoPageRotation, QStringLiteral("Turn pages upright automatically")},
      {kStrTipOutputFormatType,
       QStringLiteral("The kind of PDF: normal, image only, or image with hidden text")},
      {kStrTipAccuracy, QStringLiteral("More accurate recognition takes longer")},
      {kStrTipMixedCase, QStringLiteral("Mark words that mix capital and small letters")},
      {kStrTipRotate, QStringLiteral("Try this page orientation when recognising the text")},
      {kStrConfidenceThresholdName, QStringLiteral("Confidence threshold in percent")},
      {kStrDocumentInformationName, QStringLiteral("PDF document information")},
      {kStrThresholdOutOfRange,
       QStringLiteral("The stored confidence threshold %1 is not a value from 0 to 100. It is "
                      "shown as stored; enter a value from 0 to 100 before saving.")},
  };
}

}  // namespace

std::shared_ptr<const StringTable> StringTable::usEnglish() {
  static const std::shared_ptr<const StringTable> table =
      std::make_shared<const StringTable>(usEnglishTexts());
  return table;
}

std::shared_ptr<const StringTable> StringTable::fromJsonFile(
    const QString& path, std::shared_ptr<const StringTable> fallback) {
  const QString source = QStringLiteral("StringTable.fromJsonFile");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    raiseClassic(classic::kFileNotFound, source,
                 QStringLiteral("the string table \"%1\" cannot be read (%2)")
                     .arg(path, file.errorString()));
  }
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
  if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
    raiseClassic(classic::kBadFileFormat, source,
                 QStringLiteral("the string table \"%1\" is not a JSON object of texts (%2)")
                     .arg(path, parseError.errorString()));
  }
  QHash<int, QString> texts;
  const QJsonObject object = doc.object();
  for (auto it = object.begin(); it != object.end(); ++it) {
    bool ok = false;
    const int id = it.key().toInt(&ok);
    if (!ok || !it.value().isString()) {
      raiseClassic(classic::kBadFileFormat, source,
                   QStringLiteral("the string table \"%1\" has an invalid entry \"%2\"")
                       .arg(path, it.key()));
    }
    texts.insert(id, it.value().toString());
  }
  return std::make_shared<const StringTable>(std::move(texts), std::move(fallback));
}

StringTable::StringTable(QHash<int, QString> texts, std::shared_ptr<const StringTable> fallback)
    : texts_(std::move(texts)), fallback_(std::move(fallback)) {}

QString StringTable::text(int id) const {
  const auto it = texts_.constFind(id);
  if (it != texts_.constEnd()) return *it;
  if (fallback_) return fallback_->text(id);
  raiseClassic(classic::kResourceNotFound, QStringLiteral("ZANPdfCtl4"),
               QStringLiteral("no text has the identifier %1").arg(id));
}

}  // namespace zan
