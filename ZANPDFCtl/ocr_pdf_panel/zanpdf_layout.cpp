// The panel's controls: kind, parent, geometry in twips, tab order and design-time values.

#include "common/about_icon.h"
#include "common/controls/simple_controls.h"
#include "ocr_pdf_panel/zanpdf.h"

#include <iterator>

using zan::controls::CheckBox;
using zan::controls::ComboBox;
using zan::controls::CommandButton;
using zan::controls::Frame;
using zan::controls::Label;
using zan::controls::PictureBox;
using zan::controls::SpinControl;
using zan::controls::TextBox;
using zan::controls::twipsToPixels;

void ZANPdf::createControls() {
  setFixedSize(twipsToPixels(7395), twipsToPixels(3810));

  auto frame = [this](const char* name, QWidget* parent, int left, int top, int width, int height,
                      const char* caption) {
    Frame* f = m_form.add<Frame>(QString::fromLatin1(name), parent);
    f->setGeometryTwips(left, top, width, height);
    f->setCaption(QString::fromLatin1(caption));
    return f;
  };
  auto combo = [this](const char* name, Frame* parent) {
    ComboBox* c = m_form.add<ComboBox>(QString::fromLatin1(name), parent->widget());
    c->setGeometryTwips(120, 240, 2412, 288);
    return c;
  };
  auto check = [this](const char* name, Frame* parent, int top, int width, int height,
                      const char* caption) {
    CheckBox* c = m_form.add<CheckBox>(QString::fromLatin1(name), parent->widget());
    c->setGeometryTwips(120, top, width, height);
    c->setCaption(QString::fromLatin1(caption));
    return c;
  };

  fraPDFSettings = frame("fraPDFSettings", this, 0, 0, 7332, 3732, "#PDF Settings");
  QWidget* settingsFrame = fraPDFSettings->widget();
  fraOutputFormatType =
      frame("fraOutputFormatType", settingsFrame, 120, 240, 2652, 612, "#Output Format Type");
  cmbOutputFormatType = combo("cmbOutputFormatType", fraOutputFormatType);
  fraLanguage = frame("fraLanguage", settingsFrame, 120, 900, 2652, 612, "#Language");
  cmbLanguage = combo("cmbLanguage", fraLanguage);
  fraAccuracy = frame("fraAccuracy", settingsFrame, 120, 1560, 2652, 612, "#Accuracy");
  cmbAccuracy = combo("cmbAccuracy", fraAccuracy);

  fraConfidenceThreshold =
      frame("fraConfidenceThreshold", settingsFrame, 120, 2280, 2652, 612, "#Confidence Threshold");
  txtConfidenceThreshold = m_form.add<TextBox>(QStringLiteral("txtConfidenceThreshold"),
                                               fraConfidenceThreshold->widget());
  txtConfidenceThreshold->setGeometryTwips(120, 240, 450, 288);
  txtConfidenceThreshold->setText(QStringLiteral("95"));
  txtConfidenceThreshold->setMaxLength(3);
  spnConfidenceThreshold = m_form.add<SpinControl>(QStringLiteral("spnConfidenceThreshold"),
                                                   fraConfidenceThreshold->widget());
  spnConfidenceThreshold->setGeometryTwips(571, 240, 240, 288);
  spnConfidenceThreshold->setRange(0, 100);
  spnConfidenceThreshold->setIncrement(1);
  spnConfidenceThreshold->setValue(0);
  spnConfidenceThreshold->setBuddy(txtConfidenceThreshold);
  lblConfidenceThresholdUnit = m_form.add<Label>(QStringLiteral("lblConfidenceThresholdUnit"),
                                                 fraConfidenceThreshold->widget());
  lblConfidenceThresholdUnit->setGeometryTwips(960, 240, 972, 252);
  lblConfidenceThresholdUnit->setCaption(QStringLiteral("(%)"));

  cmdRestoreDefaults =
      m_form.add<CommandButton>(QStringLiteral("cmdRestoreDefaults"), settingsFrame);
  cmdRestoreDefaults->setGeometryTwips(600, 3120, 1692, 372);
  cmdRestoreDefaults->setCaption(QStringLiteral("#&Restore Defaults"));

  fraPDFHeaderlinks =
      frame("fraPDFHeaderlinks", settingsFrame, 2880, 240, 4332, 1632, "#PDF Header Links");
  PDFHeaderLinks = m_env.createLinks(fraPDFHeaderlinks->widget());
  PDFHeaderLinks->applyPanelDesign(1200, 2823);
  PDFHeaderLinksControl = m_form.add<zan::controls::HostedControl>(
      QStringLiteral("PDFHeaderLinks"), fraPDFHeaderlinks->widget(), PDFHeaderLinks);
  PDFHeaderLinksControl->setGeometryTwips(120, 270, 4425, 1275);

  fraSuspectRegions =
      frame("fraSuspectRegions", settingsFrame, 2880, 1920, 2532, 1692, "#Suspect Regions");
  chkLowOcrConfidence =
      check("chkLowOcrConfidence", fraSuspectRegions, 240, 2052, 252, "#Low OCR Confidence");
  chkWordNotInDictionary =
      check("chkWordNotInDictionary", fraSuspectRegions, 600, 2172, 252, "#Word not in dictionary");
  chkMixedCases = check("chkMixedCases", fraSuspectRegions, 960, 2172, 252, "#Mixed Cases");
  chkLowFontConfidence =
      check("chkLowFontConfidence", fraSuspectRegions, 1320, 2172, 252, "#Low Font Confidence");

  fraOrientation = frame("fraOrientation", settingsFrame, 5520, 1920, 1692, 1692, "#Orientation");
  // Only a holder of the about-box picture; it has no place on the surface and stays hidden.
  picABoutBoxIcon =
      m_form.add<PictureBox>(QStringLiteral("picABoutBoxIcon"), fraOrientation->widget());
  picABoutBoxIcon->setGeometryTwips(0, 0, 18 * 15, 15 * 15);
  picABoutBoxIcon->setPicture(zan::aboutBoxIcon());
  picABoutBoxIcon->setVisible(false);
  chkRotate0 = check("chkRotate0", fraOrientation, 240, 1332, 252, "#Rotate 0");
  chkRotate90 = check("chkRotate90", fraOrientation, 600, 1332, 252, "#Rotate 90");
  chkRotate180 = check("chkRotate180", fraOrientation, 960, 1212, 252, "#Rotate 180");
  chkRotate270 = check("chkRotate270", fraOrientation, 1320, 1212, 192, "#Rotate 270");

  // Tab order by tab index; the spin control and the links control take the free indexes 9
  // and 13.
  QWidget* const order[] = {fraPDFSettings->widget(),
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
                            PDFHeaderLinks,
                            fraSuspectRegions->widget(),
                            chkLowOcrConfidence->widget(),
                            chkWordNotInDictionary->widget(),
                            chkMixedCases->widget(),
                            chkLowFontConfidence->widget(),
                            fraOrientation->widget(),
                            chkRotate0->widget(),
                            chkRotate90->widget(),
                            chkRotate180->widget(),
                            chkRotate270->widget()};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}
