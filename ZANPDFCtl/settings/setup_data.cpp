#include "settings/setup_data.h"

#include "settings/automation_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace zan {
namespace {

const QString kSource = QStringLiteral("SetupFile");
const QString kFormat = QStringLiteral("zan-release-setup");
constexpr int kVersion = 1;
const ClassicError& kFileNotFound = classic::kFileNotFound;
const ClassicError& kFileAccess = classic::kPathAccess;
const ClassicError& kBadFormat = classic::kBadFileFormat;

[[noreturn]] void refuse(const ClassicError& error, const QString& path, const QString& problem) {
  raiseClassic(error, kSource, QStringLiteral("setup file '%1': %2").arg(path, problem));
}

QVariant partValue(const QString& path, const QString& part, const QString& key,
                   const QJsonValue& v) {
  if (v.isBool()) return v.toBool();
  if (v.isString()) return v.toString();
  if (v.isDouble()) {
    const double d = v.toDouble();
    if (std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 9007199254740992.0) {
      const auto n = static_cast<qint64>(d);
      if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
        return static_cast<int>(n);
      return n;
    }
  }
  refuse(kBadFormat, path,
         QStringLiteral("the value of \"%1\" in %2 is not a string, an integer or a Boolean")
             .arg(key, part));
}

QVariantMap readPart(const QString& path, const QJsonObject& root, const QString& part) {
  const QJsonValue v = root.value(part);
  if (!v.isObject())
    refuse(kBadFormat, path, QStringLiteral("\"%1\" is missing or no object").arg(part));
  QVariantMap values;
  const QJsonObject o = v.toObject();
  for (auto it = o.begin(); it != o.end(); ++it)
    values.insert(it.key(), partValue(path, part, it.key(), it.value()));
  return values;
}

QStringList readNames(const QString& path, const QJsonObject& root, const QString& name) {
  const QJsonValue v = root.value(name);
  if (v.isUndefined()) return {};
  if (!v.isArray()) refuse(kBadFormat, path, QStringLiteral("\"%1\" is no list").arg(name));
  QStringList names;
  for (const QJsonValue& entry : v.toArray()) {
    if (!entry.isString())
      refuse(kBadFormat, path, QStringLiteral("\"%1\" holds an entry that is no text").arg(name));
    names << entry.toString();
  }
  return names;
}

const QStringList& ownKeys() {
  static const QStringList keys{QStringLiteral("format"),       QStringLiteral("version"),
                                QStringLiteral("SetupPartOne"), QStringLiteral("SetupPartTwo"),
                                QStringLiteral("indexFields"),  QStringLiteral("batchFields")};
  return keys;
}

// The members of the top-level object of `json`, a text QJsonDocument accepted as an object,
// as raw key and value texts in file order.
QList<QPair<QByteArray, QByteArray>> topLevelMembers(const QByteArray& json) {
  qsizetype i = 0;
  const qsizetype n = json.size();
  const auto skipBlanks = [&] {
    while (i < n && (json[i] == ' ' || json[i] == '\t' || json[i] == '\n' || json[i] == '\r')) ++i;
  };
  const auto skipString = [&] {  // from the opening quote to after the closing one
    for (++i; i < n && json[i] != '"'; ++i)
      if (json[i] == '\\') ++i;
    ++i;
  };
  const auto skipValue = [&] {
    if (json[i] == '"') return skipString();
    if (json[i] != '{' && json[i] != '[') {  // a number, true, false or null
      while (i < n && !QByteArrayView(",}] \t\r\n").contains(json[i])) ++i;
      return;
    }
    int depth = 0;
    do {
      const char c = json[i];
      if (c == '"') {
        skipString();
        continue;
      }
      if (c == '{' || c == '[') ++depth;
      if (c == '}' || c == ']') --depth;
      ++i;
    } while (i < n && depth > 0);
  };
  QList<QPair<QByteArray, QByteArray>> members;
  if (json.startsWith("\xEF\xBB\xBF")) i = 3;
  skipBlanks();
  ++i;  // '{'
  while (true) {
    skipBlanks();
    if (i >= n || json[i] != '"') break;
    const qsizetype keyStart = i;
    skipString();
    const QByteArray key = json.mid(keyStart, i - keyStart);
    skipBlanks();
    ++i;  // ':'
    skipBlanks();
    const qsizetype valueStart = i;
    skipValue();
    members.append({key, json.mid(valueStart, i - valueStart)});
    skipBlanks();
    if (i >= n || json[i] != ',') break;
    ++i;
  }
  return members;
}

QString decodedKey(const QByteArray& rawKey) {
  return QJsonDocument::fromJson("[" + rawKey + "]").array().at(0).toString();
}

QJsonObject writePart(const MemorySetupPart& part) {
  QJsonObject o;
  const QVariantMap values = part.toMap();
  for (auto it = values.begin(); it != values.end(); ++it) {
    const QVariant& v = it.value();
    switch (v.metaType().id()) {
      case QMetaType::Bool:
        o.insert(it.key(), v.toBool());
        break;
      case QMetaType::Int:
      case QMetaType::UInt:
      case QMetaType::Short:
      case QMetaType::UShort:
      case QMetaType::Long:
      case QMetaType::LongLong:
        o.insert(it.key(), v.toLongLong());
        break;
      default:
        o.insert(it.key(), v.toString());
    }
  }
  return o;
}

}  // namespace

