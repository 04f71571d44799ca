#include "common/automation_error.h"
#include "common/platform.h"
#include "common/string_table.h"
#include "common/text_error.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

using namespace zan;

namespace {

class RecordingPlatform : public Platform {
 public:
  struct Box {
    QString title, text;
  };
  std::vector<Box> boxes;
  int failBoxes = 0;  // the next N message boxes fail
  MousePointer pointer = MousePointer::Default;
  MousePointer mousePointer() const override { return pointer; }
  void setMousePointer(MousePointer p) override { pointer = p; }
  void processPendingMessages() override {}
  QString applicationTitle() const override { return QStringLiteral("Test"); }
  void messageBox(const QString& title, const QString& text) override {
    if (failBoxes > 0) {
      --failBoxes;
      raiseError(70, QStringLiteral("box"), QStringLiteral("Permission denied"));
    }
    boxes.push_back({title, text});
  }
};

class RecordingLog : public ErrorLogObject {
 public:
  int calls = 0;
  bool fail = false;
  std::int32_t lastNumber = 0;
  std::int16_t lastR1 = -1, lastR2 = -1, lastLine = -1;
  QString lastMsg, lastSource;
  void LogError(std::int32_t& errNum, std::int16_t r1, std::int16_t r2, QString& errMsg,
                QString& sourceFile, std::int16_t& lineNo) override {
    ++calls;
    if (fail) raiseError(-5, QStringLiteral("log"), QStringLiteral("disk full"));
    lastNumber = errNum;
    lastR1 = r1;
    lastR2 = r2;
    lastMsg = errMsg;
    lastSource = sourceFile;
    lastLine = lineNo;
  }
};

struct LogCall {
  std::int32_t num;
  QString msg, src;
  std::int16_t line;
  bool reraise, display;
};

void log(TextError& t, LogCall c) { t.LogTheError(c.num, c.msg, c.src, c.line, c.reraise, c.display); }

}  // namespace

// Catches: a format that drops or reorders a part, or loses number/source/help.
TEST(ErrorFormats, RewriteTheDescriptionExactly) {
  const AutomationError caught{-2147220968, QStringLiteral("Settings"), QStringLiteral("x"),
                               QStringLiteral("help.chm"), 42};
  const auto step = stepPrefixed(caught, 10);
  EXPECT_EQ(step.description, QStringLiteral("Line# 10 Desc: x"));
  EXPECT_EQ(step.number, caught.number);
  EXPECT_EQ(step.source, caught.source);

  const auto line = linePrefixed(caught, 25, QStringLiteral("ZANPDF3.Refresh"));
  EXPECT_EQ(line.description, QStringLiteral("Line #: 25; x"));
  EXPECT_EQ(line.source, QStringLiteral("ZANPDF3.Refresh"));
  EXPECT_EQ(line.number, caught.number);

  const auto suffixed = lineSuffixed(caught, 40);
  EXPECT_EQ(suffixed.description, QStringLiteral("x line: 40"));
  EXPECT_EQ(suffixed.source, caught.source);
  EXPECT_EQ(suffixed.helpFile, caught.helpFile);
  EXPECT_EQ(suffixed.helpContext, 42);

  // Both formats stacked, as a loading failure inside Init reaches the host.
  EXPECT_EQ(lineSuffixed(linePrefixed(caught, 5, QStringLiteral("ZANPDF3.Refresh")), 25).description,
            QStringLiteral("Line #: 5; x line: 25"));
  // A description holding placeholders is kept literally.
  EXPECT_EQ(stepPrefixed(AutomationError{1, {}, QStringLiteral("%1 %2"), {}, 0}, 10).description,
            QStringLiteral("Line# 10 Desc: %1 %2"));
}

