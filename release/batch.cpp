#include "release/batch.h"

#include "release/file_access.h"
#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zan::release {
namespace {

// A batch file lists pages and fields: far less than this.
constexpr qint64 kLongestBatchFile = 16LL * 1024 * 1024;

class BatchReader {
 public:
  explicit BatchReader(const QString& path) : path_(path) {}

  [[noreturn]] void refuse(const QString& problem) const {
    throw ReleaseError(QStringLiteral("batch '%1': %2").arg(printable(path_), problem));
  }

  QJsonObject root() const {
    QByteArray text;
    try {
      text = readFile(path_, {kLongestBatchFile});
    } catch (const ReleaseError& e) {
      refuse(e.message());
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
      refuse(
          QStringLiteral("not JSON (%1 at offset %2)").arg(error.errorString()).arg(error.offset));
    if (!doc.isObject()) refuse(QStringLiteral("not a JSON object"));
    return doc.object();
  }

  // The object under `key` of `o`; `what` names one entry in messages ("batch field").
  QMap<QString, QString> fields(const QJsonObject& parent, const QString& key,
                                const QString& what) const {
    QMap<QString, QString> fields;
    const QJsonValue v = parent.value(key);
    if (v.isUndefined()) return fields;
    if (!v.isObject()) refuse(QStringLiteral("%1s (\"%2\") are not an object").arg(what, key));
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
      if (it.value().isString())
        fields.insert(it.key(), it.value().toString());
      else if (it.value().isDouble())
        fields.insert(it.key(), QString::number(it.value().toDouble(), 'g', 15));
      else
        refuse(QStringLiteral("%1 \"%2\" is neither a text nor a number").arg(what, it.key()));
    }
    return fields;
  }

  BatchDocument document(const QJsonValue& v, int number) const {
    const QString where = QStringLiteral("document %1").arg(number);
    if (!v.isObject()) refuse(QStringLiteral("%1 is not an object").arg(where));
    const QJsonObject o = v.toObject();
    const QJsonValue pages = o.value(QStringLiteral("pages"));
    if (!pages.isArray() || pages.toArray().isEmpty())
      refuse(QStringLiteral("%1 has no \"pages\" list").arg(where));
    BatchDocument d;
    const QDir folder = QFileInfo(path_).absoluteDir();
    for (const QJsonValue& page : pages.toArray()) {
      if (!page.isString() || page.toString().isEmpty())
        refuse(QStringLiteral("%1 lists a page that is not a file name").arg(where));
      d.pages << QDir::cleanPath(folder.absoluteFilePath(page.toString()));
    }
    d.indexFields =
        fields(o, QStringLiteral("indexFields"), where + QStringLiteral(": index field"));
    return d;
  }

 private:
  QString path_;
};

}  // namespace

Batch loadBatch(const QString& path) {
  const BatchReader reader(path);
  const QJsonObject root = reader.root();
  Batch batch;
  const QJsonValue name = root.value(QStringLiteral("name"));
  if (!name.isUndefined() && !name.isString())
    reader.refuse(QStringLiteral("\"name\" is not a text"));
  batch.name = name.toString();
  batch.batchFields =
      reader.fields(root, QStringLiteral("batchFields"), QStringLiteral("batch field"));
  const QJsonValue documents = root.value(QStringLiteral("documents"));
  if (!documents.isArray() || documents.toArray().isEmpty())
    reader.refuse(QStringLiteral("no \"documents\" list"));
  int number = 0;
  for (const QJsonValue& d : documents.toArray())
    batch.documents.push_back(reader.document(d, ++number));
  return batch;
}

}  // namespace zan::release
