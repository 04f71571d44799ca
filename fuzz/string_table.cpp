// A replacement string table comes from a file a host hands over: reading it must refuse it with
// an automation error or give a table, and both panels must live on whatever texts it holds
// (ampersands, placeholders, empty or huge texts) without crashing.
#include "settings/string_table.h"
#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include "fuzz_support.h"
#include "settings/automation_error.h"
#include "test_environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zan::fuzzing::ensureApplication();
  static const QString path = QDir::temp().filePath(
      QStringLiteral("zan-fuzz-strings-%1.json").arg(QCoreApplication::applicationPid()));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  std::shared_ptr<const zan::StringTable> table;
  try {
    table = zan::StringTable::fromJsonFile(path, zan::StringTable::usEnglish());
  } catch (const zan::AutomationException& e) {
    if (e.error().description.isEmpty()) std::abort();
    return 0;
  }
  QFile::remove(path);
  zan::testing::TestWorld world;
  zan::PanelEnvironment env = world.environment();
  env.strings = table;
  zan::MemorySetupData rd;
  rd.partTwo().setValue(QStringLiteral("Workflow"), QStringLiteral("Gone"));
  zan::SetupData* handle = &rd;
  // A table may make a caption or a list unusable; that must surface as an automation error.
  try {
    ZANPdf3 capture(env);
    capture.Init(handle);
    capture.Validate();
    capture.RestoreDefaults();
  } catch (const zan::AutomationException&) {
  }
  try {
    ZANPdf ocr(env);
    ocr.Init(handle);
    ocr.Validate();
  } catch (const zan::AutomationException&) {
  }
  return 0;
}
