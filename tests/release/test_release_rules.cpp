// The release engine's rules, without recognising a page: which words are suspect, which
// stored OCR settings are refused, how batch files are read, which words become links.
#include "release/batch.h"
#include "release/page_pipeline.h"
#include "release/release_error.h"
#include "release/release_options.h"
#include "release/suspect_words.h"
#include "release/word_links.h"
#include "settings/pdf_settings.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

using namespace zan::release;

namespace {

struct SuspectCase {
  const char* fault;  // what a wrong verdict would mean
  const char* text;
  float confidence, lowestChar;
  bool inDictionary;
  const char* reasons;  // expected, joined by ","
  std::function<void(SuspectMarkers&)> markers = nullptr;
};

SuspectMarkers allMarkers() {
  SuspectMarkers m;
  m.lowOcrConfidence = m.wordNotInDictionary = m.mixedCases = m.lowFontConfidence =
      m.mixedAlphaNumeric = m.numericOnly = true;
  m.confidenceThreshold = 80;
  return m;
}

}  // namespace

TEST(SuspectWords, EachMarkerAppliesExactlyToItsWords) {
  const SuspectCase cases[] = {
      {"a sound word marked", "Invoice", 96, 99, true, ""},
      {"surrounding punctuation judged", "(Invoice,", 96, 99, true, ""},
      {"garbled word missed", "Xqwzvbtk", 92, 97, false, "WordNotInDictionary"},
      {"low confidence missed", "contract", 48, 95, true, "LowOcrConfidence"},
      {"threshold itself counted as low", "contract", 80, 80, true, ""},
      {"weak letter missed", "contract", 95, 61, true, "LowFontConfidence"},
      {"inner capital missed", "iPhone", 95, 99, true, "MixedCases"},
      {"inner capitals missed", "McDonald", 95, 99, true, "MixedCases"},
      {"capitalised word marked", "Hello", 95, 99, true, ""},
      {"capitals marked", "USA", 95, 99, true, ""},
      {"letters and digits missed", "C3PO", 95, 99, true, "MixedAlphaNumeric"},
      {"number missed, or called no word", "4711", 95, 99, false, "NumericOnly"},
      {"decimal number missed", "12.50", 95, 99, false, "NumericOnly"},
      {"reasons out of order", "x9Y", 40, 30, false,
       "LowOcrConfidence,WordNotInDictionary,MixedCases,LowFontConfidence,MixedAlphaNumeric"},
      {"unchecked markers applied", "x9Y", 40, 30, false, "",
       [](SuspectMarkers& m) { m = SuspectMarkers(); }},
      {"known word not honoured", "Xqwzvbtk", 92, 97, false, "",
       [](SuspectMarkers& m) { m.knownWords.insert("xqwzvbtk"); }},
  };
  for (const SuspectCase& c : cases) {
    SuspectMarkers markers = allMarkers();
    if (c.markers) c.markers(markers);
    RecognisedWord w;
    w.text = QString::fromUtf8(c.text);
    w.confidence = c.confidence;
    w.lowestCharConfidence = c.lowestChar;
    w.inDictionary = c.inDictionary;
    EXPECT_EQ(suspectReasons(w, markers).join(QLatin1Char(',')), QString::fromUtf8(c.reasons))
        << c.fault;
  }
}

