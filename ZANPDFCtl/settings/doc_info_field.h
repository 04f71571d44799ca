#pragma once
// One PDF document-information entry (Title, Subject, Author or Keywords).

#include <QString>

#include <cstdint>

namespace zan {

// What FieldText holds.
enum DocInfoFieldType : std::int32_t {
  kFieldTextConstant = 0,  // FieldText is the value itself (at most 254 characters)
  kFieldIndexField = 1,    // FieldName names one of the document's index fields
  kFieldBatchField = 2,    // FieldName names one of the batch fields
};

class DocInfoField {
 public:
  QString FieldText() const { return text_; }
  void setFieldText(const QString& text) { text_ = text; }
  std::int32_t FieldType() const { return type_; }
  void setFieldType(std::int32_t type) { type_ = type; }
  QString FieldName() const { return name_; }
  void setFieldName(const QString& name) { name_ = name; }

  friend bool operator==(const DocInfoField& a, const DocInfoField& b) {
    return a.text_ == b.text_ && a.type_ == b.type_ && a.name_ == b.name_;
  }
  friend bool operator!=(const DocInfoField& a, const DocInfoField& b) { return !(a == b); }

 private:
  QString text_;
  std::int32_t type_ = kFieldTextConstant;
  QString name_;
};

}  // namespace zan
