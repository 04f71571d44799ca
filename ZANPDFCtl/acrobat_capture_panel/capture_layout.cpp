// ZANPdf3's controls in the panel's control order (kinds, parents, geometry in twips,
// design-time captions and tags), its tab order, and the captions and fixed lists from the
// string table.

#include "acrobat_capture_panel/capture_panel.h"

#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/simple_controls.h"
#include "controls/spin_control.h"
#include "controls/text_box.h"
#include "external/links_control.h"

#include <QTableWidget>

namespace zan {

void CapturePanel::createControls() {
  form_.setSurfaceSizeTwips(7395, 4485);
  // The tag of the controls that do not apply to the page content "Image Only".
  const QString kImageOnly = QString::fromLatin1(kImageOnlyPageContent);
  addAboutBoxIcon(&panel_);

  fraPDFSettings = frame(u"fraPDFSettings", &panel_, {45, 0, 7332, 4425}, "#PDF Settings");
  QWidget* const settingsFrame = fraPDFSettings->widget();

  fraLocationOfWorkgroupHub =
      frame(u"fraLocationOfWorkgroupHub", settingsFrame, {120, 180, 3495, 615}, "#Workgroup Hub:");
  txtWorkgroupHub =
      textBox(u"txtWorkgroupHub", fraLocationOfWorkgroupHub->widget(), {120, 210, 2925, 315});
  cmdBrowseHub =
      button(u"cmdBrowseHub", fraLocationOfWorkgroupHub->widget(), {3060, 210, 315, 315}, "...");

  fraWatchedFolder =
      frame(u"fraWatchedFolder", settingsFrame, {3705, 180, 3510, 615}, "#Watched Folder:");
  txtWatchedFolder =
      textBox(u"txtWatchedFolder", fraWatchedFolder->widget(), {120, 210, 2925, 315});
  cmdBrowseWatch =
      button(u"cmdBrowseWatch", fraWatchedFolder->widget(), {3060, 210, 315, 315}, "...");

  fraOutputFormatType =
      frame(u"fraOutputFormatType", settingsFrame, {120, 840, 2652, 612}, "#Page Content");
  cmbPageContent =
      comboBox(u"cmbPageContent", fraOutputFormatType->widget(), {120, 210, 2412, 315});

  fraLanguage =
      frame(u"fraLanguage", settingsFrame, {120, 1470, 2652, 612}, "#Language", kImageOnly);
  cmbLanguage = comboBox(u"cmbLanguage", fraLanguage->widget(), {120, 210, 2412, 315}, kImageOnly);

  fraPDFHeaderlinks = frame(u"fraPDFHeaderlinks", settingsFrame, {2880, 840, 4332, 1245},
                            "#PDF Document Information", kImageOnly);
  addLinks(fraPDFHeaderlinks, 1300, 2483, {120, 240, 4185, 975}, kImageOnly);

  fraDictionaries =
      frame(u"fraDictionaries", settingsFrame, {120, 2115, 3495, 612}, "#Dictionaries", kImageOnly);
  cmbDictionary =
      comboBox(u"cmbDictionary", fraDictionaries->widget(), {120, 210, 3285, 315}, kImageOnly);

  fraWorkflows = frame(u"fraWorkflows", settingsFrame, {3720, 2115, 3495, 612}, "#Workflow");
  cmbWorkflow = comboBox(u"cmbWorkflow", fraWorkflows->widget(), {120, 210, 3285, 315});

  fraSuspectRegions = frame(u"fraSuspectRegions", settingsFrame, {120, 2775, 3495, 1545},
                            "#Suspect Regions", kImageOnly);
  QWidget* const suspect = fraSuspectRegions->widget();
  chkLowOcrConfidence = checkBox(u"chkLowOcrConfidence", suspect, {120, 240, 2235, 195},
                                 "#OCR Confidence Below", kImageOnly);
  addThresholdEntry(suspect, {2385, 180, 390, 288}, {2776, 180, 240, 288}, {3090, 225, 300, 210},
                    95, kImageOnly);
  chkLowFontConfidence = checkBox(u"chkLowFontConfidence", suspect, {120, 495, 2175, 195},
                                  "#Suspect Font", kImageOnly);
  chkWordNotInDictionary = checkBox(u"chkWordNotInDictionary", suspect, {120, 750, 2235, 195},
                                    "#Word not in dictionary", kImageOnly);
  chkMixedAlphaNumeric = checkBox(u"chkMixedAlphaNumeric", suspect, {120, 1005, 2172, 195},
                                  "#Mixed Alpha Numeric", kImageOnly);
  chkNumericOnly =
      checkBox(u"chkNumericOnly", suspect, {120, 1260, 2130, 195}, "#Numeric Only", kImageOnly);

  fraAdvanced = frame(u"fraAdvanced", settingsFrame, {3705, 2775, 3510, 1560}, "#Advance Settings",
                      kImageOnly);
  QWidget* const advanced = fraAdvanced->widget();
  chkCreateThumbnails = checkBox(u"chkCreateThumbnails", advanced, {120, 240, 2760, 195},
                                 "#Create Thumbnails", kImageOnly);
  chkEmbedFonts =
      checkBox(u"chkEmbedFonts", advanced, {120, 495, 2760, 195}, "#Embed Fonts", kImageOnly);
  chkEnableLinks =
      checkBox(u"chkEnableLinks", advanced, {120, 750, 2760, 195}, "#Enable Links", kImageOnly);
  chkEnableStructure = checkBox(u"chkEnableStructure", advanced, {120, 1005, 2760, 195},
                                "#Enable Structure", kImageOnly);
  chkAutoPageRotation = checkBox(u"chkAutoPageRotation", advanced, {120, 1260, 2760, 195},
                                 "#Automatic Page Rotation", kImageOnly);

  cmdRestoreDefaults =
      button(u"cmdRestoreDefaults", settingsFrame, {6360, 3810, 855, 615}, "#&Restore Defaults");

  setTabOrder({txtWorkgroupHub->widget(),
               cmdBrowseHub->widget(),
               txtWatchedFolder->widget(),
               cmdBrowseWatch->widget(),
               cmbPageContent->widget(),
               cmbLanguage->widget(),
               PDFHeaderLinks->grid(),
               cmbDictionary->widget(),
               cmbWorkflow->widget(),
               chkLowOcrConfidence->widget(),
               txtConfidenceThreshold->widget(),
               chkLowFontConfidence->widget(),
               chkWordNotInDictionary->widget(),
               chkMixedAlphaNumeric->widget(),
               chkNumericOnly->widget(),
               chkCreateThumbnails->widget(),
               chkEmbedFonts->widget(),
               chkEnableLinks->widget(),
               chkEnableStructure->widget(),
               chkAutoPageRotation->widget(),
               cmdRestoreDefaults->widget()});
}

void CapturePanel::localizeControls() {
  setCaptions({{fraPDFSettings, kStrPdfSettings},
               {fraOutputFormatType, kStrPageContentCaption},
               {fraLanguage, kStrLanguageCaption},
               {fraDictionaries, kStrDictionariesCaption},
               {fraWorkflows, kStrWorkflowsCaption},
               {fraPDFHeaderlinks, kStrDocumentInformationCaption},
               {lblConfidenceThresholdUnit, kStrPercent},
               {fraSuspectRegions, kStrSuspectRegions},
               {fraAdvanced, kStrAdvancedSettings},
               {fraLocationOfWorkgroupHub, kStrWorkgroupHubCaption},
               {fraWatchedFolder, kStrWatchedFolderCaption},
               {chkLowOcrConfidence, kStrOcrConfidenceBelow},
               {chkLowFontConfidence, kStrSuspectFont},
               {chkWordNotInDictionary, kStrWordNotInDictionary},
               {chkMixedAlphaNumeric, kStrMixedAlphanumeric},
               {chkNumericOnly, kStrNumericOnly},
               {chkCreateThumbnails, kStrCreateThumbnails},
               {chkEmbedFonts, kStrEmbedFonts},
               {chkEnableLinks, kStrEnableLinks},
               {chkEnableStructure, kStrEnableStructure},
               {chkAutoPageRotation, kStrAutomaticPageRotation},
               {cmdRestoreDefaults, kStrRestoreDefaults}});
  fillList(cmbPageContent, pageContents());
  fillList(cmbLanguage, captureLanguages());
  cmbPageContent->setListIndex(0);
  cmbLanguage->setListIndex(3);
  cmbDictionary->setListIndex(-1);
  cmbWorkflow->setListIndex(-1);

  describeCommonControls();
  describeControls({{txtWorkgroupHub, kStrTipWorkgroupHub},
                    {cmdBrowseHub, kStrBrowseHub, kStrBrowseHub},
                    {txtWatchedFolder, kStrTipWatchedFolder},
                    {cmdBrowseWatch, kStrBrowseWatchedFolder, kStrBrowseWatchedFolder},
                    {cmbPageContent, kStrTipPageContent},
                    {cmbLanguage, kStrTipLanguage},
                    {cmbDictionary, kStrTipDictionary},
                    {cmbWorkflow, kStrTipWorkflow},
                    {chkMixedAlphaNumeric, kStrTipMixedAlphanumeric},
                    {chkNumericOnly, kStrTipNumericOnly},
                    {chkCreateThumbnails, kStrTipCreateThumbnails},
                    {chkEmbedFonts, kStrTipEmbedFonts},
                    {chkEnableLinks, kStrTipEnableLinks},
                    {chkEnableStructure, kStrTipEnableStructure},
                    {chkAutoPageRotation, kStrTipAutoPageRotation}});
}

}  // namespace zan