// Re-marking kept words must give exactly what marking them after recognition gave, and must
// drop a note whose reasons no longer apply (a preview that keeps stale marks).
TEST(SuspectWords, RemarkedFromKeptConfidencesForANewThreshold) {
  const auto placed = [](const char* text, float confidence, float font, bool inDictionary) {
    PlacedWord w;
    w.text = QString::fromUtf8(text);
    w.confidence = confidence;
    w.fontConfidence = font;
    w.inDictionary = inDictionary;
    return w;
  };
  std::vector<PlacedWord> words{placed("contract", 70, 90, true), placed("Xqwzvbtk", 93, 96, false),
                                placed("Invoice", 97, 99, true)};
  const struct {
    int threshold;
    bool dictionary;
    const char* expected;  // reasons per word, "|" between words
  } steps[] = {{80, true, "LowOcrConfidence|WordNotInDictionary|"},
               {60, true, "|WordNotInDictionary|"},
               {95, false, "LowOcrConfidence,LowFontConfidence|LowOcrConfidence|"},
               {98, true,
                "LowOcrConfidence,LowFontConfidence|"
                "LowOcrConfidence,WordNotInDictionary,LowFontConfidence|LowOcrConfidence"}};
  for (const auto& step : steps) {
    SuspectMarkers markers;
    markers.lowOcrConfidence = markers.lowFontConfidence = true;
    markers.wordNotInDictionary = step.dictionary;
    markers.confidenceThreshold = step.threshold;
    markSuspects(words, markers);
    QStringList got;
    for (const PlacedWord& w : words) {
      got << w.reasons.join(QLatin1Char(','));
      RecognisedWord r;
      r.text = w.text;
      r.confidence = w.confidence;
      r.lowestCharConfidence = w.fontConfidence;
      r.inDictionary = w.inDictionary;
      EXPECT_EQ(w.reasons, suspectReasons(r, markers)) << step.threshold;
      EXPECT_EQ(w.note.isEmpty(), w.reasons.isEmpty()) << qPrintable(w.text);
      if (!w.reasons.isEmpty()) {
        EXPECT_EQ(w.note, suspectNote(r, w.reasons, markers));
      }
    }
    EXPECT_EQ(got.join(QLatin1Char('|')), QString::fromUtf8(step.expected)) << step.threshold;
  }
}

TEST(OcrOptions, StoredSettingsBecomeOptionsOrAreRefused) {
  struct Case {
    const char* fault;
    std::function<void(zan::PdfSettings&)> set;
    const char* refusal;  // nullptr: accepted
    std::function<bool(const ReleaseOptions&)> check = nullptr;
  };
  const Case cases[] = {
      {"orientations shifted",
       [](auto& s) {
         s.setRotate0(false);
         s.setRotate180(true);
       },
       nullptr,
       [](const ReleaseOptions& o) {
         return o.orientations == std::array<bool, 4>{false, false, true, false};
       }},
      {"no orientation refused instead of leaving pages as scanned",
       [](auto& s) { s.setRotate0(false); }, nullptr,
       [](const ReleaseOptions& o) { return !o.detectsOrientation(); }},
      {"an accuracy between the levels accepted", [](auto& s) { s.setAccuracy(3); },
       "The accuracy 3 is invalid"},
      {"an unknown language accepted", [](auto& s) { s.setOcrLanguage(9); },
       "The language 9 is invalid"},
      {"a threshold above 100 accepted", [](auto& s) { s.setConfidenceThreshold(101); },
       "The confidence threshold 101 is invalid"},
      {"a document field checked from another field's settings",
       [](auto& s) { s.KeywordsField().setFieldType(7); }, "The PDF document Keywords is invalid"},
      {"a document field taken from another field's settings",
       [](auto& s) {
         s.SubjectField().setFieldType(zan::kFieldBatchField);
         s.SubjectField().setFieldName("Customer");
       },
       nullptr,
       [](const ReleaseOptions& o) {
         return o.subject.FieldType() == zan::kFieldBatchField &&
                o.subject.FieldName() == QLatin1String("Customer") &&
                o.title.FieldName().isEmpty() && o.keywords.FieldType() == zan::kFieldTextConstant;
       }},
  };
  for (const Case& c : cases) {
    zan::PdfSettings settings;
    c.set(settings);
    try {
      const ReleaseOptions o = optionsFromOcrSettings(settings);
      EXPECT_EQ(c.refusal, nullptr) << c.fault;
      if (c.check) {
        EXPECT_TRUE(c.check(o)) << c.fault;
      }
    } catch (const ReleaseError& e) {
      ASSERT_NE(c.refusal, nullptr) << c.fault << ": " << e.what();
      EXPECT_TRUE(e.message().startsWith(QLatin1String(c.refusal))) << c.fault << ": " << e.what();
    }
  }
}

