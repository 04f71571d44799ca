// The late-binding engine against a small stand-in control with every kind of member the
// panels have: Boolean, String and Long properties, a read-only property, in/out object and
// variant parameters, a by-value Integer, results, failing members and both events.

#include "common/automation/object_dispatch.h"
#include "common/automation/variant_coercion.h"
#include "external/setup_data.h"

#include <gtest/gtest.h>
#include <QWidget>

#include <stdexcept>

using namespace zan::automation;

class FakeControl : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ Enabled WRITE putEnabled)
  Q_PROPERTY(QString Path READ Path WRITE setPath)
  Q_PROPERTY(qint32 Format READ Format WRITE setFormat)
  Q_PROPERTY(QString LastError READ LastError)
 public:
  bool Enabled() const { return enabled_; }
  void putEnabled(bool v) { enabled_ = v; }
  QString Path() const { return path_; }
  void setPath(const QString& v) {
    if (v == QLatin1String("bad"))
      zan::raiseError(76, QStringLiteral("Fake.Path"), QStringLiteral("Path not found"));
    path_ = v;
  }
  qint32 Format() const { return format_; }
  void setFormat(qint32 v) { format_ = v; }
  QString LastError() const { return QStringLiteral("last"); }

  Q_INVOKABLE QString path() const { return QStringLiteral("lower-case twin"); }
  Q_INVOKABLE void Init(zan::SetupData*& rd) {
    received = rd;
    if (replacement) rd = replacement;
  }
  Q_INVOKABLE qint32 Validate() { return validateAnswer; }
  Q_INVOKABLE void Register(QVariant& element) {
    registered = element;
    element = 5;
  }
  Q_INVOKABLE qint16 Twice(qint16 n) { return static_cast<qint16>(n * 2); }
  Q_INVOKABLE void Fail() {
    zan::AutomationError e{-1, QStringLiteral("QelPDFSetup.Fail"),
                           QStringLiteral("Line #: 3; nope"), QStringLiteral("help.hlp"), 42};
    zan::raiseError(e);
  }
  Q_INVOKABLE void FailForeign() { throw std::runtime_error("boom"); }

  zan::SetupData* received = nullptr;
  zan::SetupData* replacement = nullptr;
  QVariant registered;
  qint32 validateAnswer = 0;

 signals:
  void Change();
  void Error(qint32& ErrNum, QString& ErrMsg, QString& SourceFile, qint16& LineNo, bool& ReRaise,
             bool& Display);

 private:
  bool enabled_ = true;
  QString path_;
  qint32 format_ = 0;
};

