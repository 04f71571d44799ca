// Moving the settings of one release script between the host's setup data and the panel.

#include "ocr_pdf_panel/zanpdf.h"

#include "external/setup_data.h"

void ZANPdf::Init(zan::SetupData*& rd) {
  try {
    PDFHeaderLinks->setOfferSetupLinks(true);
    zan::SetupPart& partOne = zan::requireSetupData(rd).SetupPartOne();
    zan::SetupPart& partTwo = zan::requireSetupData(rd).SetupPartTwo();
    settings()->Load(partOne, partTwo, QVariant());
    Refresh();
    PDFHeaderLinks->SetSetupData(rd);
    PDFHeaderLinks->setInitializing(false);
    PDFHeaderLinks->setModified(false);
    PDFHeaderLinks->Redraw();
    m_Loading = false;
  } catch (...) {
    // Passed on as it came, help file and help context included.
    zan::raiseError(zan::currentError());
  }
}

void ZANPdf::Apply(zan::SetupData*& rd) {
  zan::requireInitDone(!m_Loading, "Apply");
  const qint32 result = Validate();
  if (result != 0) zan::raiseError(result, QStringLiteral("QelPDFSetup.Apply"), m_ValidateError);
  zan::SetupPart& partOne = zan::requireSetupData(rd).SetupPartOne();
  zan::SetupPart& partTwo = zan::requireSetupData(rd).SetupPartTwo();
  settings()->Save(partOne, partTwo);
}
