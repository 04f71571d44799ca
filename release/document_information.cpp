#include "release/document_information.h"

namespace zan::release {
namespace {

QString resolve(const DocInfoField& field, const QString& caption, const Batch& batch,
                const BatchDocument& document, QStringList& warnings) {
  const QString name = field.FieldName().trimmed();
  switch (field.FieldType()) {
    case kFieldIndexField:
      if (document.indexFields.contains(name)) return document.indexFields.value(name);
      warnings << QStringLiteral("%1: the document has no index field \"%2\"; left empty")
                      .arg(caption, name);
      return {};
    case kFieldBatchField:
      if (batch.batchFields.contains(name)) return batch.batchFields.value(name);
      warnings << QStringLiteral("%1: the batch has no batch field \"%2\"; left empty")
                      .arg(caption, name);
      return {};
    default:
      return field.FieldText();
  }
}

}  // namespace

DocumentInformation resolveDocumentInformation(const ReleaseOptions& options, const Batch& batch,
                                               const BatchDocument& document) {
  DocumentInformation info;
  info.title = resolve(options.title, QStringLiteral("Title"), batch, document, info.warnings);
  info.subject =
      resolve(options.subject, QStringLiteral("Subject"), batch, document, info.warnings);
  info.author = resolve(options.author, QStringLiteral("Author"), batch, document, info.warnings);
  info.keywords =
      resolve(options.keywords, QStringLiteral("Keywords"), batch, document, info.warnings);
  return info;
}

}  // namespace zan::release