namespace {

enum : DispId {
  kEnabled = 10,
  kPath,
  kFormat,
  kLastError,
  kLowerPath,
  kInit = 20,
  kValidate,
  kRegister,
  kTwice,
  kFail,
  kFailForeign,
  kMissing
};

const TypeLibraryDesc& fakeLibrary() {
  static const TypeLibraryDesc lib = [] {
    const auto prop = [](QVector<MemberDesc>& m, DispId id, const char* name, VarType t) {
      m.append({id,
                QString::fromLatin1(name),
                PropertyPut,
                {{QStringLiteral("v"), t, ParamDirection::In, {}}},
                VarType::Empty,
                {},
                QStringLiteral("help")});
      m.append({id, QString::fromLatin1(name), PropertyGet, {}, t, {}, QStringLiteral("help")});
    };
    QVector<MemberDesc> m;
    prop(m, kEnabled, "Enabled", VarType::Boolean);
    prop(m, kPath, "Path", VarType::String);
    prop(m, kFormat, "Format", VarType::Long);
    m.append({kLastError, QStringLiteral("LastError"), PropertyGet, {}, VarType::String, {}, {}});
    m.append({kLowerPath, QStringLiteral("path"), Method, {}, VarType::String, {}, {}});
    m.append({kInit,
              QStringLiteral("Init"),
              Method,
              {{QStringLiteral("rd"), VarType::Object, ParamDirection::InOut, {}}},
              VarType::Empty,
              {},
              {}});
    m.append({kValidate, QStringLiteral("Validate"), Method, {}, VarType::Long, {}, {}});
    m.append({kRegister,
              QStringLiteral("Register"),
              Method,
              {{QStringLiteral("element"), VarType::Variant, ParamDirection::InOut, {}}},
              VarType::Empty,
              {},
              {}});
    m.append({kTwice,
              QStringLiteral("Twice"),
              Method,
              {{QStringLiteral("n"), VarType::Integer, ParamDirection::In, {}}},
              VarType::Integer,
              {},
              {}});
    m.append({kFail, QStringLiteral("Fail"), Method, {}, VarType::Empty, {}, {}});
    m.append({kFailForeign, QStringLiteral("FailForeign"), Method, {}, VarType::Empty, {}, {}});
    m.append({kMissing, QStringLiteral("Missing"), Method, {}, VarType::Empty, {}, {}});
    TypeLibraryDesc l;
    l.name = QStringLiteral("Fake");
    TypeDesc itf;
    itf.name = QStringLiteral("_Fake");
    itf.members = m;
    TypeDesc events = *zanPdfCtl4Library().find(QStringLiteral("__ZANPdf"));
    events.name = QStringLiteral("__Fake");
    TypeDesc cls;
    cls.name = QStringLiteral("Fake");
    cls.kind = TypeKind::CoClass;
    cls.defaultInterface = itf.name;
    cls.eventSource = events.name;
    l.types = {itf, cls, events};
    return l;
  }();
  return lib;
}

struct Engine : ::testing::Test {
  FakeControl control;
  ObjectDispatch* d = new ObjectDispatch(&control, fakeLibrary(), *fakeLibrary().find("Fake"));

