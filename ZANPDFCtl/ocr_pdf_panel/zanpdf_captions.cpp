// Captions and choice lists from the string table; selecting a list entry by its item data.

#include "ocr_pdf_panel/zanpdf.h"

#include <initializer_list>
#include <utility>

namespace {

struct Entry {
  int stringId;
  std::int32_t itemData;
};

constexpr Entry kOutputFormatTypes[] = {{2721, 1}, {2722, 2}, {2723, 3}};
constexpr Entry kLanguages[] = {{2724, 1}, {2725, 2}, {2726, 3}, {2727, 4},
                                {2728, 5}, {2729, 6}, {2730, 7}, {2731, 8}};
// Powers of two, not consecutive numbers.
constexpr Entry kAccuracies[] = {{2732, 1}, {2733, 2}, {2734, 4}, {2735, 8}, {2736, 16}};

constexpr int kInternalError = 9708;

}  // namespace

void ZANPdf::LocalizeControls() {
  const std::pair<zan::controls::Control*, int> captions[] = {{fraPDFSettings, 2700},
                                                              {fraOutputFormatType, 2701},
                                                              {fraLanguage, 2702},
                                                              {fraAccuracy, 2703},
                                                              {fraConfidenceThreshold, 2704},
                                                              {fraPDFHeaderlinks, 2706},
                                                              {lblConfidenceThresholdUnit, 2705},
                                                              {fraSuspectRegions, 2711},
                                                              {chkLowOcrConfidence, 2712},
                                                              {chkWordNotInDictionary, 2713},
                                                              {chkMixedCases, 2714},
                                                              {chkLowFontConfidence, 2715},
                                                              {fraOrientation, 2716},
                                                              {chkRotate0, 2717},
                                                              {chkRotate90, 2718},
                                                              {chkRotate180, 2719},
                                                              {chkRotate270, 2720},
                                                              {cmdRestoreDefaults, 2737}};
  for (const auto& [control, id] : captions) control->setCaption(text(id));

  auto fill = [this](zan::controls::ComboBox* list, const auto& entries) {
    for (const Entry& entry : entries) {
      const int added = list->addItem(text(entry.stringId));
      list->setItemData(added, entry.itemData);
    }
  };
  fill(cmbOutputFormatType, kOutputFormatTypes);
  fill(cmbLanguage, kLanguages);
  fill(cmbAccuracy, kAccuracies);
}

void ZANPdf::FillCombo(zan::controls::ComboBox* list, std::int32_t setting, const char* name) {
  for (int i = 0; i < list->listCount(); ++i) {
    if (list->itemData(i) == setting) {
      list->setListIndex(i);
      return;
    }
  }
  m_SubstitutedSettings << QString::fromLatin1(name);
  std::int32_t number = -1;
  QString message = text(kInternalError);
  QString source = QStringLiteral("QelPDFSetup.FillCombo()");
  std::int16_t line = 0;
  bool reRaise = false, display = true;
  textError()->LogTheError(number, message, source, line, reRaise, display);
  if (list->listCount() > 0) list->setListIndex(0);
}
