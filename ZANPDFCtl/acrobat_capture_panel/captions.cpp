// Captions from the string table and the two fixed choice lists.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/simple_controls.h"

#include <utility>

namespace {

struct ListEntry {
  int stringId;
  std::int32_t code;
};

// Page content entries with their codes, in list order.
constexpr ListEntry kPageContents[] = {{5601, 1}, {5602, 3}, {5603, 2}, {5604, 4}};

// Languages with their codes, in list order (not alphabetical: Dutch follows the two English
// entries).
constexpr ListEntry kLanguages[] = {
    {5800, 1}, {5801, 2},  {5802, 3},  {5803, 5},  {5804, 6},  {5805, 4},  {5806, 7},  {5807, 8},
    {5808, 9}, {5809, 10}, {5810, 11}, {5811, 12}, {5812, 13}, {5813, 14}, {5814, 15}, {5815, 16}};

}  // namespace

void ZANPdf3::LocalizeControls() {
  const std::pair<zan::controls::Control*, int> captions[] = {
      {fraPDFSettings, 2700},
      {fraOutputFormatType, 5701},
      {fraLanguage, 2702},
      {fraDictionaries, 5703},
      {fraWorkflows, 5730},
      {fraPDFHeaderlinks, 5705},
      {lblConfidenceThresholdUnit, 2705},
      {fraSuspectRegions, 2711},
      {fraAdvanced, 5715},
      {fraLocationOfWorkgroupHub, 5727},
      {fraWatchedFolder, 5729},
      {chkLowOcrConfidence, 5707},
      {chkLowFontConfidence, 5709},
      {chkWordNotInDictionary, 2713},
      {chkMixedAlphaNumeric, 5711},
      {chkNumericOnly, 5713},
      {chkCreateThumbnails, 5717},
      {chkEmbedFonts, 5719},
      {chkEnableLinks, 5721},
      {chkEnableStructure, 5723},
      {chkAutoPageRotation, 5725},
      {cmdRestoreDefaults, 2737},
  };
  for (const auto& [control, id] : captions) control->setCaption(text(id));

  for (const ListEntry& entry : kPageContents) {
    const int index = cmbPageContent->addItem(text(entry.stringId));
    cmbPageContent->setItemData(index, entry.code);
  }
  for (const ListEntry& entry : kLanguages) {
    const int index = cmbLanguage->addItem(text(entry.stringId));
    cmbLanguage->setItemData(index, entry.code);
  }

  cmbPageContent->setListIndex(0);
  cmbLanguage->setListIndex(3);
  cmbDictionary->setListIndex(-1);
  cmbWorkflow->setListIndex(-1);
}
