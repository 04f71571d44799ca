#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/simple_controls.h"
#include "controls/text_box.h"

#include "controls_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <utility>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::Surface;
using zan::testing::failureOf;

namespace {

// Catches, for every control kind with an event: a handler run twice per change, run for an
// unchanged value or skipped on one path; a code-path failure swallowed or leaving the widget
// out of step; a user-path failure thrown into Qt (crash, later events lost) instead of being
// handed to the failure policy; and a policy that throws letting the exception into Qt.
TEST(Dispatch, HandlersOnBothPathsAndFailuresToCallerOrPolicy) {
  Surface s;
  auto* text = s.form.add<TextBox>(QStringLiteral("txtA"), &s.window);
  auto* check = s.form.add<CheckBox>(QStringLiteral("chkA"), &s.window);
  auto* combo = s.form.add<ComboBox>(QStringLiteral("cmbA"), &s.window);
  auto* button = s.form.add<CommandButton>(QStringLiteral("cmdA"), &s.window);
  combo->addItem(QStringLiteral("a"));
  combo->addItem(QStringLiteral("b"));
  int calls = 0;
  bool fail = false;
  text->onChange = check->onClick = combo->onClick = button->onClick = [&] {
    ++calls;
    if (std::exchange(fail, false)) raiseError(13, QStringLiteral("h"), QStringLiteral("Mismatch"));
  };
  s.show();
  const struct {
    const char* name;
    std::function<void()> code, same, user;
    std::function<bool()> inStep;  // the widget shows what the control reports
  } kinds[] = {
      {"text box", [&] { text->setText(text->text() + QLatin1Char('1')); },
       [&] { text->setText(text->text()); }, [&] { QTest::keyClick(text->lineEdit(), Qt::Key_2); },
       [&] { return text->lineEdit()->text() == text->text(); }},
      {"check box", [&] { check->setValue(1 - check->value()); },
       [&] { check->setValue(check->value()); },
       [&] { QTest::mouseClick(check->checkBox(), Qt::LeftButton); },
       [&] { return check->checkBox()->isChecked() == (check->value() == 1); }},
      {"combo box", [&] { combo->setListIndex(combo->listIndex() == 0 ? 1 : 0); },
       [&] { combo->setListIndex(combo->listIndex()); },
       [&] { QTest::keyClick(combo->comboBox(), combo->listIndex() ? Qt::Key_Up : Qt::Key_Down); },
       [&] {
         return combo->comboBox()->currentIndex() == combo->listIndex() &&
                combo->text() == combo->list(combo->listIndex());
       }},
      {"command button", [&] { button->click(); }, [] {},
       [&] { QTest::mouseClick(button->button(), Qt::LeftButton); }, [] { return true; }},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.name);
    calls = 0;
    k.code();
    k.same();
    k.user();
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(k.inStep());
    fail = true;
    EXPECT_EQ(failureOf(k.code).number, 13);
    EXPECT_TRUE(k.inStep());
    EXPECT_TRUE(s.reported.empty());
    fail = true;
    k.user();
    ASSERT_EQ(s.reported.size(), 1u);
    EXPECT_EQ(s.reported[0].description, QStringLiteral("Mismatch"));
    s.reported.clear();
    k.user();
    k.code();
    EXPECT_EQ(calls, 6);
    EXPECT_TRUE(k.inStep());
  }
  s.form.setFailurePolicy([](const AutomationError& e) { raiseError(e); });
  fail = true;
  kinds[0].user();
  EXPECT_EQ(calls, 7);
  EXPECT_TRUE(kinds[0].inStep());
  EXPECT_EQ(button->hWnd(), s.window.findChild<QWidget*>(QStringLiteral("cmdA")));
}

