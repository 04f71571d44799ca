// Both panels as a late-bound host sees them: the type library, every member and event by
// name and by id, a whole host conversation compared with the early-bound one, and events.

#include "member_table.h"

#include "acrobat_capture_panel/zanpdf3.h"
#include "common/automation/object_dispatch.h"
#include "component/zan_component.h"
#include "external/herald_hub.h"
#include "external/setup_data.h"
#include "ocr_pdf_panel/zanpdf.h"
#include "test_environment.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

using namespace zan::automation;
using zan::testing::TestWorld;

namespace {

// A panel made by the class factory with a test world as its outside world.
struct LateBound {
  TestWorld world;
  std::unique_ptr<QWidget> panel;
  Dispatch* d = nullptr;

  explicit LateBound(const char* className, const std::function<void(TestWorld&)>& prepare = {}) {
    if (prepare) prepare(world);
    void* f = nullptr;
    EXPECT_EQ(ZANDllGetClassObject(className, &f), 0);
    auto* factory = static_cast<zan::component::ClassFactory*>(f);
    const zan::PanelEnvironment env = world.environment();
    EXPECT_EQ(factory->CreateInstance(nullptr, &env, &d), 0);
    factory->Release();
    panel.reset(qobject_cast<QWidget*>(d->object()));
  }
  InvokeResult call(const QString& name, std::uint16_t flags, QVector<Variant>& args) {
    QVector<DispId> ids;
    EXPECT_EQ(d->GetIDsOfNames({name}, ids), status::kOk) << name.toStdString();
    return d->Invoke(ids[0], flags, args);
  }
};

// Catches a library description with the wrong name, version, locale, help or type order.
TEST(TypeLibrary, DescribesTheLibraryAndItsSixTypes) {
  const TypeLibraryDesc& lib = zanPdfCtl4Library();
  EXPECT_EQ(lib.name, "ZANPdfCtl4");
  EXPECT_EQ(lib.majorVersion, 1);
  EXPECT_EQ(lib.minorVersion, 1);
  EXPECT_EQ(lib.lcid, 0x409u);
  EXPECT_EQ(lib.helpString, "Velmar 4.0 ZANPdf Control");
  struct Type {
    const char* name;
    TypeKind kind;
    std::uint32_t flags;
  };
  const Type expected[] = {{"_ZANPdf", TypeKind::DispatchInterface, Hidden | Dual},
                           {"ZANPdf", TypeKind::CoClass, Control},
                           {"_ZANPdf3", TypeKind::DispatchInterface, Hidden | Dual},
                           {"ZANPdf3", TypeKind::CoClass, Control},
                           {"__ZANPdf3", TypeKind::DispatchInterface, Hidden},
                           {"__ZANPdf", TypeKind::DispatchInterface, Hidden}};
  ASSERT_EQ(lib.types.size(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(lib.types[i].name, expected[i].name);
    EXPECT_EQ(lib.types[i].kind, expected[i].kind) << expected[i].name;
    EXPECT_EQ(lib.types[i].flags & (Hidden | Dual | Control), expected[i].flags)
        << expected[i].name;
  }
  EXPECT_EQ(lib.find("ZANPdf3")->defaultInterface, "_ZANPdf3");
  EXPECT_EQ(lib.find("ZANPdf")->eventSource, "__ZANPdf");
  EXPECT_EQ(lib.find("TextError"), nullptr);
}

class EveryMember : public ::testing::TestWithParam<const char*> {};

// Catches a member or event missing, misnumbered, unreachable by name in any case, bound to
// the wrong Qt member, or described with the wrong parameters, flags or help string.
TEST_P(EveryMember, FoundByNameAndIdWithItsDescription) {
  LateBound p(GetParam());
  const bool acrobatCapture = QByteArray(GetParam()) == "ZANPdf3";
  ObjectDispatch* engine = ObjectDispatch::of(p.panel.get());
  ASSERT_EQ(static_cast<Dispatch*>(engine), p.d);
  EXPECT_EQ(engine->bindingProblems(), QStringList());
  const auto members = zan::testing::expectedMembers(acrobatCapture);
  EXPECT_EQ(p.d->defaultInterface().members.size(), static_cast<int>(members.size()));
  const auto check = [](const MemberDesc* m, const zan::testing::ExpectedMember& e) {
    ASSERT_NE(m, nullptr) << e.name;
    EXPECT_EQ(m->result, e.result) << e.name;
    EXPECT_EQ(m->helpString, QString::fromUtf8(e.help)) << e.name;
    ASSERT_EQ(m->params.size(), static_cast<int>(e.params.size())) << e.name;
    for (std::size_t i = 0; i < e.params.size(); ++i) {
      EXPECT_EQ(m->params[int(i)].name, e.params[i].name) << e.name;
      EXPECT_EQ(m->params[int(i)].type, e.params[i].type) << e.name;
      EXPECT_EQ(m->params[int(i)].direction == ParamDirection::InOut, e.params[i].inOut) << e.name;
    }
  };
  for (const auto& e : members) {
    for (const QString& spelling :
         {QString(e.name), QString(e.name).toLower(), QString(e.name).toUpper()}) {
      QVector<DispId> ids;
      EXPECT_EQ(p.d->GetIDsOfNames({spelling}, ids), status::kOk) << spelling.toStdString();
      EXPECT_EQ(ids.value(0), e.id) << spelling.toStdString();
    }
    const MemberDesc* found = nullptr;
    for (const MemberDesc& m : p.d->defaultInterface().members)
      if (m.id == e.id && m.kind == e.kind) found = &m;
    check(found, e);
  }
  for (const auto& e : zan::testing::expectedEvents()) {
    QVector<DispId> ids;
    EXPECT_EQ(p.d->GetEventIDsOfNames({QString(e.name).toLower()}, ids), status::kOk);
    EXPECT_EQ(ids.value(0), e.id);
    const MemberDesc* found = nullptr;
    for (const MemberDesc& m : p.d->eventInterface().members)
      if (m.id == e.id) found = &m;
    check(found, e);
  }
  // The other panel's extra members are not found on the OCR panel.
  QVector<DispId> ids;
  EXPECT_EQ(p.d->GetIDsOfNames({"WorkgroupHub"}, ids),
            acrobatCapture ? status::kOk : status::kUnknownName);
}

// Catches an about box not reachable under the standard id -552.
TEST_P(EveryMember, ShowAboutBoxAnswersTheStandardId) {
  LateBound p(GetParam());
  QVector<Variant> none;
  EXPECT_TRUE(p.d->Invoke(-552, Method, none).ok());
  EXPECT_EQ(p.world.aboutBox.calls.size(), 1u);
}

// Catches events not reaching the host under ids 1 and 2, or the handler's answers not
// reaching the panel's own emitter.
TEST_P(EveryMember, ChangeAndErrorArriveByEventId) {
  LateBound p(GetParam());
  int changes = 0;
  std::uint32_t cookie = 0;
  ASSERT_EQ(p.d->ConnectEvent(
                1, [&](DispId, QVector<Variant>&) { ++changes; }, &cookie),
            status::kOk);
  QVector<Variant> seen;
  ASSERT_EQ(p.d->ConnectEvent(
                2,
                [&](DispId id, QVector<Variant>& args) {
                  EXPECT_EQ(id, 2);
                  seen = args;
                  args[0] = Variant(std::int32_t{7});
                  args[4] = Variant(true);
                  args[5] = Variant(false);
                },
                &cookie),
            status::kOk);
  zan::MemorySetupData rd;
  QVector<Variant> args{Variant(static_cast<QObject*>(&rd))};
  ASSERT_TRUE(p.call("Init", Method, args).ok());
  // A user edit once the panel is live.
  auto* box = p.panel->findChild<QCheckBox*>(QStringLiteral("chkLowFontConfidence"));
  ASSERT_NE(box, nullptr);
  box->click();
  EXPECT_EQ(changes, 1);

  qint32 number = 380;
  QString message = "Invalid property value",
          source = "QelPDFSetup.txtConfidenceThreshold_Change()";
  qint16 line = 0;
  bool reRaise = false, display = true;
  const bool emitted = QMetaObject::invokeMethod(p.panel.get(), "Error", Qt::DirectConnection,
                                                 Q_ARG(qint32&, number), Q_ARG(QString&, message),
                                                 Q_ARG(QString&, source), Q_ARG(qint16&, line),
                                                 Q_ARG(bool&, reRaise), Q_ARG(bool&, display));
  ASSERT_TRUE(emitted);
  ASSERT_EQ(seen.size(), 6);
  EXPECT_EQ(seen[0], Variant(std::int32_t{380}));
  EXPECT_EQ(seen[2], Variant(source));
  EXPECT_EQ(seen[3].type(), VarType::Integer);
  EXPECT_EQ(seen[5].boolValue(), kTrue);
  EXPECT_EQ(number, 7);
  EXPECT_TRUE(reRaise);
  EXPECT_FALSE(display);
}

INSTANTIATE_TEST_SUITE_P(BothPanels, EveryMember, ::testing::Values("ZANPdf3", "ZANPdf"));

// ---- One host conversation, early-bound and late-bound ----

QString text(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
      return v.isTrue() ? "True" : "False";
    case VarType::Integer:
    case VarType::Long:
      return QString::number(v.number());
    case VarType::String:
      return '"' + v.text() + '"';
    default:
      return {};
  }
}
QString text(const zan::AutomationError& e) {
  return QStringLiteral("error %1 %2: %3").arg(e.number).arg(e.source, e.description);
}

// The outcome of one early-bound step, written as the late-bound one is.
template <typename F>
QString early(F step) {
  try {
    return text(step());
  } catch (const zan::AutomationException& e) {
    return text(e.error());
  }
}
QString late(LateBound& p, const QString& name, std::uint16_t flags, QVector<Variant> args = {}) {
  const InvokeResult r = p.call(name, flags, args);
  if (r.status == status::kException) return text(r.error);
  EXPECT_TRUE(r.ok()) << name.toStdString() << " " << r.error.description.toStdString();
  return text(r.value);
}
QString focusOf(QWidget* panel) {
  QWidget* f = QApplication::focusWidget();
  while (f && f->objectName().isEmpty()) f = f->parentWidget();
  return f && panel->isAncestorOf(f) ? f->objectName() : QStringLiteral("outside");
}

void seedHub(TestWorld& world) {
  world.hubFactory = [] {
    auto hub = std::make_unique<zan::MemoryHub>();
    hub->dictionaries = "D|";
    hub->workflows = "W|";
    return hub;
  };
}

struct Outcome {
  QStringList log;
  QString one, two;  // the stored setup data parts, as JSON
  int changes = 0;
};

QString json(const QVariantMap& part) {
  return QString::fromUtf8(
      QJsonDocument(QJsonObject::fromVariantMap(part)).toJson(QJsonDocument::Compact));
}

// Catches a late-bound member doing something else than its early-bound namesake: another
// result, error, focus, stored setting or number of Change events.
TEST(Conversation, AcrobatCapturePanelLateBoundEqualsEarlyBound) {
  Outcome a, b;
  {
    TestWorld world;
    seedHub(world);
    ZANPdf3 panel(world.environment());
    QPushButton ok("OK");
    QObject::connect(&panel, &ZANPdf3::Change, [&] { ++a.changes; });
    zan::MemorySetupData rd;
    zan::SetupData* r = &rd;
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QVariant element = QVariant::fromValue<QObject*>(&ok);
    panel.DisableElementDuringHubSearch(element);
    a.log << early([&] {
      panel.SetValidateFocus();
      return Variant();
    });
    a.log << early([&] {
      panel.Init(r);
      return Variant();
    });
    a.log << early([&] { return Variant(panel.Validate()); });
    a.log << early([&] { return Variant(panel.ValidateError()); });
    a.log << early([&] {
      panel.SetValidateFocus();
      return Variant();
    }) << focusOf(&panel);
    a.log << early([&] {
      panel.Apply(r);
      return Variant();
    });
    a.log << early([&] {
      panel.setWorkgroupHub("//hub");
      return Variant();
    });
    a.log << early([&] {
      panel.setWatchedFolder("C:/w");
      return Variant();
    });
    a.log << early([&] {
      panel.setPDFOutputFolder("C:/out ");
      return Variant();
    });
    a.log << early([&] {
      panel.setPDFWaitForStatus(false);
      return Variant();
    });
    a.log << early([&] {
      panel.setPDFInputImageType(12);
      return Variant();
    });
    a.log << early([&] {
      panel.putEnabled(false);
      return Variant();
    });
    a.log << early([&] { return Variant(panel.Enabled()); });
    a.log << early([&] { return Variant(panel.Validate()); });
    a.log << early([&] { return Variant(panel.ValidateError()); });
    a.log << early([&] {
      panel.Apply(r);
      return Variant();
    });
    a.log << QString::number(ok.isEnabled());
    a.one = json(rd.partOne().toMap());
    a.two = json(rd.partTwo().toMap());
  }
  {
    LateBound p("ZANPdfCtl4.ZANPdf3", seedHub);
    QPushButton ok("OK");
    std::uint32_t cookie = 0;
    p.d->ConnectEvent(
        1, [&](DispId, QVector<Variant>&) { ++b.changes; }, &cookie);
    zan::MemorySetupData rd;
    QObject* r = &rd;
    p.panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.panel.get()));
    late(p, "DisableElementDuringHubSearch", Method, {Variant(static_cast<QObject*>(&ok))});
    b.log << late(p, "SetValidateFocus", Method);
    b.log << late(p, "Init", Method, {Variant(r)});
    b.log << late(p, "Validate", Method | PropertyGet);
    b.log << late(p, "ValidateError", PropertyGet);
    b.log << late(p, "SetValidateFocus", Method) << focusOf(p.panel.get());
    b.log << late(p, "Apply", Method, {Variant(r)});
    b.log << late(p, "workgrouphub", PropertyPut, {Variant("//hub")});
    b.log << late(p, "WatchedFolder", PropertyPut, {Variant("C:/w")});
    b.log << late(p, "PDFOutputFolder", PropertyPut, {Variant("C:/out ")});
    b.log << late(p, "PDFWaitForStatus", PropertyPut, {Variant(std::int16_t{0})});
    b.log << late(p, "PDFInputImageType", PropertyPut, {Variant("12")});
    b.log << late(p, "Enabled", PropertyPut, {Variant(false)});
    b.log << late(p, "Enabled", PropertyGet);
    b.log << late(p, "Validate", Method);
    b.log << late(p, "ValidateError", PropertyGet);
    b.log << late(p, "Apply", Method, {Variant(r)});
    b.log << QString::number(ok.isEnabled());
    b.one = json(rd.partOne().toMap());
    b.two = json(rd.partTwo().toMap());
  }
  EXPECT_EQ(a.log, b.log);
  EXPECT_EQ(a.log.value(2), QString::number(zan::kObjectErrorBase + 536));  // the design's flow ran
  EXPECT_EQ(a.log.value(14), "0");
  EXPECT_EQ(a.one, b.one);
  EXPECT_EQ(a.two, b.two);
  EXPECT_TRUE(b.two.contains("\"PDFInputImageType\":12")) << b.two.toStdString();
  EXPECT_EQ(a.changes, b.changes);
  EXPECT_GT(b.changes, 0);
}

