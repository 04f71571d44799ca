#pragma once
// The library's string table: every text a panel shows, looked up by numeric identifier.
// US English and German are built in (a panel's default table follows the locale); a host may
// hand a panel a replacement table to localise it otherwise.

#include <QHash>
#include <QLocale>
#include <QString>

#include <memory>

namespace zan {

// The identifiers of the library's texts: 2700 to 2737 the OCR panel's (the capture panel
// shares some), 5601 to 5815 the capture panel's, 9707 and up both panels'.
enum StringId : int {
  kStrPdfSettings = 2700,
  kStrOutputFormatTypeCaption = 2701,
  kStrLanguageCaption = 2702,
  kStrAccuracyCaption = 2703,
  kStrConfidenceThresholdCaption = 2704,
  kStrPercent = 2705,
  kStrPdfHeaderLinksCaption = 2706,
  kStrAuthor = 2707,
  kStrTitle = 2708,
  kStrSubject = 2709,
  kStrKeywords = 2710,
  kStrSuspectRegions = 2711,
  kStrLowOcrConfidence = 2712,
  kStrWordNotInDictionary = 2713,
  kStrMixedCase = 2714,
  kStrLowFontConfidence = 2715,
  kStrOrientation = 2716,
  kStrRotate0 = 2717,
  kStrRotate90 = 2718,
  kStrRotate180 = 2719,
  kStrRotate270 = 2720,
  kStrNormalPdf = 2721,
  kStrImageOnlyPdf = 2722,
  kStrImageAndHiddenTextPdf = 2723,
  kStrOcrEnglishUs = 2724,
  kStrOcrEnglishUk = 2725,
  kStrOcrDutch = 2726,
  kStrOcrFrench = 2727,
  kStrOcrGerman = 2728,
  kStrOcrItalian = 2729,
  kStrOcrSpanish = 2730,
  kStrOcrSwedish = 2731,
  kStrFastest = 2732,
  kStrFast = 2733,
  kStrNormal = 2734,
  kStrAccurate = 2735,
  kStrMostAccurate = 2736,
  kStrRestoreDefaults = 2737,
  kStrFormattedTextAndGraphics = 5601,
  kStrSearchableImageCompact = 5602,
  kStrSearchableImageExact = 5603,
  kStrImageOnly = 5604,
  kStrPageContentCaption = 5701,
  kStrDictionariesCaption = 5703,
  kStrDocumentInformationCaption = 5705,
  kStrOcrConfidenceBelow = 5707,
  kStrSuspectFont = 5709,
  kStrMixedAlphanumeric = 5711,
  kStrNumericOnly = 5713,
  kStrAdvancedSettings = 5715,
  kStrCreateThumbnails = 5717,
  kStrEmbedFonts = 5719,
  kStrEnableLinks = 5721,
  kStrEnableStructure = 5723,
  kStrAutomaticPageRotation = 5725,
  kStrWorkgroupHubCaption = 5727,
  kStrWatchedFolderCaption = 5729,
  kStrWorkflowsCaption = 5730,
  kStrHubBrowseTitle = 5732,
  kStrWatchedFolderBrowseTitle = 5734,
  kStrHubMissingEntry = 5735,
  kStrHubUnreachable = 5736,
  kStrHubNotAHub = 5737,
  kStrHubNamed = 5738,
  kStrHubNotClosed = 5739,
  kStrPageContentSubstituted = 5740,
  kStrLanguageSubstituted = 5741,
  kStrDictionarySubstituted = 5742,
  kStrWorkflowSubstituted = 5743,
  kStrBrazilianPortuguese = 5800,
  kStrCatalan = 5801,
  kStrDanish = 5802,
  kStrEnglishUs = 5803,
  kStrEnglishUk = 5804,
  kStrDutch = 5805,
  kStrFrench = 5806,
  kStrGerman = 5807,
  kStrItalian = 5808,
  kStrSpanish = 5809,
  kStrSwedish = 5810,
  kStrFinnish = 5811,
  kStrNorwegian = 5812,
  kStrNynorsk = 5813,
  kStrPortuguese = 5814,
  kStrSwissGerman = 5815,
  kStrNoValidationFailure = 9707,
  kStrInternalError = 9708,
  // Names and tooltips for screen readers and the mouse, both panels.
  kStrTipRestoreDefaults = 9720,
  kStrTipDocumentInformation = 9721,
  kStrTipConfidenceThreshold = 9722,
  kStrTipLowOcrConfidence = 9723,
  kStrTipWordNotInDictionary = 9724,
  kStrTipLowFontConfidence = 9725,
  kStrTipWorkgroupHub = 9726,
  kStrBrowseHub = 9727,
  kStrTipWatchedFolder = 9728,
  kStrBrowseWatchedFolder = 9729,
  kStrTipPageContent = 9730,
  kStrTipLanguage = 9731,
  kStrTipDictionary = 9732,
  kStrTipWorkflow = 9733,
  kStrTipMixedAlphanumeric = 9734,
  kStrTipNumericOnly = 9735,
  kStrTipCreateThumbnails = 9736,
  kStrTipEmbedFonts = 9737,
  kStrTipEnableLinks = 9738,
  kStrTipEnableStructure = 9739,
  kStrTipAutoPageRotation = 9740,
  kStrTipOutputFormatType = 9741,
  kStrTipAccuracy = 9743,
  kStrTipMixedCase = 9744,
  kStrTipRotate = 9745,
  kStrConfidenceThresholdName = 9746,
  // Loading, both panels.
  kStrThresholdOutOfRange = 9747,
  // The document-information grid and its frame as screen readers name them, both panels.
  kStrDocumentInformationName = 9748,
};

class StringTable {
 public:
  // The built-in US English table.
  static std::shared_ptr<const StringTable> usEnglish();
  // The built-in German table (falling back to US English).
  static std::shared_ptr<const StringTable> german();
  // The built-in table of `locale`'s language: German or else US English.
  static std::shared_ptr<const StringTable> forLocale(const QLocale& locale);

  // A table read from a JSON object file {"2700": "PDF Settings", ...}. Identifiers the file
  // lacks fall back to `fallback` (usually usEnglish()); pass nullptr for no fallback.
  // A missing or malformed file fails with an AutomationError naming the file.
  static std::shared_ptr<const StringTable> fromJsonFile(
      const QString& path, std::shared_ptr<const StringTable> fallback);

  explicit StringTable(QHash<int, QString> texts,
                       std::shared_ptr<const StringTable> fallback = nullptr);
  virtual ~StringTable() = default;

  // The text of `id`; fails with error 326 "Resource with identifier 'id' not found". Virtual
  // so that a host may look texts up elsewhere, or a test make one lookup fail.
  virtual QString text(int id) const;

 private:
  QHash<int, QString> texts_;
  std::shared_ptr<const StringTable> fallback_;
};

}  // namespace zan