struct FormTest : ::testing::Test {
  Surface s;
  Frame* frame = s.form.add<Frame>(QStringLiteral("fraPage"), &s.window);
  TextBox* inner = s.form.add<TextBox>(QStringLiteral("txtInner"), frame->widget());
  CheckBox* check = s.form.add<CheckBox>(QStringLiteral("chkInner"), frame->widget());
  TextBox* outer = s.form.add<TextBox>(QStringLiteral("txtOuter"), &s.window);
  void SetUp() override {
    frame->setGeometryTwips(0, 0, 3000, 1500);
    inner->setGeometryTwips(150, 300, 1500, 300);
    check->setGeometryTwips(150, 750, 1500, 300);
    outer->setGeometryTwips(0, 1800, 1500, 300);
  }
};

// Catches lookups by a name other than the objectName, a control order other than creation
// order, and a caption lost when re-assigned to itself.
TEST_F(FormTest, ControlsInCreationOrderAndFoundByName) {
  QStringList names;
  for (const auto& c : s.form.controls()) names << c->name();
  EXPECT_EQ(names, QStringList({"fraPage", "txtInner", "chkInner", "txtOuter"}));
  EXPECT_EQ(s.form.find(QStringLiteral("chkInner")), check);
  EXPECT_EQ(s.form.find(QStringLiteral("chkinner")), nullptr);
  EXPECT_EQ(s.window.findChild<QLineEdit*>(QStringLiteral("txtOuter")), outer->widget());
  check->setCaption(QStringLiteral("&Rotate"));
  check->setCaption(check->caption());
  EXPECT_EQ(check->checkBox()->text(), QStringLiteral("&Rotate"));
}

// Catches Enabled and Visible read from the inherited state (a disabled or hidden frame, or a
// window not shown yet) instead of the control's own flag. Qt marks children of a disabled
// frame WA_Disabled; only WA_ForceDisabled is the widget's own.
TEST_F(FormTest, OwnEnabledAndVisibleFlags) {
  frame->setEnabled(false);
  EXPECT_TRUE(inner->enabled());
  EXPECT_FALSE(frame->enabled());
  inner->setEnabled(false);
  frame->setEnabled(true);
  EXPECT_FALSE(inner->enabled());
  EXPECT_FALSE(inner->widget()->isEnabled());
  EXPECT_TRUE(check->enabled());

  EXPECT_TRUE(outer->visible());
  outer->setVisible(false);
  s.show();
  EXPECT_FALSE(outer->visible());
  frame->setVisible(false);
  EXPECT_TRUE(check->visible());
  EXPECT_FALSE(frame->visible());
}