// Catches the same for the OCR panel, with a user edit between two validations and an Apply
// refused while the settings are illegal.
TEST(Conversation, OcrPanelLateBoundEqualsEarlyBound) {
  const auto seed = [](zan::MemorySetupData& rd) {
    for (const char* key : {"Rotate0", "Rotate90", "Rotate180", "Rotate270"})
      rd.partTwo().setValue(key, false);
  };
  Outcome a, b;
  {
    TestWorld world;
    ZANPdf panel(world.environment());
    QObject::connect(&panel, &ZANPdf::Change, [&] { ++a.changes; });
    zan::MemorySetupData rd;
    seed(rd);
    zan::SetupData* r = &rd;
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    a.log << early([&] {
      panel.Init(r);
      return Variant();
    });
    a.log << early([&] { return Variant(panel.Validate()); });
    a.log << early([&] { return Variant(panel.ValidateError()); });
    a.log << early([&] {
      panel.SetValidateFocus();
      return Variant();
    }) << focusOf(&panel);
    a.log << early([&] {
      panel.Apply(r);
      return Variant();
    });
    a.log << QString::number(rd.partTwo().keys().size());
    panel.findChild<QCheckBox*>("chkRotate90")->click();
    a.log << early([&] { return Variant(panel.Validate()); });
    a.log << early([&] { return Variant(panel.ValidateError()); });
    a.log << early([&] {
      panel.Apply(r);
      return Variant();
    });
    a.log << early([&] {
      panel.RestoreDefaults();
      return Variant();
    });
    a.log << early([&] { return Variant(panel.Enabled()); });
    a.one = json(rd.partOne().toMap());
    a.two = json(rd.partTwo().toMap());
  }
  {
    LateBound p("zanpdf");
    std::uint32_t cookie = 0;
    p.d->ConnectEvent(
        1, [&](DispId, QVector<Variant>&) { ++b.changes; }, &cookie);
    zan::MemorySetupData rd;
    seed(rd);
    QObject* r = &rd;
    p.panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.panel.get()));
    b.log << late(p, "Init", Method, {Variant(r)});
    b.log << late(p, "Validate", Method);
    b.log << late(p, "ValidateError", PropertyGet);
    b.log << late(p, "SetValidateFocus", Method) << focusOf(p.panel.get());
    b.log << late(p, "Apply", Method, {Variant(r)});
    b.log << QString::number(rd.partTwo().keys().size());
    p.panel->findChild<QCheckBox*>("chkRotate90")->click();
    b.log << late(p, "Validate", Method);
    b.log << late(p, "ValidateError", PropertyGet);
    b.log << late(p, "Apply", Method, {Variant(r)});
    b.log << late(p, "RestoreDefaults", Method);
    b.log << late(p, "Enabled", PropertyGet);
    b.one = json(rd.partOne().toMap());
    b.two = json(rd.partTwo().toMap());
  }
  EXPECT_EQ(a.log, b.log);
  EXPECT_EQ(a.log.value(1), QString::number(zan::kObjectErrorBase + 0x20C));
  EXPECT_EQ(a.log.value(4), "chkRotate0");
  EXPECT_TRUE(a.log.value(5).startsWith("error "));  // Apply refused the illegal settings
  EXPECT_EQ(a.log.value(7), "0");
  EXPECT_EQ(a.one, b.one);
  EXPECT_EQ(a.two, b.two);
  EXPECT_TRUE(b.two.contains("\"Rotate90\":true")) << b.two.toStdString();
  EXPECT_EQ(a.changes, b.changes);
  EXPECT_GT(b.changes, 0);
}

}  // namespace
