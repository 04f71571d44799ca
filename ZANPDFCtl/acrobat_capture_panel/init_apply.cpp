// Init and Apply: the two members that move settings between the host's setup data and the
// panel.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "external/links_control.h"
#include "external/pdf_settings.h"
#include "external/setup_data.h"

namespace {

const QString kApplySource = QStringLiteral("QelPDFSetup.Apply");

}  // namespace

void ZANPdf3::Init(zan::SetupData*& rd) {
  zan::StepLabel at;
  try {
    at = 15;
    PDFHeaderLinks->setOfferSetupLinks(true);
    at = 20;
    settings()->setPdfEngine(QStringLiteral("3"));
    zan::SetupPart& partOne = zan::requireSetupData(rd).SetupPartOne();
    zan::SetupPart& partTwo = zan::requireSetupData(rd).SetupPartTwo();
    settings()->Load(partOne, partTwo, QVariant());
    at = 25;
    Refresh();
    at = 30;
    PDFHeaderLinks->SetSetupData(rd);
    at = 35;
    PDFHeaderLinks->setInitializing(false);
    at = 40;
    PDFHeaderLinks->setModified(false);
    PDFHeaderLinks->Redraw();
    m_Loading = false;
  } catch (...) {
    zan::raiseError(zan::lineSuffixed(zan::currentError(), at));
  }
}

void ZANPdf3::Apply(zan::SetupData*& rd) {
  zan::requireInitDone(!m_Loading, "Apply");
  const qint32 result = Validate();
  if (result != 0) zan::raiseError(result, kApplySource, ValidateError());
  zan::SetupPart& partOne = zan::requireSetupData(rd).SetupPartOne();
  zan::SetupPart& partTwo = zan::requireSetupData(rd).SetupPartTwo();
  settings()->Save(partOne, partTwo);
}
