#include "release/pdf_archive.h"

#include "release/document_information.h"
#include "release/release_error.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include <podofo/podofo.h>

#include <algorithm>
#include <vector>

namespace zan::release {
namespace {

using namespace PoDoFo;

// Where Debian's packages put an sRGB profile, in the order they are tried.
const char* const kSrgbProfiles[] = {"/usr/share/color/icc/sRGB.icc",
                                     "/usr/share/color/icc/colord/sRGB.icc"};
const char* const kSrgbCondition = "sRGB IEC61966-2.1";

// A text string: PDFDocEncoding when the text is ASCII (half the size), else UTF-16.
PdfString textString(const QString& text) {
  if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; }))
    return PdfString(text.toLatin1().constData());
  const QByteArray bytes = text.toUtf8();
  return PdfString(reinterpret_cast<const pdf_utf8*>(bytes.constData()), bytes.size());
}

// "+01:00" (XMP) or "+01'00'" (PDF) for the date's offset from UTC.
QString offsetOf(const QDateTime& t, QChar separator, const QString& end) {
  const int minutes = t.offsetFromUtc() / 60;
  return QStringLiteral("%1%2%3%4%5")
      .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
      .arg(std::abs(minutes) / 60, 2, 10, QLatin1Char('0'))
      .arg(separator)
      .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'))
      .arg(end);
}

QString pdfDate(const QDateTime& t) {
  return t.toString(QStringLiteral("'D:'yyyyMMddHHmmss")) +
         offsetOf(t, QLatin1Char('\''), QStringLiteral("'"));
}

QString xmpDate(const QDateTime& t) {
  return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + offsetOf(t, QLatin1Char(':'), {});
}

// <dc:title><rdf:Alt><rdf:li xml:lang="x-default">text</rdf:li></rdf:Alt></dc:title>, or with
// rdf:Seq and no language for the list of authors.
void writeRdfList(QXmlStreamWriter& xml, const char* property, const char* container,
                  const QString& text) {
  xml.writeStartElement(QLatin1String(property));
  xml.writeStartElement(QLatin1String(container));
  xml.writeStartElement(QStringLiteral("rdf:li"));
  if (QLatin1String(container) == QLatin1String("rdf:Alt"))
    xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("x-default"));
  xml.writeCharacters(text);
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
}

void addOutputIntent(PdfMemDocument& doc) {
  const QString path = srgbProfileFile();
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
    throw ReleaseError(QStringLiteral("the sRGB colour profile is missing: install the Debian "
                                      "package %1")
                           .arg(kSrgbProfilePackage));
  const QByteArray icc = file.readAll();
  PdfObject* profile = doc.GetObjects().CreateObject();
  profile->GetDictionary().AddKey("N", static_cast<pdf_int64>(3));
  profile->GetStream()->Set(icc.constData(), icc.size());  // Flate-compressed
  PdfObject* intent = doc.GetObjects().CreateObject("OutputIntent");
  PdfDictionary& d = intent->GetDictionary();
  d.AddKey("S", PdfName("GTS_PDFA1"));
  d.AddKey("OutputConditionIdentifier", PdfString(kSrgbCondition));
  d.AddKey("Info", PdfString(kSrgbCondition));
  d.AddKey("DestOutputProfile", profile->Reference());
  PdfArray intents;
  intents.push_back(intent->Reference());
  doc.GetCatalog()->GetDictionary().AddKey("OutputIntents", intents);
}

void addMetadata(PdfMemDocument& doc, const QByteArray& xmp) {
  PdfObject* metadata = doc.GetObjects().CreateObject("Metadata");
  metadata->GetDictionary().AddKey("Subtype", PdfName("XML"));
  // PDF/A keeps the metadata stream unfiltered, so that any tool finds the claim.
  metadata->GetStream()->Set(xmp.constData(), xmp.size(), TVecFilters());
  doc.GetCatalog()->GetDictionary().AddKey("Metadata", metadata->Reference());
}

}  // namespace

QString srgbProfileFile() {
  for (const char* path : kSrgbProfiles)
    if (QFileInfo(QString::fromLatin1(path)).isReadable()) return QString::fromLatin1(path);
  return {};
}

