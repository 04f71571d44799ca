#pragma once
// Recognition of one page image through Tesseract: orientation detection and the words with
// their boxes, confidences and dictionary verdicts. Not thread-safe: each worker thread owns
// one Recognizer (Tesseract's API objects may not be shared between threads).

#include <QRect>
#include <QString>
#include <QStringList>

#include <atomic>
#include <future>
#include <memory>
#include <vector>

struct Pix;
namespace tesseract {
class TessBaseAPI;
}

namespace zan::release {

// Where the tops of a word's letters point on the image.
enum class TextUp { North = 0, East = 1, South = 2, West = 3 };

struct RecognisedWord {
  QString text;
  QRect box;  // in the image's pixels
  TextUp up = TextUp::North;
  double baseline = 0;   // y of the baseline (North, South) or its x (East, West), in pixels
  double fontSize = 0;   // ascender-to-descender height of the line, in pixels
  float confidence = 0;  // 0..100
  float lowestCharConfidence = 0;  // 0..100
  bool inDictionary = false;
  int paragraph = 0;  // the paragraph it belongs to, counted in reading order from 0
};

struct OrientationGuess {
  bool found = false;
  int degrees = 0;  // how far the content is turned clockwise as scanned: 0, 90, 180 or 270
  float confidence = 0;
};

// The folder of Tesseract's language data: $TESSDATA_PREFIX when set, else Debian's.
QString tessdataFolder();
// The model of orientation detection.
inline const QString kOrientationModel = QStringLiteral("osd");
// The Debian package that ships a model ("deu" -> "tesseract-ocr-deu").
QString languagePackage(const QString& model);
// The Debian packages of those `models` whose data tessdataFolder() lacks, in their order.
QStringList missingLanguagePacks(const QStringList& models);

// One Tesseract per thread: construct and use a Recognizer on the thread that owns it.
class Recognizer {
 public:
  // Also keeps Tesseract's OpenMP loops on the constructing thread: pages are already recognised
  // in parallel, one per worker, and extra OpenMP threads only compete with the workers (on two
  // busy cores a page took four times as long).
  // `userWordsFile`, when given, names a list of words (one a line) that Tesseract adds to the
  // language's dictionary: recognition prefers them and calls them dictionary words.
  explicit Recognizer(const QString& model, const QString& userWordsFile = QString());
  ~Recognizer();
  Recognizer(const Recognizer&) = delete;
  Recognizer& operator=(const Recognizer&) = delete;

  // Starts loading the models that the page about to be processed will need (the language's
  // when `text`, orientation detection's when `orientation`) on threads of their own, so that
  // loading overlaps with reading the page; the first use waits for them.
  void prepare(bool text, bool orientation);

  OrientationGuess detectOrientation(Pix* pix, int dpi);
  // The words of the page in reading order. `singleBlock` reads the page as one block of text;
  // `adaptive` binarises with an adaptive (Sauvola) threshold instead of a global one. When
  // `pictures` is given, it receives the boxes of the regions that layout analysis found to be
  // pictures (none with `singleBlock`).
  std::vector<RecognisedWord> recognise(Pix* pix, int dpi, bool singleBlock, bool adaptive,
                                        std::vector<QRect>* pictures = nullptr);

  // Once `*cancelled` turns true, a recognition under way stops at its next word and recognise()
  // throws ReleaseError(kRecognitionCancelled). Null, the default: recognition runs to its end.
  // The flag is read from this Recognizer's thread and may be set from any other.
  void setCancelFlag(const std::atomic<bool>* cancelled) { cancelled_ = cancelled; }

  // How many Recognizers exist in the process: each holds its models (tens of MB) until it ends.
  static int living();

 private:
  QString model_, userWordsFile_;
  tesseract::TessBaseAPI& text();
  tesseract::TessBaseAPI& orientation();

  std::unique_ptr<tesseract::TessBaseAPI> text_, orientation_;
  std::future<std::unique_ptr<tesseract::TessBaseAPI>> textLoading_, orientationLoading_;
  const std::atomic<bool>* cancelled_ = nullptr;
};

// The message of a recognition stopped through Recognizer::setCancelFlag.
inline const QString kRecognitionCancelled = QStringLiteral("recognition cancelled");

// How well a reading of a page in one orientation went: the letters of its upright dictionary
// words, each weighted by its word's confidence. Read upside down, a page yields many words
// but few known ones; read sideways, Tesseract reads its lines as vertical text, which does
// not count either.
double readingScore(const std::vector<RecognisedWord>& words);

}  // namespace zan::release