SetupPart::~SetupPart() = default;

class MemorySetupPart::Private {
 public:
  QVariantMap values;
};

MemorySetupPart::MemorySetupPart() : d(std::make_unique<Private>()) {}
MemorySetupPart::MemorySetupPart(const MemorySetupPart& other)
    : d(std::make_unique<Private>(*other.d)) {}
MemorySetupPart& MemorySetupPart::operator=(const MemorySetupPart& other) {
  *d = *other.d;
  return *this;
}
MemorySetupPart::~MemorySetupPart() = default;
bool MemorySetupPart::contains(const QString& key) const {
  return d->values.contains(key);
}
QVariant MemorySetupPart::value(const QString& key) const {
  return d->values.value(key);
}
void MemorySetupPart::setValue(const QString& key, const QVariant& value) {
  d->values.insert(key, value);
}
void MemorySetupPart::removeValue(const QString& key) {
  d->values.remove(key);
}
QStringList MemorySetupPart::keys() const {
  return d->values.keys();
}
QVariantMap MemorySetupPart::toMap() const {
  return d->values;
}
void MemorySetupPart::assign(const QVariantMap& values) {
  d->values = values;
}

SetupData::SetupData(QObject* parent) : QObject(parent) {}
SetupData::~SetupData() = default;

class MemorySetupData::Private {
 public:
  MemorySetupPart one, two;
  QStringList indexFields, batchFields;
};

MemorySetupData::MemorySetupData(QObject* parent)
    : SetupData(parent), d(std::make_unique<Private>()) {}
MemorySetupData::~MemorySetupData() = default;
SetupPart& MemorySetupData::SetupPartOne() {
  return d->one;
}
SetupPart& MemorySetupData::SetupPartTwo() {
  return d->two;
}
QStringList MemorySetupData::indexFields() const {
  return d->indexFields;
}
QStringList MemorySetupData::batchFields() const {
  return d->batchFields;
}
void MemorySetupData::setIndexFields(const QStringList& fields) {
  d->indexFields = fields;
}
void MemorySetupData::setBatchFields(const QStringList& fields) {
  d->batchFields = fields;
}
MemorySetupPart& MemorySetupData::partOne() {
  return d->one;
}
MemorySetupPart& MemorySetupData::partTwo() {
  return d->two;
}
const MemorySetupPart& MemorySetupData::partOne() const {
  return d->one;
}
const MemorySetupPart& MemorySetupData::partTwo() const {
  return d->two;
}

class SetupFile::Private {
 public:
  QString path;
  std::shared_ptr<FileSystem> fs = FileSystem::posix();
  // Top-level members this program does not own: raw key and value texts, in file order.
  QList<QPair<QByteArray, QByteArray>> foreign;
};

class SetupFileAccess {
 public:
  static SetupFile::Private& of(SetupFile& setup) { return *setup.d; }
};

SetupFile::SetupFile(const QString& path, QObject* parent)
    : MemorySetupData(parent), d(std::make_unique<Private>()) {
  d->path = path;
}