  InvokeResult call(DispId id, std::uint16_t flags, QVector<Variant> args = {}) {
    return d->Invoke(id, flags, args);
  }
};

// Catches: lookup that is case-sensitive, prefers a case-folded match over the exact one, or
// lets Qt's own lower-case "enabled" shadow the described "Enabled".
TEST_F(Engine, NamesResolveCaseInsensitivelyPreferringExactCase) {
  const std::vector<std::pair<QString, DispId>> cases = {
      {"Enabled", kEnabled},   {"enabled", kEnabled},   {"ENABLED", kEnabled},
      {"Path", kPath},         {"path", kLowerPath},    {"PATH", kPath},
      {"validate", kValidate}, {"Nope", kDispIdUnknown}};
  for (const auto& [name, id] : cases) {
    QVector<DispId> ids;
    const std::int32_t s = d->GetIDsOfNames({name}, ids);
    EXPECT_EQ(ids, QVector<DispId>{id}) << name.toStdString();
    EXPECT_EQ(s, id == kDispIdUnknown ? status::kUnknownName : status::kOk) << name.toStdString();
  }
  QVector<DispId> ids;
  EXPECT_EQ(d->GetIDsOfNames({"init", "RD"}, ids), status::kOk);
  EXPECT_EQ(ids, (QVector<DispId>{kInit, 0}));
  EXPECT_EQ(d->GetIDsOfNames({"Init", "x"}, ids), status::kUnknownName);
  EXPECT_EQ(ids, (QVector<DispId>{kInit, kDispIdUnknown}));
  EXPECT_EQ(d->GetEventIDsOfNames({"error"}, ids), status::kOk);
  EXPECT_EQ(ids, QVector<DispId>{2});
  // Catches: a described member missing from the control going unnoticed.
  EXPECT_EQ(d->bindingProblems(), QStringList{"method Missing with 0 parameters missing"});
  EXPECT_EQ(ObjectDispatch::of(&control), d);
}

// Catches: Booleans not crossing as -1/0, missing conversions of puts, a getter reading Qt's
// "enabled" instead of the control's own property, results lost.
TEST_F(Engine, PropertiesAndResultsConvertAsAutomationDoes) {
  EXPECT_TRUE(call(kEnabled, PropertyPut, {Variant(false)}).ok());
  EXPECT_FALSE(control.Enabled());
  EXPECT_TRUE(control.isEnabled());  // Qt's own enabled state is another property
  EXPECT_EQ(call(kEnabled, PropertyGet).value, Variant(false));
  EXPECT_TRUE(call(kEnabled, PropertyPut, {Variant(std::int32_t{2})}).ok());
  const InvokeResult on = call(kEnabled, PropertyGet);
  EXPECT_EQ(on.value.type(), VarType::Boolean);
  EXPECT_EQ(on.value.boolValue(), kTrue);
  EXPECT_TRUE(call(kEnabled, PropertyPut, {Variant("False")}).ok());
  EXPECT_FALSE(control.Enabled());

  EXPECT_TRUE(call(kPath, PropertyPut, {Variant("C:\\hub")}).ok());
  EXPECT_EQ(call(kPath, PropertyGet).value, Variant("C:\\hub"));
  EXPECT_TRUE(call(kFormat, PropertyPut, {Variant(std::int16_t{7})}).ok());
  EXPECT_EQ(call(kFormat, PropertyGet).value, Variant(std::int32_t{7}));
  EXPECT_TRUE(call(kFormat, PropertyPut, {Variant("12")}).ok());
  EXPECT_EQ(control.Format(), 12);
  EXPECT_EQ(call(kLastError, PropertyGet).value, Variant("last"));

  control.validateAnswer = static_cast<qint32>(0x80040003u);
  const InvokeResult v = call(kValidate, Method | PropertyGet);
  ASSERT_TRUE(v.ok());
  EXPECT_EQ(v.value, Variant(static_cast<std::int32_t>(0x80040003u)));
  EXPECT_EQ(call(kTwice, Method, {Variant(std::int16_t{21})}).value, Variant(std::int16_t{42}));
  EXPECT_EQ(call(kLowerPath, Method).value, Variant("lower-case twin"));
}

// Catches: bad calls reaching the control, or reported with the wrong status or argument.
TEST_F(Engine, RefusesWhatCannotBeCalled) {
  struct Case {
    DispId id;
    std::uint16_t flags;
    QVector<Variant> args;
    std::int32_t status;
    int arg;
  };
  const std::vector<Case> cases = {
      {999, Method, {}, status::kMemberNotFound, -1},
      {kMissing, Method, {}, status::kMemberNotFound, -1},
      {kLastError, PropertyPut, {Variant("x")}, status::kMemberNotFound, -1},  // read-only
      {kValidate, PropertyPut, {Variant(1)}, status::kMemberNotFound, -1},
      {kValidate, Method, {Variant(1)}, status::kBadParamCount, -1},
      {kFormat, PropertyPut, {Variant("abc")}, status::kTypeMismatch, 0},
      {kTwice, Method, {Variant(std::int32_t{40000})}, status::kOverflow, 0},
      {kInit, Method, {Variant(std::int32_t{1})}, status::kTypeMismatch, 0},
  };
  for (const Case& c : cases) {
    QVector<Variant> args = c.args;
    const InvokeResult r = d->Invoke(c.id, c.flags, args);
    EXPECT_EQ(r.status, c.status) << c.id;
    EXPECT_EQ(r.argumentError, c.arg) << c.id;
    EXPECT_EQ(r.error.number, c.status) << c.id;
    EXPECT_FALSE(r.error.description.isEmpty()) << c.id;
  }
  EXPECT_EQ(control.Format(), 0);
}

// Catches: an in/out argument not written back, an object of the wrong class handed to the
// control as if it were the setup data, a variant parameter losing its object.
TEST_F(Engine, InOutArgumentsComeBackToTheCaller) {
  zan::MemorySetupData rd, other;
  control.replacement = &other;
  QVector<Variant> args{Variant(static_cast<QObject*>(&rd))};
  ASSERT_TRUE(d->Invoke(kInit, Method, args).ok());
  EXPECT_EQ(control.received, &rd);
  EXPECT_EQ(args[0].object(), &other);

  QObject notSetupData;
  control.received = nullptr;
  args = {Variant(&notSetupData)};
  EXPECT_EQ(d->Invoke(kInit, Method, args).status, status::kTypeMismatch);
  EXPECT_EQ(control.received, nullptr);

  QWidget button;
  args = {Variant(static_cast<QObject*>(&button))};
  ASSERT_TRUE(d->Invoke(kRegister, Method, args).ok());
  EXPECT_EQ(control.registered.value<QObject*>(), &button);
  EXPECT_EQ(args[0], Variant(std::int32_t{5}));
  args = {Variant(true)};
  ASSERT_TRUE(d->Invoke(kRegister, Method, args).ok());
  EXPECT_EQ(control.registered, QVariant(true));
}

// Catches: a member's failure escaping as a C++ exception, or losing number, source, help.
TEST_F(Engine, FailuresReachTheCallerAsAutomationErrors) {
  const InvokeResult r = call(kFail, Method);
  EXPECT_EQ(r.status, status::kException);
  EXPECT_EQ(r.error,
            (zan::AutomationError{-1, "QelPDFSetup.Fail", "Line #: 3; nope", "help.hlp", 42}));
  const InvokeResult foreign = call(kFailForeign, Method);
  EXPECT_EQ(foreign.status, status::kException);
  EXPECT_EQ(foreign.error.number, static_cast<std::int32_t>(0x80004005u));
  EXPECT_EQ(foreign.error.description, "boom");
  const InvokeResult put = call(kPath, PropertyPut, {Variant("bad")});
  EXPECT_EQ(put.status, status::kException);
  EXPECT_EQ(put.error.number, 76);
  EXPECT_EQ(put.error.source, "Fake.Path");
  // The control keeps working after a failure.
  EXPECT_TRUE(call(kPath, PropertyPut, {Variant("good")}).ok());
  EXPECT_EQ(control.Path(), "good");
}

// Catches: events not reaching handlers by id, arguments not writable by the handler, a
// handler's failure or wrongly typed answer breaking the control, disconnection not working.
TEST_F(Engine, EventsByIdWithWritableArguments) {
  int changes = 0;
  std::uint32_t changeCookie = 0, errorCookie = 0;
  ASSERT_EQ(d->ConnectEvent(
                1,
                [&](DispId id, QVector<Variant>& args) {
                  EXPECT_EQ(id, 1);
                  EXPECT_TRUE(args.isEmpty());
                  ++changes;
                },
                &changeCookie),
            status::kOk);
  QVector<Variant> seen;
  ASSERT_EQ(d->ConnectEvent(
                2,
                [&](DispId, QVector<Variant>& args) {
                  seen = args;
                  args[1] = Variant("handled");
                  args[3] = Variant(std::int32_t{12});  // Long into the Integer LineNo
                  args[5] = Variant(false);
                },
                &errorCookie),
            status::kOk);
  emit control.Change();
  EXPECT_EQ(changes, 1);

  qint32 num = 380;
  QString msg = "Invalid property value", src = "ZANPDF3.txtConfidence_Validate";
  qint16 line = 0;
  bool reRaise = false, display = true;
  emit control.Error(num, msg, src, line, reRaise, display);
  EXPECT_EQ(seen, (QVector<Variant>{Variant(std::int32_t{380}), Variant("Invalid property value"),
                                    Variant("ZANPDF3.txtConfidence_Validate"),
                                    Variant(std::int16_t{0}), Variant(false), Variant(true)}));
  EXPECT_EQ(seen[5].boolValue(), kTrue);
  EXPECT_EQ(msg, "handled");
  EXPECT_EQ(line, 12);
  EXPECT_FALSE(display);
  EXPECT_EQ(num, 380);

  ASSERT_EQ(d->DisconnectEvent(errorCookie), status::kOk);
  std::uint32_t c = 0;
  d->ConnectEvent(
      2,
      [](DispId, QVector<Variant>& args) {
        args[0] = Variant("not a number");
        throw std::runtime_error("handler bug");
      },
      &c);
  ASSERT_EQ(d->ConnectEvent(
                2, [](DispId, QVector<Variant>& args) { args[0] = Variant("x"); }, &c),
            status::kOk);
  display = true;
  emit control.Error(num, msg, src, line, reRaise, display);  // must not throw or crash
  EXPECT_EQ(num, 380);
  EXPECT_TRUE(display);

  EXPECT_EQ(d->DisconnectEvent(changeCookie), status::kOk);
  emit control.Change();
  EXPECT_EQ(changes, 1);
  // A one-shot handler that disconnects itself while it runs.
  std::uint32_t once = 0;
  int onceCalls = 0;
  d->ConnectEvent(
      1,
      [&](DispId, QVector<Variant>&) {
        ++onceCalls;
        EXPECT_EQ(d->DisconnectEvent(once), status::kOk);
        emit control.Change();  // nested, after the disconnection: not delivered again
      },
      &once);
  emit control.Change();
  emit control.Change();
  EXPECT_EQ(onceCalls, 1);
  EXPECT_EQ(d->DisconnectEvent(changeCookie), status::kNoConnection);
  EXPECT_EQ(d->ConnectEvent(
                3, [](DispId, QVector<Variant>&) {}, &c),
            status::kMemberNotFound);
}

// Catches: conversions that differ from automation's (truth value, rounding, range, text).
TEST(Coercion, FollowsAutomationRules) {
  struct Case {
    Variant in;
    VarType to;
    std::int32_t status;
    Variant out;
  };
  const std::vector<Case> cases = {
      {Variant(std::int32_t{2}), VarType::Boolean, status::kOk, Variant(true)},
      {Variant(std::int16_t{0}), VarType::Boolean, status::kOk, Variant(false)},
      {Variant("true"), VarType::Boolean, status::kOk, Variant(true)},
      {Variant("yes"), VarType::Boolean, status::kTypeMismatch, {}},
      {Variant(true), VarType::Long, status::kOk, Variant(std::int32_t{-1})},
      {Variant("12.5"), VarType::Integer, status::kOk, Variant(std::int16_t{12})},
      {Variant("13.5"), VarType::Integer, status::kOk, Variant(std::int16_t{14})},
      {Variant(std::int32_t{32768}), VarType::Integer, status::kOverflow, {}},
      {Variant(std::int32_t{-32768}), VarType::Integer, status::kOk, Variant(std::int16_t{-32768})},
      {Variant("3000000000"), VarType::Long, status::kOverflow, {}},
      {Variant(), VarType::Long, status::kOk, Variant(std::int32_t{0})},
      {Variant(true), VarType::String, status::kOk, Variant("True")},
      {Variant(std::int16_t{-5}), VarType::String, status::kOk, Variant("-5")},
      {Variant(static_cast<QObject*>(nullptr)), VarType::Long, status::kTypeMismatch, {}},
      {Variant(std::int32_t{1}), VarType::Object, status::kTypeMismatch, {}},
  };
  for (const Case& c : cases) {
    Variant out;
    EXPECT_EQ(coerce(c.in, c.to, out), c.status) << int(c.in.type()) << "->" << int(c.to);
    if (c.status == status::kOk) {
      EXPECT_EQ(out, c.out) << c.in.text().toStdString();
    }
  }
}

}  // namespace

#include "test_automation_engine.moc"
