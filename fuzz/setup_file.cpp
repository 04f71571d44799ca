// Setup files come from disk and may be anything: loading must either refuse the file with an
// automation error or give setup data whose settings load, save and load again unchanged, and
// whose members the program does not own come back from a save as they were.
#include "settings/automation_error.h"
#include "settings/pdf_settings.h"
#include "settings/setup_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QString path = QDir::temp().filePath(
      QStringLiteral("zan-fuzz-setup-%1.json").arg(QCoreApplication::applicationPid()));
  static const struct RemoveAtExit {
    ~RemoveAtExit() { QFile::remove(path); }
  } removeAtExit;
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  std::unique_ptr<zan::SetupFile> setup;
  try {
    setup = zan::SetupFile::load(path);
  } catch (const zan::AutomationException& e) {
    if (e.error().description.isEmpty()) std::abort();
    return 0;
  }
  const QStringList own{"format",       "version",     "SetupPartOne",
                        "SetupPartTwo", "indexFields", "batchFields"};
  QJsonObject before =
      QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))
          .object();
  QJsonObject after = QJsonDocument::fromJson(setup->toJson()).object();
  for (const QString& key : own) {
    before.remove(key);
    after.remove(key);
  }
  if (before != after) std::abort();

  zan::PdfSettings settings;
  try {
    settings.Load(setup->SetupPartOne(), setup->SetupPartTwo());
  } catch (const zan::AutomationException&) {
    return 0;  // a well-formed file may still hold a value of the wrong type
  }
  zan::MemorySetupData copy;
  settings.Save(copy.SetupPartOne(), copy.SetupPartTwo());
  zan::PdfSettings again;
  again.Load(copy.SetupPartOne(), copy.SetupPartTwo());
  zan::MemorySetupData second;
  again.Save(second.SetupPartOne(), second.SetupPartTwo());
  if (second.partOne().toMap() != copy.partOne().toMap() ||
      second.partTwo().toMap() != copy.partTwo().toMap())
    std::abort();
  return 0;
}
