// The German string table: the same identifiers as the US English one, chosen by
// StringTable::forLocale() for a German locale. Access keys are chosen so that no two controls
// of a panel share one.

#include "settings/string_table.h"

namespace zan {
namespace {

QHash<int, QString> germanTexts() {
  return {
      {kStrPdfSettings, QStringLiteral("PDF-Einstellungen")},
      {kStrOutputFormatTypeCaption, QStringLiteral("&Ausgabeformat")},
      {kStrLanguageCaption, QStringLiteral("S&prache")},
      {kStrAccuracyCaption, QStringLiteral("&Genauigkeit")},
      {kStrConfidenceThresholdCaption, QStringLiteral("Konfidenz&schwelle")},
      {kStrPercent, QStringLiteral("%")},
      {kStrPdfHeaderLinksCaption, QStringLiteral("PDF-&Kopfverknüpfungen")},
      {kStrAuthor, QStringLiteral("Autor")},
      {kStrTitle, QStringLiteral("Titel")},
      {kStrSubject, QStringLiteral("Thema")},
      {kStrKeywords, QStringLiteral("Stichwörter")},
      {kStrSuspectRegions, QStringLiteral("Verdächtige Bereiche")},
      {kStrLowOcrConfidence, QStringLiteral("&OCR unsicher")},
      {kStrWordNotInDictionary, QStringLiteral("&Wort unbekannt")},
      {kStrMixedCase, QStringLiteral("Ge&mischte Schreibung")},
      {kStrLowFontConfidence, QStringLiteral("Schri&ft unsicher")},
      {kStrOrientation, QStringLiteral("Ausrichtung")},
      {kStrRotate0, QStringLiteral("&0°")},
      {kStrRotate90, QStringLiteral("&90°")},
      {kStrRotate180, QStringLiteral("&180°")},
      {kStrRotate270, QStringLiteral("&270°")},
      {kStrNormalPdf, QStringLiteral("Normales PDF")},
      {kStrImageOnlyPdf, QStringLiteral("Nur-Bild-PDF")},
      {kStrImageAndHiddenTextPdf, QStringLiteral("Bild mit verborgenem Text")},
      {kStrOcrEnglishUs, QStringLiteral("Englisch (USA)")},
      {kStrOcrEnglishUk, QStringLiteral("Englisch (Großbritannien)")},
      {kStrOcrDutch, QStringLiteral("Niederländisch")},
      {kStrOcrFrench, QStringLiteral("Französisch")},
      {kStrOcrGerman, QStringLiteral("Deutsch")},
      {kStrOcrItalian, QStringLiteral("Italienisch")},
      {kStrOcrSpanish, QStringLiteral("Spanisch")},
      {kStrOcrSwedish, QStringLiteral("Schwedisch")},
      {kStrFastest, QStringLiteral("Am schnellsten")},
      {kStrFast, QStringLiteral("Schnell")},
      {kStrNormal, QStringLiteral("Normal")},
      {kStrAccurate, QStringLiteral("Genau")},
      {kStrMostAccurate, QStringLiteral("Am genauesten")},
      {kStrRestoreDefaults, QStringLiteral("Sta&ndard")},
      {kStrFormattedTextAndGraphics, QStringLiteral("Text & Grafik")},
      {kStrSearchableImageCompact, QStringLiteral("Suchbares Bild (kompakt)")},
      {kStrSearchableImageExact, QStringLiteral("Suchbares Bild (exakt)")},
      {kStrImageOnly, QStringLiteral("Nur Bild")},
      {kStrPageContentCaption, QStringLiteral("&Seiteninhalt")},
      {kStrDictionariesCaption, QStringLiteral("Wörterbü&cher")},
      {kStrDocumentInformationCaption, QStringLiteral("PDF-&Dokumentinformationen")},
      {kStrOcrConfidenceBelow, QStringLiteral("OCR-&Konfidenz unter")},
      {kStrSuspectFont, QStringLiteral("Unsichere Schrif&tart")},
      {kStrMixedAlphanumeric, QStringLiteral("&Gemischte Zeichen")},
      {kStrNumericOnly, QStringLiteral("Nur &Ziffern")},
      {kStrAdvancedSettings, QStringLiteral("Erweiterte Einstellungen")},
      {kStrCreateThumbnails, QStringLiteral("&Miniaturansichten")},
      {kStrEmbedFonts, QStringLiteral("Schriften &einbetten")},
      {kStrEnableLinks, QStringLiteral("&Links aktivieren")},
      {kStrEnableStructure, QStringLiteral("St&ruktur aktivieren")},
      {kStrAutomaticPageRotation, QStringLiteral("Seiten automatisc&h drehen")},
      {kStrWorkgroupHubCaption, QStringLiteral("Workgroup-H&ub")},
      {kStrWatchedFolderCaption, QStringLiteral("Überwachter &Ordner")},
      {kStrWorkflowsCaption, QStringLiteral("&Arbeitsabläufe")},
      {kStrHubBrowseTitle, QStringLiteral("Ort des Adobe Acrobat Capture-Workgroup-Hubs")},
      {kStrWatchedFolderBrowseTitle,
       QStringLiteral("Ort des überwachten Ordners von Adobe Acrobat Capture")},
      {kStrHubMissingEntry, QStringLiteral("<Workgroup-Hub fehlt oder ist ungültig>")},
      {kStrHubUnreachable, QStringLiteral("Der angegebene Hub-Pfad ist nicht erreichbar.")},
      {kStrHubNotAHub,
       QStringLiteral("Der Hub-Pfad zeigt auf keinen gültigen Hub, oder der Ordnerpfad ist "
                      "falsch.")},
      {kStrHubNamed, QStringLiteral("Workgroup-Hub: „%1“")},
      {kStrHubNotClosed,
       QStringLiteral("Der Workgroup-Hub „%1“ konnte nicht geschlossen werden (Status %2).")},
      {kStrPageContentSubstituted,
       QStringLiteral("Der gespeicherte Seiteninhalt „%1“ steht nicht zur Wahl; stattdessen wird "
                      "„%2“ angezeigt.")},
      {kStrLanguageSubstituted,
       QStringLiteral("Die gespeicherte Sprache „%1“ steht nicht zur Wahl; stattdessen wird „%2“ "
                      "angezeigt.")},
      {kStrDictionarySubstituted,
       QStringLiteral("Der Workgroup-Hub bietet das gespeicherte Wörterbuch „%1“ nicht an; "
                      "stattdessen wird „%2“ angezeigt.")},
      {kStrWorkflowSubstituted,
       QStringLiteral("Der Workgroup-Hub bietet den gespeicherten Arbeitsablauf „%1“ nicht an; "
                      "stattdessen wird „%2“ angezeigt.")},
      {kStrBrazilianPortuguese, QStringLiteral("Brasilianisches Portugiesisch")},
      {kStrCatalan, QStringLiteral("Katalanisch")},
      {kStrDanish, QStringLiteral("Dänisch")},
      {kStrEnglishUs, QStringLiteral("Englisch (USA)")},
      {kStrEnglishUk, QStringLiteral("Englisch (GB)")},
      {kStrDutch, QStringLiteral("Niederländisch")},
      {kStrFrench, QStringLiteral("Französisch")},
      {kStrGerman, QStringLiteral("Deutsch")},
      {kStrItalian, QStringLiteral("Italienisch")},
      {kStrSpanish, QStringLiteral("Spanisch")},
      {kStrSwedish, QStringLiteral("Schwedisch")},
      {kStrFinnish, QStringLiteral("Finnisch")},
      {kStrNorwegian, QStringLiteral("Norwegisch")},
      {kStrNynorsk, QStringLiteral("Nynorsk")},
      {kStrPortuguese, QStringLiteral("Portugiesisch")},
      {kStrSwissGerman, QStringLiteral("Schweizerdeutsch")},
      {kStrNoValidationFailure, QStringLiteral("Keine Prüfung ist fehlgeschlagen.")},
      {kStrInternalError, QStringLiteral("Interner Fehler.")},
      {kStrTipRestoreDefaults,
       QStringLiteral("Alle Einstellungen dieser Seite auf ihren Standard zurücksetzen")},
      {kStrTipDocumentInformation,
       QStringLiteral("Die Dokumentinformationen des PDF. Jeder Wert ist ein fester Text oder ein "
                      "Index- oder Stapelfeld; F2 bearbeitet die aktuelle Zeile")},
      {kStrTipConfidenceThreshold,
       QStringLiteral("Wörter, die mit geringerer Konfidenz (0 bis 100 %) erkannt wurden, gelten "
                      "als verdächtig")},
      {kStrTipLowOcrConfidence,
       QStringLiteral("Wörter markieren, die mit geringerer Konfidenz als der Schwelle erkannt "
                      "wurden")},
      {kStrTipWordNotInDictionary,
       QStringLiteral("Wörter markieren, die nicht im Wörterbuch stehen")},
      {kStrTipLowFontConfidence,
       QStringLiteral("Wörter markieren, deren Schriftart nicht sicher erkannt wurde")},
      {kStrTipWorkgroupHub, QStringLiteral("Der Ordner des Acrobat Capture-Workgroup-Hubs")},
      {kStrBrowseHub, QStringLiteral("Workgroup-Hub suchen")},
      {kStrTipWatchedFolder,
       QStringLiteral("Der Ordner, den der Workgroup-Hub auf neue Dokumente überwacht")},
      {kStrBrowseWatchedFolder, QStringLiteral("Überwachten Ordner suchen")},
      {kStrTipPageContent,
       QStringLiteral("Was die PDF-Seiten enthalten: formatierten Text, ein durchsuchbares Bild "
                      "oder nur das Bild")},
      {kStrTipLanguage, QStringLiteral("Die Sprache des Texts der Dokumente")},
      {kStrTipDictionary,
       QStringLiteral("Das Wörterbuch des Workgroup-Hubs, mit dem erkannte Wörter geprüft werden")},
      {kStrTipWorkflow,
       QStringLiteral("Der Arbeitsablauf des Workgroup-Hubs, der das PDF erstellt")},
      {kStrTipMixedAlphanumeric, QStringLiteral("Wörter aus Buchstaben und Ziffern markieren")},
      {kStrTipNumericOnly, QStringLiteral("Wörter nur aus Ziffern markieren")},
      {kStrTipCreateThumbnails, QStringLiteral("Jeder Seite eine Miniaturansicht im PDF geben")},
      {kStrTipEmbedFonts, QStringLiteral("Die Schriften in das PDF einbetten")},
      {kStrTipEnableLinks, QStringLiteral("Webadressen im Text zu Links machen")},
      {kStrTipEnableStructure, QStringLiteral("Die Struktur des Dokuments im PDF erhalten")},
      {kStrTipAutoPageRotation, QStringLiteral("Seiten automatisch aufrecht drehen")},
      {kStrTipOutputFormatType,
       QStringLiteral("Die Art des PDF: normal, nur Bild oder Bild mit verborgenem Text")},
      {kStrTipAccuracy, QStringLiteral("Genauere Erkennung dauert länger")},
      {kStrTipMixedCase, QStringLiteral("Wörter aus Groß- und Kleinbuchstaben markieren")},
      {kStrTipRotate, QStringLiteral("Diese Seitenausrichtung bei der Texterkennung versuchen")},
      {kStrConfidenceThresholdName, QStringLiteral("Konfidenzschwelle in Prozent")},
      {kStrDocumentInformationName, QStringLiteral("PDF-Dokumentinformationen")},
      {kStrThresholdOutOfRange,
       QStringLiteral("Die gespeicherte Konfidenzschwelle %1 ist kein Wert von 0 bis 100. Sie "
                      "wird wie gespeichert angezeigt; geben Sie vor dem Speichern einen Wert "
                      "von 0 bis 100 ein.")},
  };
}

}  // namespace

std::shared_ptr<const StringTable> StringTable::german() {
  static const std::shared_ptr<const StringTable> table =
      std::make_shared<const StringTable>(germanTexts(), usEnglish());
  return table;
}

std::shared_ptr<const StringTable> StringTable::forLocale(const QLocale& locale) {
  return locale.language() == QLocale::German ? german() : usEnglish();
}

}  // namespace zan