// Catches: the reported step not being the last label reached, or foreign exceptions lost.
TEST(ErrorFormats, RunLabelledReportsTheLastLabelReached) {
  auto fails = [](int stopAt) {
    try {
      runLabelled(
          [&](StepLabel& at) {
            if (stopAt == 0) throw std::runtime_error("early");
            at = 10;
            if (stopAt == 10) raiseError(9, QStringLiteral("s"), QStringLiteral("d"));
            at = 20;
            raiseError(9, QStringLiteral("s"), QStringLiteral("d"));
          },
          [](const AutomationError& e, int n) { return lineSuffixed(e, n); });
    } catch (const AutomationException& e) {
      return e.error();
    }
    return AutomationError{};
  };
  EXPECT_EQ(fails(10).description, QStringLiteral("d line: 10"));
  EXPECT_EQ(fails(20).description, QStringLiteral("d line: 20"));
  const auto early = fails(0);
  EXPECT_EQ(early.description, QStringLiteral("early line: 0"));
  EXPECT_NE(early.number, 0);
}

// Catches: the message text losing its CR, sign or parentheses; boxes shown or skipped wrongly.
TEST(TextErrorLog, ShowsAndLogsAsTheFlagsSay) {
  auto platform = std::make_shared<RecordingPlatform>();
  TextError t(platform);
  EXPECT_EQ(t.TitleString, QStringLiteral("Text ERROR"));

  // No log object: shown even with Display false.
  log(t, {-1, QStringLiteral("abc"), QStringLiteral("src"), 0, false, false});
  ASSERT_EQ(platform->boxes.size(), 1u);
  EXPECT_EQ(platform->boxes[0].title, QStringLiteral("Text ERROR"));
  EXPECT_EQ(platform->boxes[0].text, QStringLiteral("abc\r(#-1)"));

  // Log object set, Display false: logged, not shown; arguments in their order.
  RecordingLog logObject;
  t.DataObject = &logObject;
  log(t, {5, QStringLiteral("m"), QStringLiteral("ZANPDF.Refresh"), 10, false, false});
  EXPECT_EQ(platform->boxes.size(), 1u);
  EXPECT_EQ(logObject.calls, 1);
  EXPECT_EQ(logObject.lastNumber, 5);
  EXPECT_EQ(logObject.lastR1, 0);
  EXPECT_EQ(logObject.lastR2, 0);
  EXPECT_EQ(logObject.lastMsg, QStringLiteral("m"));
  EXPECT_EQ(logObject.lastSource, QStringLiteral("ZANPDF.Refresh"));
  EXPECT_EQ(logObject.lastLine, 10);

  // Log object set, Display true: both.
  log(t, {7, QStringLiteral("n"), QStringLiteral("s"), 0, false, true});
  EXPECT_EQ(logObject.calls, 2);
  ASSERT_EQ(platform->boxes.size(), 2u);
  EXPECT_EQ(platform->boxes[1].text, QStringLiteral("n\r(#7)"));
}

// Catches: a failing log object escaping to the caller or hiding the original message.
TEST(TextErrorLog, AFailureWhileLoggingIsReportedAndProcessingGoesOn) {
  auto platform = std::make_shared<RecordingPlatform>();
  TextError t(platform);
  RecordingLog logObject;
  logObject.fail = true;
  t.DataObject = &logObject;
  EXPECT_NO_THROW(log(t, {3, QStringLiteral("orig"), QStringLiteral("s"), 0, false, true}));
  ASSERT_EQ(platform->boxes.size(), 2u);
  EXPECT_EQ(platform->boxes[0].text,
            QStringLiteral("An error -5 - disk full happened logging this error.\r\norig\r(#3)"));
  EXPECT_EQ(platform->boxes[1].text, QStringLiteral("orig\r(#3)"));

  // A failing message box is itself reported, and nothing escapes.
  t.DataObject = nullptr;
  platform->boxes.clear();
  platform->failBoxes = 1;
  EXPECT_NO_THROW(log(t, {4, QStringLiteral("o"), QStringLiteral("s"), 0, false, true}));
  ASSERT_EQ(platform->boxes.size(), 1u);
  EXPECT_EQ(platform->boxes[0].text,
            QStringLiteral("An error 70 - Permission denied happened logging this error.\r\no\r(#4)"));
}

