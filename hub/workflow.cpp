#include "hub/workflow.h"

#include "release/release_error.h"

#include <QStringDecoder>
#include <QStringList>

#include <functional>
#include <map>

namespace zan::hub {
namespace {

using release::ReleaseError;

const std::map<QString, int> kAccuracy = {{QStringLiteral("fastest"), 1},
                                          {QStringLiteral("fast"), 2},
                                          {QStringLiteral("normal"), 4},
                                          {QStringLiteral("accurate"), 8},
                                          {QStringLiteral("most accurate"), 16}};

bool yesNo(const QString& value, bool* ok) {
  const QString v = value.toLower();
  *ok = true;
  if (v == QLatin1String("yes") || v == QLatin1String("true") || v == QLatin1String("on"))
    return true;
  if (v == QLatin1String("no") || v == QLatin1String("false") || v == QLatin1String("off"))
    return false;
  *ok = false;
  return false;
}

int number(const QString& value, int least, int most, bool* ok) {
  const int n = value.toInt(ok);
  *ok = *ok && n >= least && n <= most;
  return n;
}

}  // namespace

Workflow parseWorkflow(const QString& name, const QByteArray& text) {
  auto decode = QStringDecoder(QStringDecoder::Utf8);
  const QString decoded = decode(text);
  if (decode.hasError()) throw ReleaseError(QStringLiteral("the workflow is not UTF-8 text"));

  Workflow w;
  w.name = name;
  // Each key's reader returns false when the value is not one it accepts.
  const std::map<QString, std::pair<QString, std::function<bool(const QString&)>>> keys = {
      {QStringLiteral("description"),
       {QStringLiteral("a text"), [&](const QString& v) { return w.description = v, true; }}},
      {QStringLiteral("recognition"),
       {QStringLiteral("yes or no"),
        [&](const QString& v) {
          bool ok = false;
          w.recognition = yesNo(v, &ok);
          return ok;
        }}},
      {QStringLiteral("accuracy"),
       {QStringLiteral("Fastest, Fast, Normal, Accurate or Most Accurate"),
        [&](const QString& v) {
          const auto level = kAccuracy.find(v.simplified().toLower());
          if (level == kAccuracy.end()) return false;
          w.accuracy = level->second;
          return true;
        }}},
      {QStringLiteral("imageresolution"),
       {QStringLiteral("a resolution from 50 to 1200 dpi"),
        [&](const QString& v) {
          bool ok = false;
          w.imageResolution = number(v, 50, 1200, &ok);
          return ok;
        }}},
      {QStringLiteral("imagequality"),
       {QStringLiteral("a JPEG quality from 1 to 100"),
        [&](const QString& v) {
          bool ok = false;
          w.imageQuality = number(v, 1, 100, &ok);
          return ok;
        }}},
      {QStringLiteral("thumbnailsize"),
       {QStringLiteral("a size from 16 to 512 pixels"),
        [&](const QString& v) {
          bool ok = false;
          w.thumbnailSize = number(v, 16, 512, &ok);
          return ok;
        }}},
  };

  int lineNumber = 0;
  for (const QString& raw : decoded.split(QLatin1Char('\n'))) {
    ++lineNumber;
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon <= 0)
      throw ReleaseError(QStringLiteral("workflow line %1: \"%2\" is not \"Key: value\"")
                             .arg(lineNumber)
                             .arg(line));
    const QString key = line.left(colon).trimmed();
    const QString value = line.mid(colon + 1).trimmed();
    const auto reader = keys.find(key.toLower());
    if (reader == keys.end())
      throw ReleaseError(
          QStringLiteral("workflow line %1: unknown key \"%2\"").arg(lineNumber).arg(key));
    if (!reader->second.second(value))
      throw ReleaseError(QStringLiteral("workflow line %1: %2 must be %3, not \"%4\"")
                             .arg(lineNumber)
                             .arg(key, reader->second.first, value));
  }
  return w;
}

}  // namespace zan::hub
