#pragma once
// Page images through Leptonica: turning, scaling and cutting a decoded page, and encoding it
// for the PDF or as a page file. Reading page files is page_file.h's.

#include "release/page_file.h"

#include <QByteArray>
#include <QRect>
#include <QString>

namespace zan::release {

// Returns the image scaled by `factor` (grey or colour, so that small scales stay legible), or a
// clone when the factor is 1; never smaller than one pixel a side.
PixPtr scaled(Pix* pix, double factor);

// Returns the image turned clockwise by `degrees` (0, 90, 180 or 270).
PixPtr turned(Pix* pix, int degrees);

// Returns the part of the image inside `box` (pixels), clipped to the image.
PixPtr cropped(Pix* pix, const QRect& box);

// Whether the page is text or line art in one ink on a plain background (a bitonal scan, or a
// grey one whose only greys are the edges of the ink), so that one bit a pixel keeps all of it.
bool looksBitonal(Pix* pix);

// The page as a page file of `format` stating `dpi`: TIFF (bitonal pages CCITT G4, the others
// Deflate), PNG, or JPEG (quality 90; bitonal pages as grey). Throws ReleaseError.
QByteArray encodePageFile(Pix* pix, int dpi, PageFileFormat format);

// Page `index` of `file` as a page file of `format`: the file itself when it is a single page
// image of that format, else decoded within `pixelLimit` and encoded stating the resolution it
// states (a PDF page: as take() takes it, at its resolution, shown the way it is shown).
QByteArray asPageFile(const PageFile& file, int index, PageFileFormat format, qint64 pixelLimit);

// Page `index` of `file` as a job's page for the hub service: a PDF page as a PDF of that page
// alone (the service takes, renders or keeps it as the release step does here), any other
// page as asPageFile() makes it.
struct JobPage {
  QByteArray bytes;
  bool pdf = false;
};
JobPage asJobPage(const PageFile& file, int index, PageFileFormat format, qint64 pixelLimit);

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

// Encodes a page losslessly: as the JPEG data `jpeg` it was decoded from when that is given
// (grey or RGB), bitonal pages CCITT G4, the others Flate.
PdfImageData encodeForPdf(Pix* pix, const QByteArray& jpeg);

// Encodes a page compactly: a bitonal page, or one that `mayBeBitonal` and looksBitonal(), as
// CCITT G4 at full resolution (its text stays sharp); any other page as JPEG of `quality`
// (1-100), first scaled down to `maxDpi` when its `dpi` is finer.
PdfImageData encodeCompact(Pix* pix, int dpi, int maxDpi, int quality, bool mayBeBitonal);

// Encodes an image (a picture region) as JPEG of `quality`, in colour or grey as it is.
PdfImageData encodeJpeg(Pix* pix, int quality);

// A small copy of the page for the PDF's page thumbnails: its longest side `size` pixels,
// 8-bit grey or RGB, Flate-compressed.
PdfImageData thumbnailOf(Pix* pix, int size);

// Leaves only Leptonica's errors (no notes or warnings), which a failure's line then carries.
void silenceImageLibraryMessages();

}  // namespace zan::release
