#pragma once
// Page images: reading the pages of an image file (PNG, TIFF with any number of pages, JPEG,
// PNM, BMP) through Leptonica, and encoding a page for the PDF.

#include <QByteArray>
#include <QString>

#include <memory>

struct Pix;

namespace zan::release {

struct PixDeleter {
  void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// How many pages the file holds (the pages of a TIFF; 1 for the other formats). Throws
// ReleaseError when the file is missing, unreadable or not an image of a format above.
int countPages(const QString& path);

// Page `index` (0-based) of the file, decoded, with any alpha channel blended onto white.
// Throws ReleaseError when it cannot be decoded.
PixPtr readPage(const QString& path, int index);

// The resolution the image states, in pixels per inch; 300 when it states none or one
// outside 70 to 2400 (a screen default such as 1 or 72 on a scanned page).
int pageResolution(const Pix* pix);

// Returns the image scaled by `factor` (grey or colour, so that small scales stay legible), or a
// clone when the factor is 1.
PixPtr scaled(Pix* pix, double factor);

// Returns the image turned clockwise by `degrees` (0, 90, 180 or 270).
PixPtr turned(Pix* pix, int degrees);

// A page image as a PDF image XObject stream: already encoded for `filter`.
struct PdfImageData {
  QByteArray data;
  QByteArray filter;  // "FlateDecode", "DCTDecode" or "CCITTFaxDecode"
  int width = 0, height = 0, bitsPerComponent = 8;
  QByteArray colorSpace;  // "DeviceGray", "DeviceRGB", "DeviceCMYK", or "Indexed"
  QByteArray palette;     // Indexed: the RGB triples of the palette
  bool invert = false;    // samples run from white to black (/Decode [1 0])
  int components = 1;
  bool pngPredictor = false;  // flate data with a PNG predictor byte before each row
};

// Encodes a page losslessly: JPEG files unchanged (when `sourcePath` is given, the page is
// that file's only page and it was not turned), bitonal pages CCITT G4, the others Flate.
PdfImageData encodeForPdf(Pix* pix, const QString& sourcePath);

// Silences the libraries' own messages on standard error; the engine reports failures itself.
void silenceImageLibraryMessages();

}  // namespace zan::release
