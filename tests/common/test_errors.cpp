#include "controls/numeric_text.h"
#include "external/text_error.h"
#include "settings/automation_error.h"
#include "settings/string_table.h"

#include "test_environment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace zan;
using zan::testing::RecordingPlatform;

namespace {

// Records the six LogError arguments in their order; fails with -5 when asked to.
struct RecordingLog final : ErrorLogObject {
  bool fail = false;
  QString args;
  void LogError(std::int32_t& n, std::int16_t r1, std::int16_t r2, QString& msg, QString& src,
                std::int16_t& line) override {
    if (fail) raiseError(-5, QStringLiteral("log"), QStringLiteral("disk full"));
    args = QStringLiteral("%1,%2,%3,%4,%5,%6").arg(n).arg(r1).arg(r2).arg(msg, src).arg(line);
  }
};

}  // namespace

// Catches: a format that drops or reorders a part, loses number/source/help, or expands
// placeholders in the description.
TEST(ErrorFormats, RewriteTheDescriptionExactly) {
  const AutomationError caught{-2147220968, QStringLiteral("Settings"), QStringLiteral("x %1"),
                               QStringLiteral("help.chm"), 42};
  const auto step = stepPrefixed(caught, 10);
  EXPECT_EQ(step.description, QStringLiteral("Line# 10 Desc: x %1"));
  EXPECT_EQ(step.number, caught.number);
  EXPECT_EQ(step.source, caught.source);
  const auto line = linePrefixed(caught, 25, QStringLiteral("ZANPDF3.Refresh"));
  EXPECT_EQ(line.description, QStringLiteral("Line #: 25; x %1"));
  EXPECT_EQ(line.source, QStringLiteral("ZANPDF3.Refresh"));
  EXPECT_EQ(line.number, caught.number);
  const auto suffixed = lineSuffixed(caught, 40);
  EXPECT_EQ(suffixed.description, QStringLiteral("x %1 line: 40"));
  EXPECT_EQ(suffixed.source, caught.source);
  EXPECT_EQ(suffixed.helpFile, caught.helpFile);
  EXPECT_EQ(suffixed.helpContext, 42);
  // Both formats stacked, as a loading failure inside Init reaches the host.
  EXPECT_EQ(lineSuffixed(line, 5).description, QStringLiteral("Line #: 25; x %1 line: 5"));
}

// Catches: the reported step not being the last label reached, or foreign exceptions lost.
TEST(ErrorFormats, StepLabelReportsTheLastLabelReached) {
  auto fails = [](int stopAt) {
    try {
      StepLabel at;
      try {
        if (stopAt == 0) throw std::runtime_error("early");
        at = 10;
        if (stopAt == 10) raiseError(9, QStringLiteral("s"), QStringLiteral("d"));
        at = 20;
        raiseError(9, QStringLiteral("s"), QStringLiteral("d"));
      } catch (...) {
        raiseError(lineSuffixed(currentError(), at));
      }
    } catch (const AutomationException& e) {
      return e.error();
    }
    return AutomationError{};
  };
  EXPECT_EQ(fails(10).description, QStringLiteral("d line: 10"));
  EXPECT_EQ(fails(20).description, QStringLiteral("d line: 20"));
  EXPECT_EQ(fails(0).description, QStringLiteral("early line: 0"));
  EXPECT_NE(fails(0).number, 0);
}

