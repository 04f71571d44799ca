#include "release/suspect_words.h"

#include "settings/settings_table.h"

namespace zan::release {
namespace {

// The word without the punctuation around it ("(Invoice," -> "Invoice").
QString core(const QString& text) {
  qsizetype from = 0, to = text.size();
  while (from < to && !text.at(from).isLetterOrNumber()) ++from;
  while (to > from && !text.at(to - 1).isLetterOrNumber()) --to;
  return text.mid(from, to - from);
}

struct Letters {
  bool upper = false, lower = false, letter = false, digit = false, other = false;
  bool capitalised = true;  // the first letter is a capital and all others are lower case
};

Letters lettersOf(const QString& word) {
  Letters l;
  bool first = true;
  for (const QChar c : word) {
    if (c.isLetter()) {
      l.letter = true;
      l.upper |= c.isUpper();
      l.lower |= c.isLower();
      if (first ? !c.isUpper() : !c.isLower()) l.capitalised = false;
      first = false;
    } else if (c.isDigit()) {
      l.digit = true;
    } else if (c != QLatin1Char('.') && c != QLatin1Char(',')) {
      l.other = true;
    }
  }
  return l;
}

// A reason is named by the setting that asks for it.
QLatin1String reasonOf(Setting setting) {
  return QLatin1String(settingRow(setting).key);
}

}  // namespace

QStringList suspectReasons(const RecognisedWord& word, const SuspectMarkers& markers) {
  const QString w = core(word.text);
  const Letters l = lettersOf(w);
  const double threshold = markers.confidenceThreshold;
  QStringList reasons;
  if (markers.lowOcrConfidence && word.confidence < threshold)
    reasons << reasonOf(Setting::LowOcrConfidence);
  if (markers.wordNotInDictionary && l.letter && !word.inDictionary &&
      !markers.knownWords.contains(w.toLower()))
    reasons << reasonOf(Setting::WordNotInDictionary);
  if (markers.mixedCases && l.upper && l.lower && !l.capitalised)
    reasons << reasonOf(Setting::MixedCases);
  if (markers.lowFontConfidence && word.lowestCharConfidence < threshold)
    reasons << reasonOf(Setting::LowFontConfidence);
  if (markers.mixedAlphaNumeric && l.letter && l.digit)
    reasons << reasonOf(Setting::MixedAlphaNumeric);
  if (markers.numericOnly && l.digit && !l.letter && !l.other)
    reasons << reasonOf(Setting::NumericOnly);
  return reasons;
}

QString suspectNote(const RecognisedWord& word, const QStringList& reasons,
                    const SuspectMarkers& markers) {
  QStringList why;
  const int threshold = markers.confidenceThreshold;
  for (const QString& r : reasons) {
    if (r == reasonOf(Setting::LowOcrConfidence))
      why << QStringLiteral("recognised with %1 % confidence, below %2 %")
                 .arg(qRound(word.confidence))
                 .arg(threshold);
    else if (r == reasonOf(Setting::WordNotInDictionary))
      why << QStringLiteral("not in the dictionary");
    else if (r == reasonOf(Setting::MixedCases))
      why << QStringLiteral("mixes upper and lower case");
    else if (r == reasonOf(Setting::LowFontConfidence))
      why << QStringLiteral("its least certain character has %1 % confidence, below %2 %")
                 .arg(qRound(word.lowestCharConfidence))
                 .arg(threshold);
    else if (r == reasonOf(Setting::MixedAlphaNumeric))
      why << QStringLiteral("mixes letters and digits");
    else if (r == reasonOf(Setting::NumericOnly))
      why << QStringLiteral("a number, to be checked");
  }
  return QStringLiteral("Suspect word \"%1\": %2.").arg(word.text, why.join(QStringLiteral("; ")));
}

}  // namespace zan::release
