#include "mark_style.h"

#include <QCoreApplication>

namespace zan::preview {
namespace {

struct Style {
  const char* key;
  QRgb colour;
  const char* name;
};

// Colours apart for the common forms of colour blindness (Okabe and Ito's palette).
const Style kStyles[] = {
    {"LowOcrConfidence", qRgb(230, 159, 0),
     QT_TRANSLATE_NOOP("zan::preview::Marks", "low confidence")},
    {"WordNotInDictionary", qRgb(213, 94, 0),
     QT_TRANSLATE_NOOP("zan::preview::Marks", "not in the dictionary")},
    {"MixedCases", qRgb(204, 121, 167), QT_TRANSLATE_NOOP("zan::preview::Marks", "mixed case")},
    {"LowFontConfidence", qRgb(0, 114, 178),
     QT_TRANSLATE_NOOP("zan::preview::Marks", "low font confidence")},
    {"MixedAlphaNumeric", qRgb(0, 158, 115),
     QT_TRANSLATE_NOOP("zan::preview::Marks", "letters and digits")},
    {"NumericOnly", qRgb(86, 180, 233), QT_TRANSLATE_NOOP("zan::preview::Marks", "number")},
};

const Style* styleOf(const QString& reason) {
  for (const Style& s : kStyles)
    if (reason == QLatin1String(s.key)) return &s;
  return nullptr;
}

}  // namespace

const QStringList& suspectReasonKeys() {
  static const QStringList keys = [] {
    QStringList k;
    for (const Style& s : kStyles) k << QLatin1String(s.key);
    return k;
  }();
  return keys;
}

QColor reasonColour(const QString& reason) {
  const Style* s = styleOf(reason);
  return s ? QColor(s->colour) : QColor(Qt::gray);
}

QString reasonName(const QString& reason) {
  const Style* s = styleOf(reason);
  return s ? QCoreApplication::translate("zan::preview::Marks", s->name) : reason;
}

}  // namespace zan::preview
