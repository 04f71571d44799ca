#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

// One QApplication for the whole test binary; the tests run offscreen (see tests/CMakeLists.txt).
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                   : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  // The panels' layout scales with the font: tests see it at the 8 points it was designed for.
  QFont font = QApplication::font();
  font.setPointSize(8);
  QApplication::setFont(font);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
