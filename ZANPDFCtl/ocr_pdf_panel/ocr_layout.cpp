// ZANPdf's controls in the panel's control order (kinds, parents, geometry in twips and
// design-time captions), its tab order, and the captions and fixed lists from the string
// table.

#include "ocr_pdf_panel/ocr_panel.h"

#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/simple_controls.h"
#include "controls/spin_control.h"
#include "controls/text_box.h"
#include "external/links_control.h"

#include <QTableWidget>

namespace zan {

void OcrPanel::createControls() {
  form_.setSurfaceSizeTwips(7395, 3810);

  fraPDFSettings = frame(u"fraPDFSettings", &panel_, {0, 0, 7332, 3732}, "#PDF Settings");
  QWidget* const settingsFrame = fraPDFSettings->widget();
  fraOutputFormatType =
      frame(u"fraOutputFormatType", settingsFrame, {120, 240, 2652, 612}, "#Output Format Type");
  cmbOutputFormatType =
      comboBox(u"cmbOutputFormatType", fraOutputFormatType->widget(), {120, 240, 2412, 288});
  fraLanguage = frame(u"fraLanguage", settingsFrame, {120, 900, 2652, 612}, "#Language");
  cmbLanguage = comboBox(u"cmbLanguage", fraLanguage->widget(), {120, 240, 2412, 288});
  fraAccuracy = frame(u"fraAccuracy", settingsFrame, {120, 1560, 2652, 612}, "#Accuracy");
  cmbAccuracy = comboBox(u"cmbAccuracy", fraAccuracy->widget(), {120, 240, 2412, 288});

  fraConfidenceThreshold = frame(u"fraConfidenceThreshold", settingsFrame, {120, 2280, 2652, 612},
                                 "#Confidence Threshold");
  addThresholdEntry(fraConfidenceThreshold->widget(), {120, 240, 450, 288}, {571, 240, 240, 288},
                    {960, 240, 972, 252}, 0);

  cmdRestoreDefaults =
      button(u"cmdRestoreDefaults", settingsFrame, {600, 3120, 1692, 372}, "#&Restore Defaults");

  fraPDFHeaderlinks =
      frame(u"fraPDFHeaderlinks", settingsFrame, {2880, 240, 4332, 1632}, "#PDF Header Links");
  addLinks(fraPDFHeaderlinks, 1200, 2823, {120, 270, 4425, 1275});

  fraSuspectRegions =
      frame(u"fraSuspectRegions", settingsFrame, {2880, 1920, 2532, 1692}, "#Suspect Regions");
  QWidget* const suspect = fraSuspectRegions->widget();
  chkLowOcrConfidence =
      checkBox(u"chkLowOcrConfidence", suspect, {120, 240, 2292, 252}, "#Low OCR Confidence");
  chkWordNotInDictionary = checkBox(u"chkWordNotInDictionary", suspect, {120, 600, 2292, 252},
                                    "#Word not in dictionary");
  chkMixedCases = checkBox(u"chkMixedCases", suspect, {120, 960, 2292, 252}, "#Mixed Cases");
  chkLowFontConfidence =
      checkBox(u"chkLowFontConfidence", suspect, {120, 1320, 2292, 252}, "#Low Font Confidence");

  fraOrientation =
      frame(u"fraOrientation", settingsFrame, {5520, 1920, 1692, 1692}, "#Orientation");
  QWidget* const orientation = fraOrientation->widget();
  addAboutBoxIcon(orientation);
  chkRotate0 = checkBox(u"chkRotate0", orientation, {120, 240, 1332, 252}, "#Rotate 0");
  chkRotate90 = checkBox(u"chkRotate90", orientation, {120, 600, 1332, 252}, "#Rotate 90");
  chkRotate180 = checkBox(u"chkRotate180", orientation, {120, 960, 1332, 252}, "#Rotate 180");
  chkRotate270 = checkBox(u"chkRotate270", orientation, {120, 1320, 1332, 192}, "#Rotate 270");

  // Tab order by tab index; the spin control and the links control take the free indexes 9
  // and 13.
  setTabOrder({fraPDFSettings->widget(),
               fraOutputFormatType->widget(),
               cmbOutputFormatType->widget(),
               fraLanguage->widget(),
               cmbLanguage->widget(),
               fraAccuracy->widget(),
               cmbAccuracy->widget(),
               fraConfidenceThreshold->widget(),
               txtConfidenceThreshold->widget(),
               spnConfidenceThreshold->widget(),
               lblConfidenceThresholdUnit->widget(),
               cmdRestoreDefaults->widget(),
               fraPDFHeaderlinks->widget(),
               PDFHeaderLinks->grid(),
               fraSuspectRegions->widget(),
               chkLowOcrConfidence->widget(),
               chkWordNotInDictionary->widget(),
               chkMixedCases->widget(),
               chkLowFontConfidence->widget(),
               fraOrientation->widget(),
               chkRotate0->widget(),
               chkRotate90->widget(),
               chkRotate180->widget(),
               chkRotate270->widget()});
}

void OcrPanel::localizeControls() {
  setCaptions({{fraPDFSettings, kStrPdfSettings},
               {fraOutputFormatType, kStrOutputFormatTypeCaption},
               {fraLanguage, kStrLanguageCaption},
               {fraAccuracy, kStrAccuracyCaption},
               {fraConfidenceThreshold, kStrConfidenceThresholdCaption},
               {fraPDFHeaderlinks, kStrPdfHeaderLinksCaption},
               {lblConfidenceThresholdUnit, kStrPercent},
               {fraSuspectRegions, kStrSuspectRegions},
               {chkLowOcrConfidence, kStrLowOcrConfidence},
               {chkWordNotInDictionary, kStrWordNotInDictionary},
               {chkMixedCases, kStrMixedCase},
               {chkLowFontConfidence, kStrLowFontConfidence},
               {fraOrientation, kStrOrientation},
               {chkRotate0, kStrRotate0},
               {chkRotate90, kStrRotate90},
               {chkRotate180, kStrRotate180},
               {chkRotate270, kStrRotate270},
               {cmdRestoreDefaults, kStrRestoreDefaults}});
  fillList(cmbOutputFormatType, outputFormats());
  fillList(cmbLanguage, ocrLanguages());
  fillList(cmbAccuracy, accuracies());

  describeCommonControls();
  describeControls({{cmbOutputFormatType, kStrTipOutputFormatType},
                    {cmbLanguage, kStrTipLanguage},
                    {cmbAccuracy, kStrTipAccuracy},
                    {chkMixedCases, kStrTipMixedCase},
                    {chkRotate0, kStrTipRotate},
                    {chkRotate90, kStrTipRotate},
                    {chkRotate180, kStrTipRotate},
                    {chkRotate270, kStrTipRotate}});
}

}  // namespace zan
