// Moving the settings of one release script between the host's setup data and the panel.

#include "ocr_pdf_panel/zanpdf.h"

namespace {

// The setup data the host handed over; a missing object fails as the classic "Nothing" does.
zan::SetupData& required(zan::SetupData* rd) {
  if (!rd) {
    zan::raiseError(91, QStringLiteral("ZANPdfCtl4"),
                    QStringLiteral("Object variable or With block variable not set"));
  }
  return *rd;
}

}  // namespace

void ZANPdf::Init(zan::SetupData*& rd) {
  try {
    PDFHeaderLinks->setOfferSetupLinks(true);
    zan::SetupPart& partOne = required(rd).SetupPartOne();
    zan::SetupPart& partTwo = required(rd).SetupPartTwo();
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
  const qint32 result = Validate();
  if (result != 0) zan::raiseError(result, QStringLiteral("QelPDFSetup.Apply"), m_ValidateError);
  zan::SetupPart& partOne = required(rd).SetupPartOne();
  zan::SetupPart& partTwo = required(rd).SetupPartTwo();
  settings()->Save(partOne, partTwo);
}