// Catches: the message text losing its CR, sign or parentheses; a box shown or skipped against
// the flags; arguments logged out of order; a failing log object or message box escaping or
// hiding the message; ReRaise ignored or raising another error.
TEST(TextErrorLog, ShowsLogsAndReRaisesAsTheFlagsSay) {
  const QString text = QStringLiteral("abc\r(#-7)");
  const QString failed = QStringLiteral(" happened logging this error.\r\n") + text;
  const struct {
    const char* name;
    bool log, logFails, display, reraise;
    int failBoxes;
    QStringList boxes;
  } cases[] = {
      {"no log object: shown though Display is false", false, false, false, false, 0, {text}},
      {"logged, not shown", true, false, false, false, 0, {}},
      {"logged and shown", true, false, true, false, 0, {text}},
      {"log fails", true, true, true, false, 0, {"An error -5 - disk full" + failed, text}},
      {"box fails", false, false, true, false, 1, {"An error 70 - Permission denied" + failed}},
      {"re-raised", true, false, true, true, 0, {text}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto platform = std::make_shared<RecordingPlatform>();
    platform->failBoxes = c.failBoxes;
    TextError t(platform);
    RecordingLog logObject;
    logObject.fail = c.logFails;
    if (c.log) t.DataObject = &logObject;
    std::int32_t num = -7;
    QString msg = QStringLiteral("abc"), src = QStringLiteral("ZANPDF.Refresh");
    std::int16_t line = 10;
    bool reraise = c.reraise, display = c.display;
    AutomationError raised;
    try {
      t.LogTheError(num, msg, src, line, reraise, display);
    } catch (const AutomationException& e) {
      raised = e.error();
    }
    EXPECT_EQ(raised.number, c.reraise ? -7 : 0);
    EXPECT_EQ(raised.source + raised.description, c.reraise ? src + msg : QString());
    QStringList shown;
    for (const auto& b : platform->boxes) {
      EXPECT_EQ(b.title, QStringLiteral("Text ERROR"));
      shown << b.text;
    }
    EXPECT_EQ(shown, c.boxes);
    EXPECT_EQ(logObject.args, c.log && !c.logFails ? "-7,0,0,abc,ZANPDF.Refresh,10" : "");
  }
}

// Catches: a missing or misspelt text, a missing id not failing, a replacement table ignored.
TEST(StringTableTexts, LooksUpFallsBackAndFails) {
  auto table = StringTable::usEnglish();
  EXPECT_EQ(table->text(5601), QStringLiteral("Formatted Text & Graphics"));
  EXPECT_EQ(table->text(5735), QStringLiteral("<Workgroup hub missing or invalid>"));
  EXPECT_EQ(table->text(9707), QStringLiteral("No validation failure."));
  for (int id : {2700, 2737, 5604, 5701, 5737, 5800, 5815, 9708})
    EXPECT_FALSE(table->text(id).isEmpty());
  try {
    table->text(1234);
    ADD_FAILURE() << "a missing id was answered";
  } catch (const AutomationException& e) {
    EXPECT_EQ(e.error().number, 326);
  }
  QTemporaryDir dir;
  QFile f(dir.filePath(QStringLiteral("de.json")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(R"({"2700": "PDF-Einstellungen"})");
  f.close();
  auto german = StringTable::fromJsonFile(f.fileName(), table);
  EXPECT_EQ(german->text(2700), QStringLiteral("PDF-Einstellungen"));
  EXPECT_EQ(german->text(2702), QStringLiteral("&Language"));
  EXPECT_THROW(StringTable::fromJsonFile(dir.filePath(QStringLiteral("missing.json")), table),
               AutomationException);
}

// Catches: wrong reading of typed numbers (blanks, suffixes, rounding of halves, overflow).
TEST(NumericText, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  const std::pair<const char*, double> reads[] = {
      {"95", 95}, {"", 0},      {"abc", 0}, {" 1 2", 12}, {"12abc", 12},  {"-7", -7}, {"1.5", 1.5},
      {".5", .5}, {"2e2", 200}, {"3e", 3},  {"+4", 4},    {"1.2.3", 1.2}, {"-", 0},   {"5-", 5}};
  for (const auto& [text, value] : reads) EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
  const std::pair<const char*, int> rounded[] = {
      {"12.5", 12}, {"13.5", 14}, {"-0.5", 0}, {"32767", 32767}, {"-32768", -32768}};
  for (const auto& [text, value] : rounded) EXPECT_EQ(toInteger16(text), value) << text;
  for (const char* overflow : {"99999", "32767.6"})
    EXPECT_THROW(toInteger16(overflow), AutomationException) << overflow;
  EXPECT_TRUE(isWholeNumber(QStringLiteral("-12")));
  EXPECT_FALSE(isWholeNumber(QStringLiteral("5a")));
  EXPECT_FALSE(isWholeNumber(QString()));
}