// Catches: ReRaise ignored, or raised with the wrong number, source or description.
TEST(TextErrorLog, ReRaiseRaisesTheLoggedError) {
  auto platform = std::make_shared<RecordingPlatform>();
  TextError t(platform);
  try {
    log(t, {-7, QStringLiteral("boom"), QStringLiteral("QelPDFSetup.X"), 3, true, true});
    FAIL() << "expected a raise";
  } catch (const AutomationException& e) {
    EXPECT_EQ(e.error().number, -7);
    EXPECT_EQ(e.error().source, QStringLiteral("QelPDFSetup.X"));
    EXPECT_EQ(e.error().description, QStringLiteral("boom"));
  }
  EXPECT_EQ(platform->boxes.size(), 1u);
}

// Catches: a missing or misspelt text, a missing id not failing, a replacement table ignored.
TEST(StringTableTexts, LooksUpFallsBackAndFails) {
  auto table = StringTable::usEnglish();
  EXPECT_EQ(table->text(5601), QStringLiteral("Formatted Text & Graphics"));
  EXPECT_EQ(table->text(5735), QStringLiteral("<Workgroup hub missing or invalid>"));
  EXPECT_EQ(table->text(2736), QStringLiteral("Most Accurate"));
  EXPECT_EQ(table->text(9707), QStringLiteral("No validation failure."));
  for (int id : {2700, 2737, 5604, 5701, 5737, 5800, 5815, 9708}) EXPECT_TRUE(table->contains(id));
  try {
    table->text(1234);
    FAIL();
  } catch (const AutomationException& e) {
    EXPECT_EQ(e.error().number, 326);
  }

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("de.json"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(R"({"2700": "PDF-Einstellungen"})");
  f.close();
  auto german = StringTable::fromJsonFile(path, table);
  EXPECT_EQ(german->text(2700), QStringLiteral("PDF-Einstellungen"));
  EXPECT_EQ(german->text(2702), QStringLiteral("&Language"));
  EXPECT_THROW(StringTable::fromJsonFile(dir.filePath(QStringLiteral("missing.json")), table),
               AutomationException);
}

#include "common/numeric_text.h"

// Catches: wrong reading of typed numbers (blanks, suffixes, rounding of halves, overflow).
TEST(NumericText, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  const struct {
    const char* text;
    double value;
  } reads[] = {{"95", 95},     {"", 0},       {"abc", 0},     {" 1 2", 12},  {"12abc", 12},
               {"-7", -7},     {"1.5", 1.5},  {".5", 0.5},    {"7a", 7},     {"2e2", 200},
               {"3e", 3},      {"+4", 4},     {"1.2.3", 1.2}, {"-", 0},      {"5-", 5}};
  for (const auto& r : reads) EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(r.text)), r.value) << r.text;

  EXPECT_EQ(toInteger16(QStringLiteral("12.5")), 12);
  EXPECT_EQ(toInteger16(QStringLiteral("13.5")), 14);
  EXPECT_EQ(toInteger16(QStringLiteral("2.5")), 2);
  EXPECT_EQ(toInteger16(QStringLiteral("-0.5")), 0);
  EXPECT_EQ(toInteger16(QStringLiteral("32767")), 32767);
  EXPECT_EQ(toInteger16(QStringLiteral("-32768")), -32768);
  EXPECT_THROW(toInteger16(QStringLiteral("99999")), AutomationException);
  EXPECT_THROW(toInteger16(QStringLiteral("32767.6")), AutomationException);

  EXPECT_TRUE(isWholeNumber(QStringLiteral("-12")));
  EXPECT_FALSE(isWholeNumber(QStringLiteral("5a")));
  EXPECT_FALSE(isWholeNumber(QString()));
}
