#pragma once
// Which recognised words a reviewer should check, and why.

#include "release/recognizer.h"
#include "release/release_options.h"

#include <QString>
#include <QStringList>

namespace zan::release {

// The markers that apply to `word`, named as the settings name them ("LowOcrConfidence",
// "WordNotInDictionary", "MixedCases", "LowFontConfidence", "MixedAlphaNumeric",
// "NumericOnly"), in that order; empty when the word is not suspect. Leading and trailing
// punctuation does not count as part of the word.
QStringList suspectReasons(const RecognisedWord& word, const SuspectMarkers& markers);

// The text of the annotation that marks a suspect word, naming each reason in words.
QString suspectNote(const RecognisedWord& word, const QStringList& reasons,
                    const SuspectMarkers& markers);

}  // namespace zan::release