SetupFile::~SetupFile() = default;

QString SetupFile::path() const {
  return d->path;
}

std::unique_ptr<SetupFile> SetupFile::load(const QString& path) {
  return loadSetupFile(path, FileSystem::posix());
}

void setFileSystem(SetupFile& setup, std::shared_ptr<FileSystem> fs) {
  SetupFileAccess::of(setup).fs = std::move(fs);
}

std::unique_ptr<SetupFile> loadSetupFile(const QString& path, std::shared_ptr<FileSystem> fs) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists())
    refuse(kFileNotFound, path, QStringLiteral("it does not exist"));
  if (info.isDir()) refuse(kFileAccess, path, QStringLiteral("it is a folder, not a file"));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    refuse(kFileAccess, path, QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    refuse(kFileAccess, path, QStringLiteral("reading failed (%1)").arg(file.errorString()));
  if (bytes.trimmed().isEmpty()) refuse(kBadFormat, path, QStringLiteral("the file is empty"));

  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
  if (parseError.error != QJsonParseError::NoError)
    refuse(kBadFormat, path,
           QStringLiteral("it is not valid JSON, or it is cut short (%1 at byte %2)")
               .arg(parseError.errorString())
               .arg(parseError.offset));
  if (!doc.isObject()) refuse(kBadFormat, path, QStringLiteral("it holds no JSON object"));
  const QJsonObject root = doc.object();
  if (root.value(QStringLiteral("format")).toString() != kFormat)
    refuse(
        kBadFormat, path,
        QStringLiteral("it is not a release setup file (\"format\" is not \"%1\")").arg(kFormat));
  const QJsonValue version = root.value(QStringLiteral("version"));
  if (!version.isDouble() || version.toDouble() != kVersion)
    refuse(kBadFormat, path,
           QStringLiteral("its version is not supported (expected %1)").arg(kVersion));

  auto setup = std::make_unique<SetupFile>(path);
  setFileSystem(*setup, std::move(fs));
  for (const auto& member : topLevelMembers(bytes))
    if (!ownKeys().contains(decodedKey(member.first)))
      SetupFileAccess::of(*setup).foreign.append(member);
  setup->partOne().assign(readPart(path, root, QStringLiteral("SetupPartOne")));
  setup->partTwo().assign(readPart(path, root, QStringLiteral("SetupPartTwo")));
  setup->setIndexFields(readNames(path, root, QStringLiteral("indexFields")));
  setup->setBatchFields(readNames(path, root, QStringLiteral("batchFields")));
  return setup;
}

QByteArray SetupFile::toJson() const {
  QJsonObject root;
  root.insert(QStringLiteral("format"), kFormat);
  root.insert(QStringLiteral("version"), kVersion);
  root.insert(QStringLiteral("SetupPartOne"), writePart(partOne()));
  root.insert(QStringLiteral("SetupPartTwo"), writePart(partTwo()));
  root.insert(QStringLiteral("indexFields"), QJsonArray::fromStringList(indexFields()));
  root.insert(QStringLiteral("batchFields"), QJsonArray::fromStringList(batchFields()));
  QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
  if (d->foreign.isEmpty()) return json;
  // The foreign members follow ours, with their values exactly as the file held them.
  json.truncate(json.lastIndexOf('}'));
  while (json.endsWith('\n')) json.chop(1);
  for (const auto& [key, value] : d->foreign) json += ",\n    " + key + ": " + value;
  return json + "\n}\n";
}

void SetupFile::save() const {
  if (d->path.isEmpty()) refuse(kFileAccess, d->path, QStringLiteral("no file name is set"));
  QString problem;
  if (!replaceFile(*d->fs, d->path, toJson(), problem)) refuse(kFileAccess, d->path, problem);
}

SetupData& requireSetupData(SetupData* rd) {
  if (!rd) raiseClassic(classic::kObjectNotSet, QStringLiteral("ZANPdfCtl4"));
  return *rd;
}

void requireInitDone(bool initDone, const char* member) {
  if (!initDone) {
    raiseError(-1, QStringLiteral("QelPDFSetup.") + QLatin1String(member),
               QStringLiteral("The panel holds no stored settings yet: call Init first."));
  }
}

}  // namespace zan
