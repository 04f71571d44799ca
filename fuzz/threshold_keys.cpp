// Whatever the user types or pastes into the confidence threshold box, typing never takes a
// character back, no Error event is raised, and Validate afterwards refuses the box's value with
// the threshold's rule when it is outside 0 to 100, and only then (or answers with an automation
// error for a text that is no 16-bit number). Input: the first byte picks the panel; each further
// byte is one key (or, for a paste, the bytes up to the next NUL are pasted).
#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include "controls/numeric_text.h"
#include "fuzz_support.h"
#include "settings/automation_error.h"
#include "test_environment.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <cmath>

namespace {

void press(QLineEdit* edit, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(edit, &down);
  QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(edit, &up);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zan::fuzzing::ensureApplication();
  if (size == 0) return 0;
  struct Panels {
    zan::testing::TestWorld world;
    int errors = 0;
    std::unique_ptr<ZANPdf3> capture;
    std::unique_ptr<ZANPdf> ocr;
    Panels() {
      capture = std::make_unique<ZANPdf3>(world.environment());
      ocr = std::make_unique<ZANPdf>(world.environment());
      const auto count = [this](qint32&, QString&, QString&, qint16&, bool&, bool&) { ++errors; };
      QObject::connect(capture.get(), &ZANPdf3::Error, count);
      QObject::connect(ocr.get(), &ZANPdf::Error, count);
      zan::MemorySetupData rd;
      zan::SetupData* handle = &rd;
      capture->Init(handle);
      ocr->Init(handle);
    }
  };
  static Panels panels;
  QWidget* panel = data[0] % 2 ? static_cast<QWidget*>(panels.capture.get()) : panels.ocr.get();
  auto* edit = panel->findChild<QLineEdit*>(QStringLiteral("txtConfidenceThreshold"));
  edit->setText(QStringLiteral("95"));
  panels.errors = 0;
  static const std::pair<int, const char*> keys[] = {
      {Qt::Key_0, "0"},        {Qt::Key_1, "1"},      {Qt::Key_5, "5"},   {Qt::Key_9, "9"},
      {Qt::Key_Minus, "-"},    {Qt::Key_Period, "."}, {Qt::Key_A, "a"},   {Qt::Key_Space, " "},
      {Qt::Key_Backspace, ""}, {Qt::Key_Delete, ""},  {Qt::Key_Left, ""}, {Qt::Key_Right, ""},
      {Qt::Key_Home, ""},      {Qt::Key_End, ""},     {Qt::Key_Up, ""},   {Qt::Key_Down, ""},
      {Qt::Key_Z, "\x1a"},     {Qt::Key_A, "\x01"}};
  for (std::size_t i = 1; i < size; ++i) {
    const std::uint8_t b = data[i];
    if (b == 0xFF) {  // a paste of the bytes up to the next NUL
      QByteArray pasted;
      while (++i < size && data[i] != 0) pasted += char(data[i]);
      edit->insert(QString::fromUtf8(pasted));
    } else {
      const auto& [key, text] = keys[b % std::size(keys)];
      const bool control = text[0] != 0 && text[0] < 32;
      const QString before = edit->text();
      const bool hadSelection = edit->hasSelectedText();
      press(edit, key, control ? Qt::ControlModifier : Qt::NoModifier, QString::fromLatin1(text));
      // A digit typed into a box with room for it is there afterwards, where it was typed.
      const bool digit = text[0] >= '0' && text[0] <= '9';
      if (digit && before.size() < 3 && !hadSelection && edit->text().size() != before.size() + 1)
        std::abort();
    }
  }
  if (panels.errors != 0) std::abort();
  const double value = std::nearbyint(zan::leadingNumber(edit->text()));  // as Validate rounds
  try {
    const qint32 result = data[0] % 2 ? panels.capture->Validate() : panels.ocr->Validate();
    // The capture panel's hub rules come first: its empty hub is refused before the threshold.
    const bool outOfRange = value < 0 || value > 100;
    if (result == zan::kObjectErrorBase + 515 && !outOfRange) std::abort();
    if (outOfRange && result == 0) std::abort();
    if (outOfRange && data[0] % 2 == 0 && result != zan::kObjectErrorBase + 515) std::abort();
  } catch (const zan::AutomationException& e) {
    if (e.error().description.isEmpty()) std::abort();
  }
  return 0;
}
