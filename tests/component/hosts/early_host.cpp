// An early-bound host that has a settings/string_table.h of its own: panels created by their
// classes, driven with setup.get() and through Qt's meta-object system with Q_ARG.
#include "settings/string_table.h"

#include <ZANPdfCtl4/SetupData>
#include <ZANPdfCtl4/ZANPdf3>
#include <ZANPdfCtl4/ZANPdf>

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  auto setup = std::make_unique<zan::MemorySetupData>();
  ZANPdf ocr;
  ocr.Init(setup.get());
  std::printf("ZANPdf Validate -> %d\n", ocr.Validate());
  ocr.Apply(setup.get());

  ZANPdf viaMeta;
  QObject* rd = setup.get();
  const bool invoked = QMetaObject::invokeMethod(&viaMeta, "Init", Q_ARG(QObject*, rd));
  std::printf("Init through Q_ARG: %s, LastError empty: %s\n", invoked ? "yes" : "no",
              viaMeta.LastError().isEmpty() ? "yes" : "no");
  ZANPdf3 capture;
  std::printf("%s\n", capture.objectName().toUtf8().constData());
  std::printf("%s, %s: %s\n", host::caption(), ocr.objectName().toUtf8().constData(),
              HOST_STRING_TABLE_INCLUDED ? "early-host: ok" : "");
  return 0;
}
