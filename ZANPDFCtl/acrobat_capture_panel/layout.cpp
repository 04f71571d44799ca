// The panel's control tree: kinds, parents, geometry in twips, tab order, design-time captions,
// texts and tags. Controls are created in the panel's control order.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/about_icon.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/simple_controls.h"
#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"
#include "external/links_control.h"

#include <QAbstractItemView>

using namespace zan::controls;

namespace {

const QString kImageOnly = QStringLiteral("Image Only");

// The widget that takes the focus for a control in the tab order.
QWidget* tabStop(QWidget* widget) {
  if (widget->focusPolicy() & Qt::TabFocus) return widget;
  if (auto* view = widget->findChild<QAbstractItemView*>()) return view;
  return widget;
}

}  // namespace

void ZANPdf3::createControls() {
  using namespace zan::controls;
  setFixedSize(twipsToPixels(7395), twipsToPixels(4485));

  picABoutBoxIcon = m_form.add<PictureBox>(QStringLiteral("picABoutBoxIcon"), this);
  picABoutBoxIcon->setPicture(zan::aboutBoxIcon());
  picABoutBoxIcon->setGeometryTwips(0, 0, 18 * 15, 15 * 15);
  picABoutBoxIcon->setVisible(false);  // holds the about-box picture only

  fraPDFSettings = m_form.add<Frame>(QStringLiteral("fraPDFSettings"), this);
  fraPDFSettings->setGeometryTwips(45, 0, 7332, 4425);
  fraPDFSettings->setCaption(QStringLiteral("#PDF Settings"));
  QWidget* const settingsFrame = fraPDFSettings->widget();

  fraLocationOfWorkgroupHub =
      m_form.add<Frame>(QStringLiteral("fraLocationOfWorkgroupHub"), settingsFrame);
  fraLocationOfWorkgroupHub->setGeometryTwips(120, 180, 3495, 615);
  fraLocationOfWorkgroupHub->setCaption(QStringLiteral("#Workgroup Hub:"));
  txtWorkgroupHub =
      m_form.add<TextBox>(QStringLiteral("txtWorkgroupHub"), fraLocationOfWorkgroupHub->widget());
  txtWorkgroupHub->setGeometryTwips(120, 210, 2925, 315);
  cmdBrowseHub = m_form.add<CommandButton>(QStringLiteral("cmdBrowseHub"),
                                           fraLocationOfWorkgroupHub->widget());
  cmdBrowseHub->setGeometryTwips(3060, 210, 315, 315);
  cmdBrowseHub->setCaption(QStringLiteral("..."));

  fraWatchedFolder = m_form.add<Frame>(QStringLiteral("fraWatchedFolder"), settingsFrame);
  fraWatchedFolder->setGeometryTwips(3705, 180, 3510, 615);
  fraWatchedFolder->setCaption(QStringLiteral("#Watched Folder:"));
  txtWatchedFolder =
      m_form.add<TextBox>(QStringLiteral("txtWatchedFolder"), fraWatchedFolder->widget());
  txtWatchedFolder->setGeometryTwips(120, 210, 2925, 315);
  cmdBrowseWatch =
      m_form.add<CommandButton>(QStringLiteral("cmdBrowseWatch"), fraWatchedFolder->widget());
  cmdBrowseWatch->setGeometryTwips(3060, 210, 315, 315);
  cmdBrowseWatch->setCaption(QStringLiteral("..."));

  fraOutputFormatType = m_form.add<Frame>(QStringLiteral("fraOutputFormatType"), settingsFrame);
  fraOutputFormatType->setGeometryTwips(120, 840, 2652, 612);
  fraOutputFormatType->setCaption(QStringLiteral("#Page Content"));
  cmbPageContent =
      m_form.add<ComboBox>(QStringLiteral("cmbPageContent"), fraOutputFormatType->widget());
  cmbPageContent->setGeometryTwips(120, 210, 2412, 315);

  fraLanguage = m_form.add<Frame>(QStringLiteral("fraLanguage"), settingsFrame);
  fraLanguage->setGeometryTwips(120, 1470, 2652, 612);
  fraLanguage->setCaption(QStringLiteral("#Language"));
  fraLanguage->setTag(kImageOnly);
  cmbLanguage = m_form.add<ComboBox>(QStringLiteral("cmbLanguage"), fraLanguage->widget());
  cmbLanguage->setGeometryTwips(120, 210, 2412, 315);
  cmbLanguage->setTag(kImageOnly);

  fraPDFHeaderlinks = m_form.add<Frame>(QStringLiteral("fraPDFHeaderlinks"), settingsFrame);
  fraPDFHeaderlinks->setGeometryTwips(2880, 840, 4332, 1245);
  fraPDFHeaderlinks->setCaption(QStringLiteral("#PDF Document Information"));
  fraPDFHeaderlinks->setTag(kImageOnly);
  PDFHeaderLinks = env_.createLinks(fraPDFHeaderlinks->widget());
  PDFHeaderLinks->applyPanelDesign(1300, 2483);
  PDFHeaderLinksControl = m_form.add<HostedControl>(QStringLiteral("PDFHeaderLinks"),
                                                    fraPDFHeaderlinks->widget(), PDFHeaderLinks);
  PDFHeaderLinksControl->setGeometryTwips(120, 240, 4185, 975);
  PDFHeaderLinksControl->setTag(kImageOnly);

  fraDictionaries = m_form.add<Frame>(QStringLiteral("fraDictionaries"), settingsFrame);
  fraDictionaries->setGeometryTwips(120, 2115, 3495, 612);
  fraDictionaries->setCaption(QStringLiteral("#Dictionaries"));
  fraDictionaries->setTag(kImageOnly);
  cmbDictionary = m_form.add<ComboBox>(QStringLiteral("cmbDictionary"), fraDictionaries->widget());
  cmbDictionary->setGeometryTwips(120, 210, 3285, 315);
  cmbDictionary->setTag(kImageOnly);

  fraWorkflows = m_form.add<Frame>(QStringLiteral("fraWorkflows"), settingsFrame);
  fraWorkflows->setGeometryTwips(3720, 2115, 3495, 612);
  fraWorkflows->setCaption(QStringLiteral("#Workflow"));
  cmbWorkflow = m_form.add<ComboBox>(QStringLiteral("cmbWorkflow"), fraWorkflows->widget());
  cmbWorkflow->setGeometryTwips(120, 210, 3285, 315);

  fraSuspectRegions = m_form.add<Frame>(QStringLiteral("fraSuspectRegions"), settingsFrame);
  fraSuspectRegions->setGeometryTwips(120, 2775, 3495, 1545);
  fraSuspectRegions->setCaption(QStringLiteral("#Suspect Regions"));
  fraSuspectRegions->setTag(kImageOnly);
  QWidget* const suspectFrame = fraSuspectRegions->widget();
  chkLowOcrConfidence = m_form.add<CheckBox>(QStringLiteral("chkLowOcrConfidence"), suspectFrame);
  chkLowOcrConfidence->setGeometryTwips(120, 240, 2190, 195);
  chkLowOcrConfidence->setCaption(QStringLiteral("#OCR Confidence Below"));
  chkLowOcrConfidence->setTag(kImageOnly);
  txtConfidenceThreshold =
      m_form.add<TextBox>(QStringLiteral("txtConfidenceThreshold"), suspectFrame);
  txtConfidenceThreshold->setGeometryTwips(2385, 180, 390, 288);
  txtConfidenceThreshold->setText(QStringLiteral("95"));
  txtConfidenceThreshold->setMaxLength(3);
  txtConfidenceThreshold->setTag(kImageOnly);
  spnConfidenceThreshold =
      m_form.add<SpinControl>(QStringLiteral("spnConfidenceThreshold"), suspectFrame);
  spnConfidenceThreshold->setGeometryTwips(2776, 180, 240, 288);
  spnConfidenceThreshold->setRange(0, 100);
  spnConfidenceThreshold->setIncrement(1);
  spnConfidenceThreshold->setValue(95);
  spnConfidenceThreshold->setBuddy(txtConfidenceThreshold);
  spnConfidenceThreshold->setTag(kImageOnly);
  lblConfidenceThresholdUnit =
      m_form.add<Label>(QStringLiteral("lblConfidenceThresholdUnit"), suspectFrame);
  lblConfidenceThresholdUnit->setGeometryTwips(3090, 225, 300, 210);
  lblConfidenceThresholdUnit->setCaption(QStringLiteral("(%)"));
  chkLowFontConfidence = m_form.add<CheckBox>(QStringLiteral("chkLowFontConfidence"), suspectFrame);
  chkLowFontConfidence->setGeometryTwips(120, 495, 2175, 195);
  chkLowFontConfidence->setCaption(QStringLiteral("#Suspect Font"));
  chkLowFontConfidence->setTag(kImageOnly);
  chkWordNotInDictionary =
      m_form.add<CheckBox>(QStringLiteral("chkWordNotInDictionary"), suspectFrame);
  chkWordNotInDictionary->setGeometryTwips(120, 750, 2172, 195);
  chkWordNotInDictionary->setCaption(QStringLiteral("#Word not in dictionary"));
  chkWordNotInDictionary->setTag(kImageOnly);
  chkMixedAlphaNumeric = m_form.add<CheckBox>(QStringLiteral("chkMixedAlphaNumeric"), suspectFrame);
  chkMixedAlphaNumeric->setGeometryTwips(120, 1005, 2172, 195);
  chkMixedAlphaNumeric->setCaption(QStringLiteral("#Mixed Alpha Numeric"));
  chkMixedAlphaNumeric->setTag(kImageOnly);
  chkNumericOnly = m_form.add<CheckBox>(QStringLiteral("chkNumericOnly"), suspectFrame);
  chkNumericOnly->setGeometryTwips(120, 1260, 2130, 195);
  chkNumericOnly->setCaption(QStringLiteral("#Numeric Only"));
  chkNumericOnly->setTag(kImageOnly);

  fraAdvanced = m_form.add<Frame>(QStringLiteral("fraAdvanced"), settingsFrame);
  fraAdvanced->setGeometryTwips(3705, 2775, 3510, 1560);
  fraAdvanced->setCaption(QStringLiteral("#Advance Settings"));
  fraAdvanced->setTag(kImageOnly);
  QWidget* const advancedFrame = fraAdvanced->widget();
  chkCreateThumbnails = m_form.add<CheckBox>(QStringLiteral("chkCreateThumbnails"), advancedFrame);
  chkCreateThumbnails->setGeometryTwips(120, 240, 2760, 195);
  chkCreateThumbnails->setCaption(QStringLiteral("#Create Thumbnails"));
  chkCreateThumbnails->setTag(kImageOnly);
  chkEmbedFonts = m_form.add<CheckBox>(QStringLiteral("chkEmbedFonts"), advancedFrame);
  chkEmbedFonts->setGeometryTwips(120, 495, 2760, 195);
  chkEmbedFonts->setCaption(QStringLiteral("#Embed Fonts"));
  chkEmbedFonts->setTag(kImageOnly);
  chkEnableLinks = m_form.add<CheckBox>(QStringLiteral("chkEnableLinks"), advancedFrame);
  chkEnableLinks->setGeometryTwips(120, 750, 2760, 195);
  chkEnableLinks->setCaption(QStringLiteral("#Enable Links"));
  chkEnableLinks->setTag(kImageOnly);
  chkEnableStructure = m_form.add<CheckBox>(QStringLiteral("chkEnableStructure"), advancedFrame);
  chkEnableStructure->setGeometryTwips(120, 1005, 2760, 195);
  chkEnableStructure->setCaption(QStringLiteral("#Enable Structure"));
  chkEnableStructure->setTag(kImageOnly);
  chkAutoPageRotation = m_form.add<CheckBox>(QStringLiteral("chkAutoPageRotation"), advancedFrame);
  chkAutoPageRotation->setGeometryTwips(120, 1260, 2760, 195);
  chkAutoPageRotation->setCaption(QStringLiteral("#Automatic Page Rotation"));
  chkAutoPageRotation->setTag(kImageOnly);

  cmdRestoreDefaults =
      m_form.add<CommandButton>(QStringLiteral("cmdRestoreDefaults"), settingsFrame);
  cmdRestoreDefaults->setGeometryTwips(6360, 3810, 855, 615);
  cmdRestoreDefaults->setCaption(QStringLiteral("#&Restore Defaults"));

  // Tab order of the focusable controls.
  const QList<QWidget*> tabOrder = {txtWorkgroupHub->widget(),
                                    cmdBrowseHub->widget(),
                                    txtWatchedFolder->widget(),
                                    cmdBrowseWatch->widget(),
                                    cmbPageContent->widget(),
                                    cmbLanguage->widget(),
                                    tabStop(PDFHeaderLinks),
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
                                    cmdRestoreDefaults->widget()};
  for (int i = 1; i < tabOrder.size(); ++i) QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}
