#include "release/pdf_page_file.h"

#include "release/pdf_qpdf.h"
#include "release/release_error.h"

#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <cmath>
#include <exception>
#include <set>

namespace zan::release {
namespace {

// Form XObjects drawn within form XObjects are followed this deep, no deeper (a form that draws
// itself is a loop).
constexpr int kDeepestForm = 8;
// An image covers the page when each of its edges lies within this share of the page's size
// from the page's edge.
constexpr double kCoverTolerance = 0.01;

// Walks a page's content (and the forms it draws) the way a renderer does, noting what it
// paints: images with their placing matrix, text and the fonts text is shown in, other
// painting, device CMYK colour, LZW-compressed streams.
class ContentWalk : public QPDFObjectHandle::ParserCallbacks {
 public:
  int images = 0;
  QPDFObjectHandle image;
  QPDFMatrix imageMatrix;
  bool text = false, otherPainting = false, cmyk = false, lzw = false;
  std::vector<QPDFObjectHandle> visibleFonts;  // fonts of text shown other than invisibly

  void walk(QPDFObjectHandle content, QPDFObjectHandle resources, bool page) {
    noteFilters(content);
    scopes_.push_back(resources);
    if (page)
      QPDFObjectHandle::parseContentStream(content, this);
    else
      content.parseAsContents(this);
    scopes_.pop_back();
  }

  void handleObject(QPDFObjectHandle object, size_t, size_t) override {
    if (object.isInlineImage()) {
      otherPainting = true;
    } else if (object.isOperator()) {
      apply(object.getOperatorValue());
      operands_.clear();
    } else {
      operands_.push_back(object);
    }
  }
  void handleEOF() override {}

 private:
  struct State {
    QPDFMatrix matrix;
    int render = 0;
    QPDFObjectHandle font;
  };

  void noteFilters(QPDFObjectHandle stream) {
    if (!stream.isStream()) {
      if (stream.isArray())
        for (QPDFObjectHandle part : stream.getArrayAsVector()) noteFilters(part);
      return;
    }
    QPDFObjectHandle filter = stream.getDict().getKey("/Filter");
    if (filter.isName() && filter.getName() == "/LZWDecode") lzw = true;
    if (filter.isArray())
      for (QPDFObjectHandle f : filter.getArrayAsVector())
        if (f.isName() && f.getName() == "/LZWDecode") lzw = true;
  }

  double number(std::size_t i) {
    return i < operands_.size() && operands_[i].isNumber() ? operands_[i].getNumericValue() : 0;
  }
  QPDFObjectHandle resource(const char* kind, std::size_t i) {
    if (i >= operands_.size() || !operands_[i].isName()) return QPDFObjectHandle::newNull();
    QPDFObjectHandle dict = scopes_.back();
    if (!dict.isDictionary()) return QPDFObjectHandle::newNull();
    dict = dict.getKey(kind);
    return dict.isDictionary() ? dict.getKey(operands_[i].getName()) : QPDFObjectHandle::newNull();
  }

  void apply(const std::string& op) {
    static const std::set<std::string> painting = {"f",  "F", "f*", "B",  "B*", "b",
                                                   "b*", "S", "s",  "sh", "EI"};
    static const std::set<std::string> showing = {"Tj", "TJ", "'", "\""};
    if (op == "q") {
      stack_.push_back(state_);
    } else if (op == "Q") {
      if (!stack_.empty()) {
        state_ = stack_.back();
        stack_.pop_back();
      }
    } else if (op == "cm" && operands_.size() == 6) {
      state_.matrix.concat(
          QPDFMatrix(number(0), number(1), number(2), number(3), number(4), number(5)));
    } else if (op == "Tr") {
      state_.render = static_cast<int>(number(0));
    } else if (op == "Tf") {
      state_.font = resource("/Font", 0);
    } else if (showing.count(op)) {
      text = true;
      if (state_.render != 3 && state_.render != 7) visibleFonts.push_back(state_.font);
    } else if (painting.count(op)) {
      otherPainting = true;
    } else if (op == "k" || op == "K") {
      cmyk = true;
    } else if ((op == "cs" || op == "CS") && !operands_.empty() && operands_[0].isName()) {
      const std::string name = operands_[0].getName();
      QPDFObjectHandle space = resource("/ColorSpace", 0);
      if (name == "/DeviceCMYK" || (space.isName() && space.getName() == "/DeviceCMYK"))
        cmyk = true;
    } else if (op == "Do") {
      draw(resource("/XObject", 0));
    }
  }