TEST(BatchFile, ReadOrRefusedWithTheProblem) {
  struct Case {
    const char* fault;
    const char* json;
    const char* problem;  // nullptr: accepted
  };
  const Case cases[] = {
      {"a list accepted as a batch", "[]", "not a JSON object"},
      {"a batch without documents accepted", "{\"name\": \"B\"}", "no \"documents\" list"},
      {"a document without pages accepted", "{\"documents\": [{\"pages\": []}]}",
       "document 1 has no \"pages\" list"},
      {"a page that is no file name accepted", "{\"documents\": [{\"pages\": [\"a.png\", 7]}]}",
       "document 1 lists a page that is not a file name"},
      {"an object taken as a field value",
       "{\"documents\": [{\"pages\": [\"a.png\"], \"indexFields\": {\"T\": {}}}]}",
       "document 1: index field \"T\" is neither a text nor a number"},
      {"batch fields of the wrong shape accepted",
       "{\"batchFields\": [], \"documents\": [{\"pages\": [\"a.png\"]}]}",
       "batch fields (\"batchFields\") are not an object"},
      {"a sound batch refused",
       "{\"name\": \"B\", \"batchFields\": {\"Operator\": \"Ada\"}, \"documents\": "
       "[{\"pages\": [\"sub/a.png\", \"/abs/b.tif\"], \"indexFields\": {\"Number\": 4711}}]}",
       nullptr},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath("batch.json");
  for (const Case& c : cases) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(c.json);
    file.close();
    try {
      const Batch batch = loadBatch(path);
      ASSERT_EQ(c.problem, nullptr) << c.fault;
      EXPECT_EQ(batch.name, "B");
      EXPECT_EQ(batch.batchFields.value("Operator"), "Ada");
      // Page paths are relative to the batch file's folder; numbers become their text.
      EXPECT_EQ(batch.documents.at(0).pages,
                QStringList({dir.filePath("sub/a.png"), "/abs/b.tif"}));
      EXPECT_EQ(batch.documents.at(0).indexFields.value("Number"), "4711");
    } catch (const ReleaseError& e) {
      ASSERT_NE(c.problem, nullptr) << c.fault << ": " << e.what();
      EXPECT_TRUE(e.message().contains(QLatin1String(c.problem))) << c.fault << ": " << e.what();
      EXPECT_TRUE(e.message().contains(path)) << "the message names the file";
    }
  }
  // A missing batch file is named as such.
  EXPECT_THROW(loadBatch(dir.filePath("none.json")), ReleaseError);
}

TEST(LinkTargets, AddressesBecomeLinksOtherWordsDoNot) {
  const struct {
    const char* fault;
    const char* word;
    const char* link;  // empty: no link
  } cases[] = {
      {"a web address without a scheme missed", "www.example.com", "https://www.example.com"},
      {"trailing punctuation linked", "(www.example.com/forms).", "https://www.example.com/forms"},
      {"a full address rewritten", "http://example.org/a?b=1", "http://example.org/a?b=1"},
      {"a secure address rewritten", "HTTPS://Example.org", "HTTPS://Example.org"},
      {"an e-mail address missed", "info@example.org,", "mailto:info@example.org"},
      {"an umlaut address missed", "müller@beispiel.de", "mailto:müller@beispiel.de"},
      {"a sentence end taken for an address", "end.Next", ""},
      {"a version number linked", "v1.2.3", ""},
      {"a bare host linked", "example.com", ""},
      {"an at sign alone linked", "@", ""},
      {"a handle linked", "@example", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(linkTarget(QString::fromUtf8(c.word)), QString::fromUtf8(c.link)) << c.fault;
}
