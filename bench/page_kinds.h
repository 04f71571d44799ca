#pragma once
// The kinds of scanned page the release step meets, generated on the spot with the text each
// holds: a text page, a page fed in turned, a bilevel scan, a photo of a document, a picture with
// a few words, an old book's page, a tiny page scanned at a high resolution and a long page.

#include <QString>
#include <QStringList>

#include <vector>

namespace zan::bench {

struct PageKind {
  QString name;      // "text page", ...
  QString key;       // for file and benchmark names: "TextPage"
  QString file;      // the page image, written by writePageKinds()
  QStringList text;  // the lines drawn on it, for word accuracy
};

// Writes one page of each kind into `folder`.
std::vector<PageKind> writePageKinds(const QString& folder);

// The words of `text` as compared for accuracy: split at white space, lower case, without
// punctuation around them.
QStringList comparableWords(const QString& text);

// Word accuracy as the F1 score (0 to 1) of the words found against those expected, each word
// counted as often as it occurs.
double wordF1(const QStringList& expected, const QStringList& found);

}  // namespace zan::bench
