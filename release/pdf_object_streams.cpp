#include "release/pdf_object_streams.h"

// qpdf 11 asks its users to say they use no PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace zan::release {

QByteArray withObjectStreams(const QByteArray& pdf) {
  try {
    QPDF document;
    document.setSuppressWarnings(true);
    document.processMemoryFile("document", pdf.constData(), static_cast<size_t>(pdf.size()));
    QPDFWriter writer(document);
    writer.setOutputMemory();
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.setStreamDataMode(qpdf_s_preserve);
    writer.setNewlineBeforeEndstream(true);  // as PDF/A asks
    writer.write();
    const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(written->getBuffer()),
                      static_cast<qsizetype>(written->getSize()));
  } catch (const std::exception&) {
    return pdf;
  }
}

}  // namespace zan::release