QByteArray xmpPacket(const DocumentInformation& info, const DocumentOrigin& origin) {
  QByteArray packet;
  QXmlStreamWriter xml(&packet);
  xml.setAutoFormatting(true);
  xml.writeProcessingInstruction(
      QStringLiteral("xpacket"),
      QStringLiteral("begin=\"%1\" id=\"W5M0MpCehiHzreSzNTczkc9d\"").arg(QChar(0xFEFF)));
  xml.writeStartElement(QStringLiteral("x:xmpmeta"));
  xml.writeAttribute(QStringLiteral("xmlns:x"), QStringLiteral("adobe:ns:meta/"));
  xml.writeStartElement(QStringLiteral("rdf:RDF"));
  xml.writeAttribute(QStringLiteral("xmlns:rdf"),
                     QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#"));
  xml.writeStartElement(QStringLiteral("rdf:Description"));
  xml.writeAttribute(QStringLiteral("rdf:about"), QString());
  xml.writeAttribute(QStringLiteral("xmlns:pdfaid"),
                     QStringLiteral("http://www.aiim.org/pdfa/ns/id/"));
  xml.writeAttribute(QStringLiteral("xmlns:dc"),
                     QStringLiteral("http://purl.org/dc/elements/1.1/"));
  xml.writeAttribute(QStringLiteral("xmlns:pdf"), QStringLiteral("http://ns.adobe.com/pdf/1.3/"));
  xml.writeAttribute(QStringLiteral("xmlns:xmp"), QStringLiteral("http://ns.adobe.com/xap/1.0/"));
  xml.writeTextElement(QStringLiteral("pdfaid:part"), QStringLiteral("2"));
  xml.writeTextElement(QStringLiteral("pdfaid:conformance"), QStringLiteral("B"));
  xml.writeTextElement(QStringLiteral("dc:format"), QStringLiteral("application/pdf"));
  if (!info.title.isEmpty()) writeRdfList(xml, "dc:title", "rdf:Alt", info.title);
  if (!info.author.isEmpty()) writeRdfList(xml, "dc:creator", "rdf:Seq", info.author);
  if (!info.subject.isEmpty()) writeRdfList(xml, "dc:description", "rdf:Alt", info.subject);
  if (!info.keywords.isEmpty()) xml.writeTextElement(QStringLiteral("pdf:Keywords"), info.keywords);
  xml.writeTextElement(QStringLiteral("pdf:Producer"), origin.producer);
  xml.writeTextElement(QStringLiteral("xmp:CreatorTool"), origin.creator);
  const QString date = xmpDate(origin.made);
  xml.writeTextElement(QStringLiteral("xmp:CreateDate"), date);
  xml.writeTextElement(QStringLiteral("xmp:ModifyDate"), date);
  xml.writeTextElement(QStringLiteral("xmp:MetadataDate"), date);
  xml.writeEndElement();  // rdf:Description
  xml.writeEndElement();  // rdf:RDF
  xml.writeEndElement();  // x:xmpmeta
  xml.writeProcessingInstruction(QStringLiteral("xpacket"), QStringLiteral("end=\"r\""));
  return packet;
}

void writeDocumentLevel(PdfMemDocument& doc, const DocumentInformation& info,
                        const DocumentOrigin& origin, PdfStandard standard) {
  PdfInfo* pdfInfo = doc.GetInfo();
  if (!info.title.isEmpty()) pdfInfo->SetTitle(textString(info.title));
  if (!info.subject.isEmpty()) pdfInfo->SetSubject(textString(info.subject));
  if (!info.author.isEmpty()) pdfInfo->SetAuthor(textString(info.author));
  if (!info.keywords.isEmpty()) pdfInfo->SetKeywords(textString(info.keywords));
  pdfInfo->SetCreator(textString(origin.creator));
  pdfInfo->SetProducer(textString(origin.producer));
  PdfDictionary& d = pdfInfo->GetObject()->GetDictionary();
  const PdfString date(pdfDate(origin.made).toLatin1().constData());
  d.AddKey("CreationDate", date);
  d.AddKey("ModDate", date);
  doc.SetPdfVersion(ePdfVersion_1_7);
  if (standard != PdfStandard::PdfA2b) return;
  addMetadata(doc, xmpPacket(info, origin));
  addOutputIntent(doc);
}

void finishFonts(PdfMemDocument& doc, PdfStandard standard) {
  doc.EmbedSubsetFonts();
  if (standard != PdfStandard::PdfA2b) return;
  std::vector<PdfReference> cidSets;
  for (PdfObject* object : doc.GetObjects()) {
    if (!object->IsDictionary()) continue;
    PdfDictionary& d = object->GetDictionary();
    const PdfObject* type = d.GetKey("Type");
    const PdfObject* cidSet = d.GetKey("CIDSet");
    if (!type || !cidSet || !type->IsName() || type->GetName() != PdfName("FontDescriptor"))
      continue;
    if (cidSet->IsReference()) cidSets.push_back(cidSet->GetReference());
    d.RemoveKey("CIDSet");
  }
  for (const PdfReference& r : cidSets) delete doc.GetObjects().RemoveObject(r);
}

}  // namespace zan::release
