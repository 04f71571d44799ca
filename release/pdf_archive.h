#pragma once
// The document-level parts of a PDF: its document information and, for PDF/A-2b, the same
// information as XMP metadata with the conformance claim, the sRGB output intent, and the
// clean-up of what PoDoFo writes but PDF/A does not take (an incomplete CIDSet).

#include "release/release_options.h"

#include <QDateTime>
#include <QString>

namespace PoDoFo {
class PdfMemDocument;
}

namespace zan::release {

struct DocumentInformation;

// The sRGB ICC profile of the output intent: Debian's icc-profiles-free, else colord-data's.
// Empty when neither is installed.
QString srgbProfileFile();
// The Debian package that ships the profile.
inline const QString kSrgbProfilePackage = QStringLiteral("icc-profiles-free");

// What the document information says besides the four fields.
struct DocumentOrigin {
  QString creator;   // the program that made the document, with its version
  QString producer;  // the libraries that wrote it
  QDateTime made;    // CreationDate and ModDate
};

// Writes Title, Subject, Author, Keywords (the empty ones left out), Creator, Producer and the
// dates into the document information; for PDF/A also as XMP metadata with the claim of
// PDF/A-2b, the sRGB output intent, and PDF 1.7 as the version. Throws ReleaseError when the
// profile cannot be read.
void writeDocumentLevel(PoDoFo::PdfMemDocument& doc, const DocumentInformation& info,
                        const DocumentOrigin& origin, PdfStandard standard);

// The XMP packet of a PDF/A-2b document (UTF-8, without the bytes or encoding attributes that
// PDF/A forbids in the packet header).
QByteArray xmpPacket(const DocumentInformation& info, const DocumentOrigin& origin);

// Embeds the subset fonts now and, for PDF/A, removes the CIDSet streams PoDoFo writes for
// them: it lists only the glyphs drawn, not every glyph the subset keeps, and PDF/A-2 takes a
// CIDSet only when it is complete (it needs none).
void finishFonts(PoDoFo::PdfMemDocument& doc, PdfStandard standard);

}  // namespace zan::release
