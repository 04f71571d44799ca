#include "release/recognizer.h"

#include "release/release_error.h"

#include <QFile>
#include <QFileInfo>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

namespace zan::release {
namespace {

std::atomic<int> livingRecognizers{0};

const QString kDebianTessdata = QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");

bool hasModel(const QString& model) {
  return QFileInfo(tessdataFolder() + QLatin1Char('/') + model + QStringLiteral(".traineddata"))
      .isReadable();
}

std::unique_ptr<tesseract::TessBaseAPI> startTesseract(const QString& model,
                                                       tesseract::OcrEngineMode mode,
                                                       const QString& userWordsFile = QString()) {
  auto api = std::make_unique<tesseract::TessBaseAPI>();
  const QByteArray folder = QFile::encodeName(tessdataFolder());
  // The user words are read only while Tesseract starts: they cannot be set afterwards.
  std::vector<std::string> names, values;
  if (!userWordsFile.isEmpty()) {
    names.emplace_back("user_words_file");
    values.emplace_back(QFile::encodeName(userWordsFile).toStdString());
  }
  if (api->Init(folder.constData(), model.toUtf8().constData(), mode, nullptr, 0, &names, &values,
                false) != 0)
    throw ReleaseError(QStringLiteral("Tesseract cannot load the language data \"%1\" from %2")
                           .arg(model, tessdataFolder()));
  api->SetVariable("debug_file", "/dev/null");  // its notes would interleave with our output
  return api;
}

// A text line: its box, the row's text height and descender depth in pixels, and Tesseract's
// baseline through it when it gives one.
struct Line {
  QRect box;
  double height = 0;
  double descent = 0;
  bool hasBaseline = false;
  QPointF baselineFrom, baselineTo;
};

bool across(TextUp up) {
  return up == TextUp::North || up == TextUp::South;
}

// Where the tops of the current word's letters point. Without orientation detection Tesseract
// calls every block upright, but reads a line of a page fed in sideways from top to bottom.
TextUp textUp(const tesseract::ResultIterator& it) {
  tesseract::Orientation orientation = tesseract::ORIENTATION_PAGE_UP;
  tesseract::WritingDirection direction = tesseract::WRITING_DIRECTION_LEFT_TO_RIGHT;
  tesseract::TextlineOrder order;
  float deskew = 0;
  it.Orientation(&orientation, &direction, &order, &deskew);
  if (orientation == tesseract::ORIENTATION_PAGE_UP &&
      direction == tesseract::WRITING_DIRECTION_TOP_TO_BOTTOM)
    return TextUp::East;
  return static_cast<TextUp>(orientation);
}

Line lineAt(const tesseract::ResultIterator& it, TextUp up) {
  Line line;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  it.BoundingBox(tesseract::RIL_TEXTLINE, &x0, &y0, &x1, &y1);
  line.box = QRect(x0, y0, x1 - x0, y1 - y0);
  float rowHeight = 0, descenders = 0, ascenders = 0;
  it.RowAttributes(&rowHeight, &descenders, &ascenders);
  line.height = rowHeight > 0 ? rowHeight : (across(up) ? line.box.height() : line.box.width());
  line.descent = std::fabs(descenders);
  if (it.Baseline(tesseract::RIL_TEXTLINE, &x0, &y0, &x1, &y1) &&
      (across(up) ? x1 != x0 : y1 != y0)) {
    line.hasBaseline = true;
    line.baselineFrom = QPointF(x0, y0);
    line.baselineTo = QPointF(x1, y1);
  }
  return line;
}

// The baseline of a word on `line`, across the reading direction: a y for upright or upside
// down text, an x for text turned sideways. Tesseract's own where it gives one (skew
// included), else the side of the line box opposite the letters' tops, moved in by the descent.
double baselineOf(const Line& line, const QRect& word, TextUp up) {
  if (line.hasBaseline) {
    const QPointF& a = line.baselineFrom;
    const QPointF& b = line.baselineTo;
    if (across(up)) return a.y() + (word.center().x() - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
    return a.x() + (word.center().y() - a.y()) / (b.y() - a.y()) * (b.x() - a.x());
  }
  switch (up) {
    case TextUp::North:
      return line.box.top() + line.box.height() - line.descent;
    case TextUp::East:
      return line.box.left() + line.descent;
    case TextUp::South:
      return line.box.top() + line.descent;
    case TextUp::West:
      return line.box.left() + line.box.width() - line.descent;
  }
  return 0;
}

float lowestSymbolConfidence(const tesseract::ResultIterator& word) {
  tesseract::ResultIterator symbol(word);
  float lowest = 100;
  do {
    lowest = std::min(lowest, symbol.Confidence(tesseract::RIL_SYMBOL));
  } while (!symbol.IsAtFinalElement(tesseract::RIL_WORD, tesseract::RIL_SYMBOL) &&
           symbol.Next(tesseract::RIL_SYMBOL));
  return std::max(lowest, 0.0f);
}

}  // namespace

QString tessdataFolder() {
  const QByteArray prefix = qgetenv("TESSDATA_PREFIX");
  return prefix.isEmpty() ? kDebianTessdata : QFile::decodeName(prefix);
}

QString languagePackage(const QString& model) {
  return QStringLiteral("tesseract-ocr-") + model;
}

QStringList missingLanguagePacks(const QStringList& models) {
  QStringList missing;
  for (const QString& model : models)
    if (!hasModel(model)) missing << languagePackage(model);
  return missing;
}

Recognizer::Recognizer(const QString& model, const QString& userWordsFile)
    : model_(model), userWordsFile_(userWordsFile) {
  // No active parallel level on this thread: every OpenMP region Tesseract opens here runs with
  // a team of one, whatever thread count the region asks for.
  omp_set_max_active_levels(0);
  ++livingRecognizers;
}

int Recognizer::living() {
  return livingRecognizers;
}

Recognizer::~Recognizer() {
  // A model still loading is waited for (its thread owns nothing else); its failure no longer
  // matters.
  for (auto* loading : {&textLoading_, &orientationLoading_}) {
    try {
      if (loading->valid()) loading->get();
    } catch (const ReleaseError&) {
    }
  }
  --livingRecognizers;
}

void Recognizer::prepare(bool text, bool orientation) {
  if (text && !text_ && !textLoading_.valid())
    textLoading_ = std::async(std::launch::async, [model = model_, words = userWordsFile_] {
      return startTesseract(model, tesseract::OEM_LSTM_ONLY, words);
    });
  if (orientation && !orientation_ && !orientationLoading_.valid())
    orientationLoading_ = std::async(std::launch::async, [] {
      // The orientation data has no LSTM model; it runs on Tesseract's classic classifier.
      auto api = startTesseract(kOrientationModel, tesseract::OEM_TESSERACT_ONLY);
      api->SetPageSegMode(tesseract::PSM_OSD_ONLY);
      return api;
    });
}

tesseract::TessBaseAPI& Recognizer::text() {
  if (!text_) {
    prepare(true, false);
    text_ = textLoading_.get();  // throws what loading threw
  }
  return *text_;
}

tesseract::TessBaseAPI& Recognizer::orientation() {
  if (!orientation_) {
    prepare(false, true);
    orientation_ = orientationLoading_.get();
  }
  return *orientation_;
}

OrientationGuess Recognizer::detectOrientation(Pix* pix, int dpi) {
  tesseract::TessBaseAPI& api = orientation();
  api.SetImage(pix);
  api.SetSourceResolution(dpi);
  OrientationGuess guess;
  const char* script = nullptr;
  float scriptConfidence = 0;
  guess.found =
      api.DetectOrientationScript(&guess.degrees, &guess.confidence, &script, &scriptConfidence);
  api.Clear();
  if (!guess.found) guess = {};
  return guess;
}

std::vector<RecognisedWord> Recognizer::recognise(Pix* pix, int dpi, bool singleBlock,
                                                  bool adaptive, std::vector<QRect>* pictures) {
  text();
  text_->SetPageSegMode(singleBlock ? tesseract::PSM_SINGLE_BLOCK : tesseract::PSM_AUTO);
  text_->SetVariable("thresholding_method", adaptive ? "2" : "0");
  text_->SetImage(pix);
  text_->SetSourceResolution(dpi);
  // Tesseract asks its monitor whether to go on before each word; a stop it obeyed counts, a
  // flag set after the last word does not.
  struct Stop {
    const std::atomic<bool>* flag;
    bool obeyed = false;
  } stop{cancelled_};
  tesseract::ETEXT_DESC monitor;
  monitor.cancel_this = &stop;
  monitor.cancel = [](void* data, int) {
    auto* s = static_cast<Stop*>(data);
    s->obeyed = s->obeyed || s->flag->load(std::memory_order_relaxed);
    return s->obeyed;
  };
  const int status = text_->Recognize(cancelled_ ? &monitor : nullptr);
  if (stop.obeyed) {
    text_->Clear();
    throw ReleaseError(kRecognitionCancelled);
  }
  if (status != 0) throw ReleaseError(QStringLiteral("recognition failed"));

  std::vector<RecognisedWord> words;
  std::unique_ptr<tesseract::ResultIterator> it(text_->GetIterator());
  if (pictures && it) {
    tesseract::PageIterator blocks(*it);
    do {
      if (!PTIsImageType(blocks.BlockType())) continue;
      int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      if (blocks.BoundingBox(tesseract::RIL_BLOCK, &x0, &y0, &x1, &y1))
        pictures->push_back(QRect(x0, y0, x1 - x0, y1 - y0));
    } while (blocks.Next(tesseract::RIL_BLOCK));
  }
  if (it && !it->Empty(tesseract::RIL_WORD)) {
    Line line;
    int paragraph = -1;
    do {
      if (it->Empty(tesseract::RIL_WORD)) continue;
      if (it->IsAtBeginningOf(tesseract::RIL_PARA) || paragraph < 0) ++paragraph;
      const std::unique_ptr<const char[]> utf8(it->GetUTF8Text(tesseract::RIL_WORD));
      RecognisedWord w;
      w.text = QString::fromUtf8(utf8.get()).trimmed();
      if (w.text.isEmpty()) continue;
      w.up = textUp(*it);
      if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) || line.height <= 0)
        line = lineAt(*it, w.up);
      int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      it->BoundingBox(tesseract::RIL_WORD, &x0, &y0, &x1, &y1);
      w.box = QRect(x0, y0, x1 - x0, y1 - y0);
      w.baseline = baselineOf(line, w.box, w.up);
      w.fontSize = line.height;
      w.confidence = std::clamp(it->Confidence(tesseract::RIL_WORD), 0.0f, 100.0f);
      w.lowestCharConfidence = lowestSymbolConfidence(*it);
      w.inDictionary = it->WordIsFromDictionary();
      w.paragraph = paragraph;
      words.push_back(std::move(w));
    } while (it->Next(tesseract::RIL_WORD));
  }
  text_->Clear();
  return words;
}

double readingScore(const std::vector<RecognisedWord>& words) {
  double score = 0;
  for (const RecognisedWord& w : words)
    if (w.inDictionary && w.up == TextUp::North) score += w.confidence / 100.0 * w.text.size();
  return score;
}

}  // namespace zan::release