// Catches setFocus silently doing nothing (or stealing focus later) on a control that cannot
// take it, instead of failing with error 5 from the control; and a frame access key that does
// not reach the frame's first focusable child.
TEST_F(FormTest, SetFocusFailsOnDisabledOrHiddenAndAccessKeyReachesFrame) {
  frame->setCaption(QStringLiteral("&Page Content"));
  s.show();
  const std::pair<const char*, std::function<void(bool)>> blockers[] = {
      {"control disabled", [&](bool on) { inner->setEnabled(!on); }},
      {"frame disabled", [&](bool on) { frame->setEnabled(!on); }},
      {"control hidden", [&](bool on) { inner->setVisible(!on); }},
      {"frame hidden", [&](bool on) { frame->setVisible(!on); }},
  };
  for (const auto& [what, block] : blockers) {
    SCOPED_TRACE(what);
    outer->setFocus();
    block(true);
    const AutomationError e = failureOf([&] { inner->setFocus(); });
    EXPECT_EQ(e.number, 5);
    EXPECT_EQ(e.source, QStringLiteral("txtInner"));
    EXPECT_EQ(e.description, QStringLiteral("Invalid procedure call or argument"));
    block(false);
    EXPECT_EQ(s.window.focusWidget(), outer->widget());  // nothing stolen on show
    inner->setFocus();
    EXPECT_EQ(s.window.focusWidget(), inner->widget());
  }
  outer->setFocus();
  QTest::keyClick(&s.window, Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(s.window.focusWidget(), inner->widget());
}

// Catches a caption cut off on a narrow button (classic buttons wrap at blanks when drawing),
// and a wrapped form leaking into the caption a host reads back by name.
TEST_F(FormTest, CommandButtonCaptionWrapsWhenNarrow) {
  auto* button = s.form.add<CommandButton>(QStringLiteral("cmdRestore"), &s.window);
  button->setGeometryTwips(0, 0, 855, 615);
  button->setCaption(QStringLiteral("&Restore Defaults"));
  s.show();
  EXPECT_EQ(button->caption(), QStringLiteral("&Restore Defaults"));
  EXPECT_EQ(button->button()->text(), QStringLiteral("&Restore Defaults"));
  // The drawn text spans two lines: dark pixels reach further than one line's height.
  const QImage image = button->button()->grab().toImage();
  int top = image.height(), bottom = -1;
  for (int y = 4; y < image.height() - 4; ++y)
    for (int x = 4; x < image.width() - 4; ++x)
      if (qGray(image.pixel(x, y)) < 80) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  EXPECT_GT(bottom - top, button->button()->fontMetrics().height());
}

// Catches handlers (change, key, click, list) still running on released controls, as when a
// panel's Form is destroyed before its widgets.
TEST_F(FormTest, ReleasedControlsRunNoHandlers) {
  int changes = 0;
  inner->onChange = [&] { ++changes; };
  inner->onKeyPress = [&](int& key) {
    ++changes;
    key = 0;
  };
  check->onClick = [&] { ++changes; };
  auto* list = s.form.add<ComboBox>(QStringLiteral("cmbList"), &s.window);
  list->addItems({QStringLiteral("A"), QStringLiteral("B")});
  list->onClick = [&] { ++changes; };
  auto* button = s.form.add<CommandButton>(QStringLiteral("cmdGo"), &s.window);
  button->onClick = [&] { ++changes; };
  QLineEdit* edit = inner->lineEdit();
  QComboBox* combo = list->comboBox();
  QAbstractButton* boxes[] = {check->checkBox(), button->button()};
  s.form.releaseControls();
  EXPECT_TRUE(s.form.controls().empty());
  QTest::keyClick(edit, Qt::Key_1);
  EXPECT_EQ(edit->text(), QStringLiteral("1"));  // the key filter no longer discards it
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  combo->showPopup();
  combo->hidePopup();
  for (QAbstractButton* b : boxes) b->click();
  EXPECT_EQ(changes, 0);
}

// Catches a control left holding its destroyed widget (a crash or a use after free on the next
// access) or losing its name with it, for widgets of every kind including one made elsewhere,
// and a widget that outlives its released control calling back into it when it goes.
TEST(WidgetLifetime, ControlsSeeTheirWidgetGoAndWidgetsOutliveTheirControls) {
  const std::function<Control*(Surface&)> kinds[] = {
      [](Surface& s) { return s.form.add<TextBox>(QStringLiteral("txtA"), &s.window); },
      [](Surface& s) { return s.form.add<CheckBox>(QStringLiteral("chkA"), &s.window); },
      [](Surface& s) { return s.form.add<ComboBox>(QStringLiteral("cmbA"), &s.window); },
      [](Surface& s) { return s.form.add<CommandButton>(QStringLiteral("cmdA"), &s.window); },
      [](Surface& s) { return s.form.add<Frame>(QStringLiteral("fraA"), &s.window); },
      [](Surface& s) { return s.form.add<Label>(QStringLiteral("lblA"), &s.window); },
      [](Surface& s) {
        return s.form.add<HostedControl>(QStringLiteral("hostA"), &s.window, new QLabel(&s.window));
      },
  };
  for (const auto& make : kinds) {
    Surface s;
    Control* control = make(s);
    SCOPED_TRACE(control->name().toStdString());
    ASSERT_NE(control->widget(), nullptr);
    const QString name = control->name();
    delete control->widget();
    EXPECT_EQ(control->widget(), nullptr);
    EXPECT_EQ(control->name(), name);
    EXPECT_EQ(s.form.find(name), control);
    EXPECT_FALSE(control->enabled());
    EXPECT_FALSE(control->visible());
    control->setEnabled(true);
    control->setVisible(true);
    control->setGeometryTwips(0, 0, 300, 300);
    control->setCaption(QStringLiteral("x"));
    EXPECT_EQ(control->caption(), QString());
    EXPECT_EQ(failureOf([&] { control->setFocus(); }).number, 5);

    Surface kept;
    QWidget* widget = make(kept)->widget();
    kept.form.releaseControls();
    delete widget;  // must not reach its released control
  }
}

// Catches tags held once per text leaking between controls: a control retagged (again and
// again, as the threshold box tags its last text) or cleared changing the tag of another
// control that shared its text, and a tag lost when a control takes a new text.
TEST(Tags, EachControlKeepsItsOwnTag) {
  Surface s;
  auto* a = s.form.add<TextBox>(QStringLiteral("txtA"), &s.window);
  auto* b = s.form.add<CheckBox>(QStringLiteral("chkB"), &s.window);
  auto* c = s.form.add<ComboBox>(QStringLiteral("cmbC"), &s.window);
  const QString image = QStringLiteral("Image Only");
  const struct {
    Control* control;
    QString tag;
    QStringList expected;  // a, b, c afterwards
  } steps[] = {
      {a, image, {image, {}, {}}},
      {b, image, {image, image, {}}},
      {a, QStringLiteral("95"), {QStringLiteral("95"), image, {}}},
      {a, QStringLiteral("96"), {QStringLiteral("96"), image, {}}},
      {c, QStringLiteral("96"), {QStringLiteral("96"), image, QStringLiteral("96")}},
      {a, QStringLiteral("9"), {QStringLiteral("9"), image, QStringLiteral("96")}},
      {b, {}, {QStringLiteral("9"), {}, QStringLiteral("96")}},
      {c, image, {QStringLiteral("9"), {}, image}},
  };
  for (const auto& step : steps) {
    step.control->setTag(step.tag);
    EXPECT_EQ((QStringList{a->tag(), b->tag(), c->tag()}), step.expected) << step.tag.toStdString();
  }
}

// Catches a focus entry handler that misses Shift+Tab entries, fires for moves inside the
// surface or for window activation, stops watching controls added later, or outlives its Form.
TEST(FocusEntry, DetectsBackwardKeyboardEntry) {
  QWidget window;
  QLineEdit before(&window);
  QWidget panel(&window);
  QLineEdit after(&window);
  panel.move(0, 40);
  after.move(0, 200);
  std::vector<bool> entries;
  {
    Form form(&panel);
    auto* first = form.add<TextBox>(QStringLiteral("txtFirst"), &panel);
    auto* last = form.add<CheckBox>(QStringLiteral("chkLast"), &panel);
    last->widget()->move(0, 40);
    form.setFocusEntryHandler([&](bool backward) {
      entries.push_back(backward);
      if (backward) first->setFocus();  // a handler may move the focus itself
    });
    QWidget::setTabOrder(&before, first->widget());
    QWidget::setTabOrder(first->widget(), last->widget());
    QWidget::setTabOrder(last->widget(), &after);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    before.setFocus();
    QTest::keyClick(&before, Qt::Key_Tab);  // forward entry
    EXPECT_EQ(window.focusWidget(), first->widget());
    QTest::keyClick(first->widget(), Qt::Key_Tab);  // inside: no entry
    QTest::keyClick(last->widget(), Qt::Key_Tab);   // leaves
    EXPECT_EQ(window.focusWidget(), &after);
    QTest::keyClick(&after, Qt::Key_Backtab, Qt::ShiftModifier);  // backward entry
    EXPECT_EQ(window.focusWidget(), first->widget());
    EXPECT_EQ(entries, (std::vector<bool>{false, true}));

    auto* late = form.add<TextBox>(QStringLiteral("txtLate"), &panel);
    late->widget()->show();
    after.setFocus();
    late->setFocus();
    EXPECT_EQ(entries.size(), 3u);
  }
  before.setFocus();  // the Form is gone: no handler may run
  panel.findChild<QLineEdit*>(QStringLiteral("txtFirst"))->setFocus();
  EXPECT_EQ(entries.size(), 3u);
}

}  // namespace