  void draw(QPDFObjectHandle xobject) {
    if (!xobject.isStream()) return;
    QPDFObjectHandle dict = xobject.getDict();
    noteFilters(xobject);
    if (xobject.isImage(false)) {
      QPDFObjectHandle space = dict.getKey("/ColorSpace");
      if (space.isName() && space.getName() == "/DeviceCMYK") cmyk = true;
      ++images;
      image = xobject;
      imageMatrix = state_.matrix;
      return;
    }
    if (!xobject.isFormXObject() || scopes_.size() > kDeepestForm) {
      otherPainting = true;
      return;
    }
    const State saved = state_;
    const std::vector<QPDFObjectHandle> operands = operands_;
    operands_.clear();
    QPDFObjectHandle matrix = dict.getKey("/Matrix");
    if (matrix.isArray() && matrix.getArrayNItems() == 6)
      state_.matrix.concat(QPDFMatrix(matrix.getArrayAsMatrix()));
    QPDFObjectHandle resources = dict.getKey("/Resources");
    walk(xobject, resources.isDictionary() ? resources : scopes_.back(), false);
    state_ = saved;
    operands_ = operands;
  }

  std::vector<QPDFObjectHandle> scopes_;  // the resources of the content being walked
  std::vector<QPDFObjectHandle> operands_;
  State state_;
  std::vector<State> stack_;
};

bool embedded(QPDFObjectHandle font) {
  if (!font.isDictionary()) return true;  // no font: nothing shown in it
  QPDFObjectHandle subtype = font.getKey("/Subtype");
  if (subtype.isName() && subtype.getName() == "/Type3") return true;  // drawn in its content
  if (subtype.isName() && subtype.getName() == "/Type0") {
    QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
    if (!descendants.isArray() || descendants.getArrayNItems() < 1) return false;
    font = descendants.getArrayItem(0);
  }
  QPDFObjectHandle descriptor = font.getKey("/FontDescriptor");
  return descriptor.isDictionary() &&
         (descriptor.hasKey("/FontFile") || descriptor.hasKey("/FontFile2") ||
          descriptor.hasKey("/FontFile3"));
}

QString fontName(QPDFObjectHandle font) {
  QPDFObjectHandle name = font.getKey("/BaseFont");
  return name.isName() ? QString::fromStdString(name.getName().substr(1)) : QStringLiteral("?");
}

QString obstacleOf(const ContentWalk& walk) {
  for (QPDFObjectHandle font : walk.visibleFonts)
    if (!embedded(font))
      return QStringLiteral("text in a font it does not embed (%1)").arg(fontName(font));
  if (walk.cmyk) return QStringLiteral("device CMYK colour");
  if (walk.lzw) return QStringLiteral("LZW compression");
  return {};
}

// How far the image placed by `m` (the unit square) is shown turned clockwise (0, 90, 180 or
// 270) when it covers the page box `box`; -1 when it does not cover it, or is mirrored or
// turned by another angle.
int coveringTurn(const QPDFMatrix& m, const QPDFObjectHandle::Rectangle& box) {
  const QPDFObjectHandle::Matrix v = m.getAsMatrix();
  const double w = box.urx - box.llx, h = box.ury - box.lly;
  const double e = 1e-6 * std::max(w, h);
  int turn = -1;
  if (std::abs(v.b) <= e && std::abs(v.c) <= e) {
    if (v.a > 0 && v.d > 0) turn = 0;
    if (v.a < 0 && v.d < 0) turn = 180;
  } else if (std::abs(v.a) <= e && std::abs(v.d) <= e) {
    // The image's rows run down the page (b < 0) with its top at the right (c > 0): turned
    // clockwise; the other way round, counter-clockwise.
    if (v.b < 0 && v.c > 0) turn = 90;
    if (v.b > 0 && v.c < 0) turn = 270;
  }
  if (turn < 0) return -1;
  const QPDFObjectHandle::Rectangle r = m.transformRectangle({0, 0, 1, 1});
  const bool covering = std::abs(r.llx - box.llx) <= kCoverTolerance * w &&
                        std::abs(r.urx - box.urx) <= kCoverTolerance * w &&
                        std::abs(r.lly - box.lly) <= kCoverTolerance * h &&
                        std::abs(r.ury - box.ury) <= kCoverTolerance * h;
  return covering ? turn : -1;
}

}  // namespace

bool PdfFile::looksLikePdf(const QByteArray& bytes) {
  const qsizetype at = bytes.indexOf("%PDF-");
  return at >= 0 && at < 1024;
}

PdfFile::PdfFile(QByteArray bytes) : bytes_(std::move(bytes)), qpdf_(openQpdf(bytes_)) {
  try {
    pages_ = static_cast<int>(QPDFPageDocumentHelper(*qpdf_).getAllPages().size());
  } catch (const std::exception& e) {
    throw ReleaseError(QStringLiteral("a damaged PDF (%1)").arg(qpdfWords(e)));
  }
  if (pages_ < 1) throw ReleaseError(QStringLiteral("a PDF without pages"));
}

PdfFile::~PdfFile() = default;
PdfFile::PdfFile(PdfFile&&) noexcept = default;

int PdfFile::pageCount() const {
  return pages_;
}

PdfPageFacts PdfFile::facts(int index) const {
  PdfPageFacts f;
  oneImage(index, &f);
  return f;
}

QPDFObjectHandle PdfFile::oneImage(int index, PdfPageFacts* facts) const {
  try {
    QPDFPageObjectHelper page = QPDFPageDocumentHelper(*qpdf_).getAllPages().at(index);
    PdfPageFacts& f = *facts;
    const QPDFObjectHandle::Rectangle box = page.getCropBox().getArrayAsRectangle();
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    f.rotate = rotate.isInteger() ? ((rotate.getIntValueAsInt() % 360) + 360) % 360 : 0;
    if (f.rotate % 90 != 0) f.rotate = 0;
    const double w = std::abs(box.urx - box.llx), h = std::abs(box.ury - box.lly);
    f.size = f.rotate % 180 ? QSizeF(h, w) : QSizeF(w, h);
    if (f.size.isEmpty()) throw ReleaseError(QStringLiteral("a PDF page without a size"));
    ContentWalk walk;
    walk.walk(page.getObjectHandle().getKey("/Contents"), page.getAttribute("/Resources", false),
              true);
    f.carriesText = walk.text;
    const int turn = walk.images == 1 ? coveringTurn(walk.imageMatrix, box) : -1;
    f.oneImage = walk.images == 1 && !walk.otherPainting && turn >= 0;
    if (f.oneImage) f.rotate = (f.rotate + turn) % 360;
    if (f.oneImage) {
      QPDFObjectHandle dict = walk.image.getDict();
      f.imageSize = QSize(dict.getKey("/Width").getIntValueAsInt(),
                          dict.getKey("/Height").getIntValueAsInt());
      if (f.imageSize.isEmpty()) f.oneImage = false;
    }
    if (walk.text) f.archiveObstacle = obstacleOf(walk);
    return f.oneImage ? walk.image : QPDFObjectHandle::newNull();
  } catch (const ReleaseError&) {
    throw;
  } catch (const std::exception& e) {
    throw ReleaseError(QStringLiteral("the PDF page cannot be read (%1)").arg(qpdfWords(e)));
  }
}

}  // namespace zan::release
