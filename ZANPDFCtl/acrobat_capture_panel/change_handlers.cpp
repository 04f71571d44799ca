// The handlers attached to the panel's controls. Each raises Change only through NotifyChange
// and has no failure handling of its own: on the user path the form's failure policy reports a
// failure, on the code path it reaches the code that changed the control.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/confidence_threshold_entry.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/simple_controls.h"
#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"
#include "external/links_control.h"
#include "external/pdf_settings.h"

namespace {
const QString kImageOnly = QStringLiteral("Image Only");
const QString kImageOnlyWorkflow = QStringLiteral("PDF Image Only");
}  // namespace

void ZANPdf3::attachHandlers() {
  for (zan::controls::CheckBox* box :
       {chkLowOcrConfidence, chkLowFontConfidence, chkWordNotInDictionary, chkMixedAlphaNumeric,
        chkNumericOnly, chkCreateThumbnails, chkEmbedFonts, chkEnableLinks, chkEnableStructure,
        chkAutoPageRotation}) {
    box->onClick = [this] { NotifyChange(); };
  }
  chkAutoPageRotation->onLostFocus = [this] { m_LastTabControl = chkAutoPageRotation; };

  cmbPageContent->onClick = [this] { cmbPageContent_Click(); };
  cmbLanguage->onClick = [this] { comboClick(cmbLanguage, settings()->CaptureLanguage()); };
  cmbDictionary->onClick = [this] { comboClick(cmbDictionary, settings()->Dictionary()); };
  cmbWorkflow->onClick = [this] { comboClick(cmbWorkflow, settings()->Workflow()); };

  // The links control is no classic control: its row edits come in through the form's dispatch.
  connect(PDFHeaderLinks, &zan::ZANLinks::rowEdited, PDFHeaderLinksControl,
          [this](int) { m_form.dispatch([this] { NotifyChange(); }); });

  cmdRestoreDefaults->onClick = [this] { RestoreDefaults(); };

  txtWorkgroupHub->onChange = [this] { txtWorkgroupHub_Change(); };
  txtWatchedFolder->onChange = [this] { txtWatchedFolder_Change(); };
  cmdBrowseHub->onClick = [this] { browse(txtWorkgroupHub, cmdBrowseHub, 5732); };
  cmdBrowseWatch->onClick = [this] { browse(txtWatchedFolder, cmdBrowseWatch, 5734); };

  confidenceEntry_ = std::make_unique<zan::ConfidenceThresholdEntry>(
      *txtConfidenceThreshold, *spnConfidenceThreshold,
      zan::ConfidenceThresholdEntry::Options{/*arrowKeys=*/true}, [this] { NotifyChange(); },
      [this](std::int32_t& n, QString& msg, QString& src, std::int16_t& line, bool& reRaise,
             bool& display) { raiseErrorEvent(n, msg, src, line, reRaise, display); });
}

void ZANPdf3::comboClick(zan::controls::ComboBox* combo, const QString& stored) {
  if (combo->text() != stored) NotifyChange();
}

void ZANPdf3::cmbPageContent_Click() {
  if (cmbPageContent->text() != settings()->PageContent()) {
    NotifyChange();
    settings()->setPageContent(cmbPageContent->text());
    putEnabled(true);
  }
  if (cmbPageContent->text() == kImageOnly) SelectComboText(cmbWorkflow, kImageOnlyWorkflow);
}

void ZANPdf3::raiseErrorEvent(std::int32_t& ErrNum, QString& ErrMsg, QString& SourceFile,
                              std::int16_t& LineNo, bool& ReRaise, bool& Display) {
  try {
    emit Error(ErrNum, ErrMsg, SourceFile, LineNo, ReRaise, Display);
  } catch (...) {
    // The event is the end of the road: a host handler's failure is not the panel's to report.
  }
}
