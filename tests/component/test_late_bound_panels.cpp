// Both panels as a late-bound host sees them: the type library, every member and event by
// name and by id, a host conversation compared with the early-bound one, and events; and what
// both panels share: Init's calls to the links control, and members called before Init.

#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include "automation/object_dispatch.h"
#include "failure_of.h"
#include "settings/herald_hub.h"
#include "settings/setup_data.h"
#include "test_environment.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

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

// A hub that offers one dictionary, D, and one workflow, W.
void offerDAndW(TestWorld& world) {
  world.hubFactory = [] {
    auto hub = std::make_unique<zan::testing::MemoryHub>();
    hub->dictionaries = "D|";
    hub->workflows = "W|";
    return hub;
  };
}

// Catches a library description with the wrong help string, type order, kinds or flags, and an
// OCR panel member whose help differs from its namesake on the capture panel.
TEST(TypeLibrary, DescribesTheLibraryAndItsSixTypes) {
  const TypeLibraryDesc& lib = zanPdfCtl4Library();
  EXPECT_EQ(lib.helpString, "Velmar 4.0 ZANPdf Control");  // name and version: see registration
  QStringList types;  // name, kind and the hidden (10), control (20) and dual (40) flags
  for (const TypeDesc& t : lib.types)
    types << QString("%1 %2 %3")
                 .arg(t.name, QString(t.kind == TypeKind::CoClass ? "class" : "interface"))
                 .arg(t.flags & (Hidden | Dual | Control), 0, 16);
  EXPECT_EQ(types,
            QStringList({"_ZANPdf interface 50", "ZANPdf class 20", "_ZANPdf3 interface 50",
                         "ZANPdf3 class 20", "__ZANPdf3 interface 10", "__ZANPdf interface 10"}));
  EXPECT_EQ(lib.find("ZANPdf3")->defaultInterface, "_ZANPdf3");
  EXPECT_EQ(lib.find("ZANPdf")->eventSource, "__ZANPdf");
  const auto& capture = lib.find("_ZANPdf3")->members;
  for (const MemberDesc& m : lib.find("_ZANPdf")->members) {
    const auto namesake = std::find_if(capture.begin(), capture.end(),
                                       [&](const MemberDesc& c) { return c.name == m.name; });
    ASSERT_NE(namesake, capture.end()) << m.name.toStdString();
    EXPECT_EQ(m.helpString, namesake->helpString) << m.name.toStdString();
  }
}

// The Qt type a member's automation type binds to; '&' marks an in/out parameter.
QByteArray qtType(VarType t, bool inOut = false) {
  const char* const names[] = {"void", "",        "short",           "int", "",     "",        "",
                               "",     "QString", "zan::SetupData*", "",    "bool", "QVariant"};
  return names[int(t)] + QByteArray(inOut ? "&" : "");
}

// A Qt type name as written in a declaration, with aliases such as qint32 resolved.
QByteArray canonical(QByteArray type) {
  const bool inOut = type.endsWith('&');
  if (inOut) type.chop(1);
  const QMetaType t = QMetaType::fromName(type);
  return (t.isValid() ? QByteArray(t.name()) : type) + (inOut ? "&" : "");
}

class BothPanels : public ::testing::TestWithParam<const char*> {};

// Catches a described member or event missing from the live panel or bound to a Qt member of
// other parameter types, names or in/out flags; a member unreachable by name in any letter case
// or by its id, without its help string, or offered on the wrong panel; the about box not
// answering the standard id -552 or handed wrong arguments (order, version as three texts,
// picture); a member private to the meta-object system (out of QML's reach).
TEST_P(BothPanels, EveryDescribedMemberIsFoundByNameAndIdOnTheLivePanel) {
  LateBound p(GetParam());
  EXPECT_EQ(ObjectDispatch::of(p.panel.get())->bindingProblems(), QStringList());
  const QMetaObject* meta = p.panel->metaObject();
  const auto check = [&](const TypeDesc& itf, bool events) {
    for (const MemberDesc& m : itf.members) {
      SCOPED_TRACE(m.name.toStdString());
      for (const QString& spelling : {m.name.toLower(), m.name.toUpper()}) {
        QVector<DispId> ids;
        EXPECT_EQ(
            events ? p.d->GetEventIDsOfNames({spelling}, ids) : p.d->GetIDsOfNames({spelling}, ids),
            status::kOk);
        EXPECT_EQ(ids.value(0), m.id);
      }
      EXPECT_EQ(m.helpString.isEmpty(), m.name == "DisableElementDuringHubSearch");
      QList<QByteArray> described, live;
      for (const ParamDesc& param : m.params)
        described << qtType(param.type, param.direction == ParamDirection::InOut) + ' ' +
                         param.name.toUtf8();
      if (m.kind != Method) {
        const QMetaProperty property = meta->property(meta->indexOfProperty(qPrintable(m.name)));
        EXPECT_EQ(canonical(property.typeName()),
                  qtType(m.kind == PropertyGet ? m.result : m.params[0].type));
        EXPECT_TRUE(m.kind == PropertyGet || property.isWritable());
        continue;
      }
      // Exactly one Qt member of that name has the described parameters (Init and Apply also
      // have a plain form for meta-object callers, taking a QObject*).
      int found = 0;
      for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.name() != m.name.toUtf8()) continue;
        live.clear();
        for (int a = 0; a < method.parameterCount(); ++a)
          live << canonical(method.parameterTypes()[a]) + ' ' + method.parameterNames()[a];
        if (live != described) continue;
        ++found;
        EXPECT_EQ(canonical(method.typeName()), qtType(m.result));
        // QML and other bindings call public members only.
        EXPECT_EQ(method.access(), QMetaMethod::Public) << m.name.toStdString();
      }
      EXPECT_EQ(found, 1);
    }
  };
  check(p.d->defaultInterface(), false);
  check(p.d->eventInterface(), true);
  EXPECT_EQ(p.d->defaultInterface().members.size(), QByteArray(GetParam()) == "ZANPdf3" ? 24 : 9);
  QVector<Variant> none;
  EXPECT_TRUE(p.d->Invoke(kDispIdAboutBox, Method, none).ok());
  ASSERT_EQ(p.world.aboutBox.calls.size(), 1u);
  const auto& about = p.world.aboutBox.calls[0];
  EXPECT_EQ(about.picture.size(), QSize(18, 15));
  EXPECT_EQ(about.title, p.world.platform->title);
  EXPECT_EQ(QStringList({about.major, about.minor, about.revision}), QStringList({"5", "0", "3"}));
  EXPECT_FALSE(about.copyright.isEmpty());
}

// Catches the Error event not reaching the host under id 2, or the handler's answers (converted
// to the parameter types) not reaching the panel's own emitter. (Change under id 1:
// OneChangePerCheckBoxClickOrRowEditAfterInitOnly.)
TEST_P(BothPanels, ErrorArrivesByEventIdWithWritableArguments) {
  LateBound p(GetParam());
  std::uint32_t cookie = 0;
  QVector<Variant> seen;
  const auto onError = [&](DispId id, QVector<Variant>& args) {
    EXPECT_EQ(id, 2);
    seen = args;
    args[0] = Variant(std::int32_t{7});
    args[3] = Variant(std::int32_t{12});  // a Long into the Integer LineNo
    args[4] = Variant(true);
    args[5] = Variant(false);
  };
  ASSERT_EQ(p.d->ConnectEvent(2, onError, &cookie), status::kOk);
  qint32 number = 380;
  QString message = "Invalid property value", source = "QelPDFSetup.txtConfidence_Change()";
  qint16 line = 0;
  bool reRaise = false, display = true;
  ASSERT_TRUE(QMetaObject::invokeMethod(p.panel.get(), "Error", Qt::DirectConnection,
                                        Q_ARG(qint32&, number), Q_ARG(QString&, message),
                                        Q_ARG(QString&, source), Q_ARG(qint16&, line),
                                        Q_ARG(bool&, reRaise), Q_ARG(bool&, display)));
  EXPECT_EQ(seen, (QVector<Variant>{Variant(std::int32_t{380}), Variant(message), Variant(source),
                                    Variant(std::int16_t{0}), Variant(false), Variant(true)}));
  EXPECT_EQ(QList<int>({number, line, reRaise, display}), QList<int>({7, 12, true, false}));
}

// Catches a panel that crashes on an outside world without a service or a factory, or with a
// factory that hands out nothing, instead of failing with a clear error (also through the class
// factory), and a browse button that crashes when the folder browser factory hands out nothing.
TEST_P(BothPanels, MissingOutsideComponentsFailClearly) {
  const bool capture = QByteArray(GetParam()) == "ZANPdf3";
  const struct {
    const char* name;
    std::function<void(zan::PanelEnvironment&)> breakIt;
    const char* named;
  } cases[] = {
      {"no platform", [](zan::PanelEnvironment& e) { e.platform.reset(); }, "platform services"},
      {"no string table", [](zan::PanelEnvironment& e) { e.strings.reset(); }, "string table"},
      {"no settings factory", [](zan::PanelEnvironment& e) { e.makeSettings = nullptr; },
       "settings factory"},
      {"settings factory hands out nothing",
       [](zan::PanelEnvironment& e) { e.makeSettings = [] { return nullptr; }; },
       "settings factory handed out no settings object"},
      {"hub factory hands out nothing",
       [](zan::PanelEnvironment& e) { e.makeHub = [] { return nullptr; }; },
       capture ? "hub factory handed out no hub" : nullptr},
      {"links factory hands out nothing",
       [](zan::PanelEnvironment& e) { e.makeLinks = [](QWidget*) { return nullptr; }; },
       "links control factory handed out no links control"},
      {"no about box", [](zan::PanelEnvironment& e) { e.aboutBox = nullptr; }, "about box"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestWorld world;
    zan::PanelEnvironment env = world.environment();
    c.breakIt(env);
    const zan::AutomationError e = zan::testing::failureOf([&] {
      std::unique_ptr<QWidget> panel(capture ? static_cast<QWidget*>(new ZANPdf3(env))
                                             : new ZANPdf(env));
    });
    if (!c.named) {  // the OCR panel uses no hub
      EXPECT_EQ(e.number, 0);
      continue;
    }
    EXPECT_EQ(e.number, 91);
    EXPECT_TRUE(e.description.contains(c.named)) << e.description.toStdString();
    void* f = nullptr;
    ASSERT_EQ(ZANDllGetClassObject(GetParam(), &f), 0);
    auto* factory = static_cast<zan::component::ClassFactory*>(f);
    Dispatch* d = nullptr;
    EXPECT_NE(factory->CreateInstance(nullptr, &env, &d), 0);
    factory->Release();
    EXPECT_EQ(d, nullptr);
    EXPECT_TRUE(QString::fromUtf8(ZANDllGetLastError()).contains(c.named));
  }
  if (!capture) return;
  TestWorld world;
  zan::PanelEnvironment env = world.environment();
  env.makeFolderBrowser = [] { return nullptr; };
  ZANPdf3 panel(env);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  panel.findChild<QPushButton*>("cmdBrowseHub")->click();
  ASSERT_EQ(world.platform->boxes.size(), 1u);
  EXPECT_TRUE(
      world.platform->boxes[0].text.contains("folder browser factory handed out no browser"));
}

// Catches a member reached through Qt's meta-object system (QMetaObject::invokeMethod, directly
// or queued, QObject::setProperty) that lets its failure cross Qt's frames, or that leaves the
// caller no way to learn of it (result, LastError, Error event), while the late-bound surface
// still reports the member's own failure.
TEST_P(BothPanels, MetaObjectCallersLearnOfFailuresWithoutExceptions) {
  LateBound p(GetParam(), [](TestWorld& w) { w.log = std::make_shared<zan::testing::CallLog>(); });
  QWidget* panel = p.panel.get();
  QStringList events;
  std::uint32_t cookie = 0;
  p.d->ConnectEvent(
      2, [&](DispId, QVector<Variant>& args) { events << args[1].text(); }, &cookie);

  qint32 result = 0;
  EXPECT_NO_THROW(QMetaObject::invokeMethod(panel, "Validate", Qt::DirectConnection,
                                            Q_RETURN_ARG(qint32, result)));
  EXPECT_EQ(result, -1);
  const auto lastError = [&] { return panel->property("LastError").toMap(); };
  EXPECT_EQ(lastError().value("number").toInt(), -1);
  EXPECT_EQ(lastError().value("source").toString(), "QelPDFSetup.Validate");
  EXPECT_TRUE(lastError().value("description").toString().contains("call Init first"));
  EXPECT_EQ(events.size(), 1);

  EXPECT_NO_THROW(QMetaObject::invokeMethod(panel, "SetValidateFocus", Qt::QueuedConnection));
  EXPECT_NO_THROW(QCoreApplication::processEvents());
  EXPECT_EQ(lastError().value("description"), "No validation failure.");
  EXPECT_EQ(events.size(), 2);

  zan::MemorySetupData rd;
  zan::SetupData* handle = &rd;
  EXPECT_TRUE(QMetaObject::invokeMethod(panel, "Init", Qt::DirectConnection,
                                        Q_ARG(zan::SetupData*&, handle)));
  EXPECT_TRUE(lastError().isEmpty());  // a success clears it
  p.world.log->failName = "settings.setEnabled";
  EXPECT_NO_THROW(panel->setProperty("Enabled", false));
  EXPECT_TRUE(lastError().value("description").toString().contains("settings.setEnabled"));
  EXPECT_EQ(events.size(), 3);

  // The late-bound surface still hands out the member's own failure.
  QVector<Variant> none;
  const InvokeResult r = p.call("SetValidateFocus", Method, none);
  EXPECT_EQ(r.status, status::kException);
  EXPECT_EQ(r.error.description, "No validation failure.");
  EXPECT_EQ(events.size(), 3);
}

// Catches document rows in the wrong order or with their arguments swapped, rows appended
// without emptying first when Init runs again, the links-control calls of Init missing or out
// of order, a replacement of rd not reaching the host, or an Init that goes on after the links
// control's redraw (writing the settings or enabling controls once the rows are shown).
TEST_P(BothPanels, InitTalksToTheLinksControlInOrderAndEndsWithItsRedraw) {
  LateBound p(GetParam(), [](TestWorld& w) { w.log = std::make_shared<zan::testing::CallLog>(); });
  zan::MemorySetupData rd, replacement;
  rd.partOne().assign({{"AuthorField.FieldText", "Ann"},
                       {"TitleField.FieldName", "DocTitle"},
                       {"TitleField.FieldType", 1}});
  p.world.links->replacement = &replacement;
  for (const bool again : {false, true}) {
    SCOPED_TRACE(again ? "second Init, after RestoreDefaults" : "first Init");
    if (again) static_cast<zan::SettingsPanel*>(p.panel.get())->RestoreDefaults();
    zan::SetupData* handle = &rd;
    p.world.links->calls.clear();
    p.world.log->calls.clear();
    ASSERT_TRUE(QMetaObject::invokeMethod(p.panel.get(), "Init", Qt::DirectConnection,
                                          Q_ARG(zan::SetupData*&, handle)));
    ASSERT_TRUE(p.panel->property("LastError").toMap().isEmpty());
    EXPECT_EQ(handle, &replacement);
    EXPECT_EQ(
        p.world.links->calls,
        QStringList({"setOfferSetupLinks(1)", "ClearLinks", "AddLink(DocTitle,1,,Title)",
                     "AddLink(,0,,Subject)", "AddLink(,0,Ann,Author)", "AddLink(,0,,Keywords)",
                     "Redraw", "SetSetupData", "setInitializing(0)", "setModified(0)", "Redraw"}));
    const QStringList& calls = p.world.log->calls;
    const qsizetype handedOver = calls.indexOf("/links.SetSetupData");
    ASSERT_GE(handedOver, 0);
    for (qsizetype i = handedOver; i < calls.size(); ++i)
      EXPECT_TRUE(calls[i].startsWith("/links.")) << calls[i].toStdString();
  }
  EXPECT_EQ(p.world.links->rowCount(), 4);
}

// Catches a member that needs the stored settings running before Init instead of failing with
// "call Init first" and changing nothing: Validate copying the unloaded controls into the
// settings object (a later Init and Apply then store them), Apply storing them, RestoreDefaults
// changing them.
TEST_P(BothPanels, MembersBeforeInitFailAndChangeNothing) {
  using Member = std::function<void(zan::SettingsPanel&, zan::SetupData*)>;
  const std::pair<const char*, Member> members[] = {
      {"(none)", {}},  // what Init and Apply store when nothing ran before them
      {"Validate", [](zan::SettingsPanel& p, zan::SetupData*) { p.Validate(); }},
      {"Apply", [](zan::SettingsPanel& p, zan::SetupData* rd) { p.Apply(rd); }},
      {"RestoreDefaults", [](zan::SettingsPanel& p, zan::SetupData*) { p.RestoreDefaults(); }}};
  QVariantMap reference;
  for (const auto& [member, call] : members) {
    SCOPED_TRACE(member);
    LateBound p(GetParam(), offerDAndW);
    auto& panel = *static_cast<zan::SettingsPanel*>(p.panel.get());
    zan::MemorySetupData rd;
    rd.partTwo().assign({{"WorkgroupHub", "/srv/hub"}, {"WatchedFolder", "/w"}, {"Workflow", "W"}});
    zan::SetupData* handle = &rd;
    if (call) {
      const zan::AutomationError e = zan::testing::failureOf([&] { call(panel, handle); });
      EXPECT_EQ(e.number, -1);
      EXPECT_EQ(e.source, QString("QelPDFSetup.") + member);
      EXPECT_TRUE(e.description.contains("call Init first")) << e.description.toStdString();
      EXPECT_TRUE(rd.partOne().toMap().isEmpty());
      EXPECT_TRUE(panel.ValidateError().isEmpty());
    }
    panel.Init(handle);
    panel.Apply(handle);
    QVariantMap stored = rd.partTwo().toMap();
    stored.insert(rd.partOne().toMap());
    if (!call) reference = stored;
    EXPECT_EQ(stored, reference);
  }
  EXPECT_TRUE(reference.value("LowOcrConfidence").toBool());  // the defaults were stored
}

// Catches a check box without its handler or with one that fires twice, a document-row edit
// not reaching the host as Change (Init leaving the links control silenced), or Change raised
// before Init or while Init loads.
TEST_P(BothPanels, OneChangePerCheckBoxClickOrRowEditAfterInitOnly) {
  LateBound p(GetParam());
  int changes = 0;
  std::uint32_t cookie = 0;
  ASSERT_EQ(p.d->ConnectEvent(
                1, [&](DispId, QVector<Variant>&) { ++changes; }, &cookie),
            status::kOk);
  p.panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(p.panel.get()));
  const QList<QCheckBox*> boxes = p.panel->findChildren<QCheckBox*>();
  EXPECT_EQ(boxes.size(), QByteArray(GetParam()) == "ZANPdf3" ? 10 : 8);
  const auto click = [](QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  };
  zan::DocInfoField edited;
  edited.setFieldText("Quarterly report");
  for (QCheckBox* box : boxes) click(box);
  emit p.world.links->rowEdited(1);  // no rows before Init
  zan::MemorySetupData rd;
  QVector<Variant> args{Variant(static_cast<QObject*>(&rd))};
  ASSERT_TRUE(p.call("Init", Method, args).ok());
  EXPECT_EQ(changes, 0);
  for (QCheckBox* box : boxes) {
    click(box);
    click(box);
    EXPECT_EQ(changes, 2) << box->objectName().toStdString();
    changes = 0;
  }
  p.world.links->editRow(1, edited);
  EXPECT_EQ(changes, 1);
}

INSTANTIATE_TEST_SUITE_P(ZANPdfCtl4, BothPanels, ::testing::Values("ZANPdf3", "ZANPdf"));

// ---- One host conversation, early-bound and late-bound ----

// One step: the member a late-bound host calls with `arg` ("rd": the host's setup data), and
// the same step early-bound, leaving any result in its last parameter.
using Rd = zan::SetupData*;
template <class P>
struct Step {
  const char* name;
  std::uint16_t flags;
  Variant arg;
  void (*early)(P&, Rd&, Variant&);
};

QString text(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.isTrue() ? "True" : "False";
  if (v.type() == VarType::String) return '"' + v.text() + '"';
  return v.isEmpty() ? QString() : QString::number(v.number());
}
QString text(const zan::AutomationError& e) {
  return QString("error %1 %2: %3").arg(e.number).arg(e.source, e.description);
}

// The log of a conversation: each step's result or error, the focus after SetValidateFocus,
// the number of Change events and the stored setup data.
template <class P>
QStringList converse(const std::vector<Step<P>>& steps, bool lateBound,
                     void (*prepare)(TestWorld&, zan::MemorySetupData&)) {
  zan::MemorySetupData data;
  Rd rd = &data;
  TestWorld world;
  prepare(world, data);
  int changes = 0;
  std::unique_ptr<P> early;
  std::unique_ptr<LateBound> late;
  QWidget* panel = nullptr;
  if (lateBound) {
    late = std::make_unique<LateBound>(P::staticMetaObject.className(),
                                       [&](TestWorld& w) { prepare(w, data); });
    std::uint32_t cookie = 0;
    late->d->ConnectEvent(
        1, [&](DispId, QVector<Variant>&) { ++changes; }, &cookie);
    panel = late->panel.get();
  } else {
    panel = (early = std::make_unique<P>(world.environment())).get();
    QObject::connect(early.get(), &P::Change, [&] { ++changes; });
  }
  panel->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(panel));
  QStringList log;
  for (const Step<P>& s : steps) {
    Variant result;
    if (late) {
      QVector<Variant> args;
      if (s.arg == Variant("rd"))
        args << Variant(static_cast<QObject*>(rd));
      else if (!s.arg.isEmpty())
        args << s.arg;
      const InvokeResult r = late->call(s.name, s.flags, args);
      EXPECT_TRUE(r.ok() || r.status == status::kException) << s.name;
      log << s.name + QString(": ") + (r.ok() ? text(r.value) : text(r.error));
    } else {
      try {
        s.early(*early, rd, result);
        log << s.name + QString(": ") + text(result);
      } catch (const zan::AutomationException& e) {
        log << s.name + QString(": ") + text(e.error());
      }
    }
    if (QByteArray(s.name) == "SetValidateFocus") {
      QWidget* f = QApplication::focusWidget();
      while (f && f->objectName().isEmpty()) f = f->parentWidget();
      log << "focus " + (f && panel->isAncestorOf(f) ? f->objectName() : "outside");
    }
  }
  const auto json = [](const QVariantMap& m) {
    return QString(QJsonDocument(QJsonObject::fromVariantMap(m)).toJson(QJsonDocument::Compact));
  };
  return log << QString("Change events: %1").arg(changes) << json(data.partOne().toMap())
             << json(data.partTwo().toMap());
}

// Catches a late-bound member doing something else than its early-bound namesake: another
// result, error, focus, stored setting or number of Change events.
TEST(Conversation, AcrobatCapturePanelLateBoundEqualsEarlyBound) {
  using P = ZANPdf3;
  const std::vector<Step<P>> steps = {
      {"SetValidateFocus", Method, {}, [](P& p, Rd&, Variant&) { p.SetValidateFocus(); }},
      {"Init", Method, "rd", [](P& p, Rd& rd, Variant&) { p.Init(rd); }},
      {"Validate", Method | PropertyGet, {}, [](P& p, Rd&, Variant& v) { v = p.Validate(); }},
      {"ValidateError", PropertyGet, {}, [](P& p, Rd&, Variant& v) { v = p.ValidateError(); }},
      {"SetValidateFocus", Method, {}, [](P& p, Rd&, Variant&) { p.SetValidateFocus(); }},
      {"Apply", Method, "rd", [](P& p, Rd& rd, Variant&) { p.Apply(rd); }},
      {"workgrouphub", PropertyPut, "//hub",
       [](P& p, Rd&, Variant&) { p.setWorkgroupHub("//hub"); }},
      {"WatchedFolder", PropertyPut, "C:/w",
       [](P& p, Rd&, Variant&) { p.setWatchedFolder("C:/w"); }},
      {"PDFWaitForStatus", PropertyPut, std::int16_t{0},
       [](P& p, Rd&, Variant&) { p.setPDFWaitForStatus(false); }},
      {"PDFInputImageType", PropertyPut, "12",
       [](P& p, Rd&, Variant&) { p.setPDFInputImageType(12); }},
      {"Enabled", PropertyPut, false, [](P& p, Rd&, Variant&) { p.putEnabled(false); }},
      {"Enabled", PropertyGet, {}, [](P& p, Rd&, Variant& v) { v = p.Enabled(); }},
      {"Validate", Method, {}, [](P& p, Rd&, Variant& v) { v = p.Validate(); }},
      {"ValidateError", PropertyGet, {}, [](P& p, Rd&, Variant& v) { v = p.ValidateError(); }},
      {"Apply", Method, "rd", [](P& p, Rd& rd, Variant&) { p.Apply(rd); }},
  };
  const auto seedHub = [](TestWorld& world, zan::MemorySetupData&) { offerDAndW(world); };
  const QStringList early = converse(steps, false, seedHub);
  EXPECT_EQ(converse(steps, true, seedHub), early);
  // The flow ran: a refusal before the puts, success after them, the puts stored.
  EXPECT_TRUE(early.contains(QString("Validate: %1").arg(zan::kObjectErrorBase + 536)))
      << early.join('\n').toStdString();
  EXPECT_TRUE(early.contains("Validate: 0"));
  EXPECT_TRUE(early.last().contains("\"PDFInputImageType\":12"));
  EXPECT_FALSE(early.contains("Change events: 0"));
}

// Catches the same briefly for the OCR panel (same late-binding path): a refused Validate with
// its focus, an Apply refused while the settings are illegal, then defaults stored.
TEST(Conversation, OcrPanelLateBoundEqualsEarlyBound) {
  using P = ZANPdf;
  const std::vector<Step<P>> steps = {
      {"Init", Method, "rd", [](P& p, Rd& rd, Variant&) { p.Init(rd); }},
      {"Validate", Method, {}, [](P& p, Rd&, Variant& v) { v = p.Validate(); }},
      {"ValidateError", PropertyGet, {}, [](P& p, Rd&, Variant& v) { v = p.ValidateError(); }},
      {"SetValidateFocus", Method, {}, [](P& p, Rd&, Variant&) { p.SetValidateFocus(); }},
      {"Apply", Method, "rd", [](P& p, Rd& rd, Variant&) { p.Apply(rd); }},
      {"RestoreDefaults", Method, {}, [](P& p, Rd&, Variant&) { p.RestoreDefaults(); }},
      {"Apply", Method, "rd", [](P& p, Rd& rd, Variant&) { p.Apply(rd); }},
  };
  const auto noRotation = [](TestWorld&, zan::MemorySetupData& rd) {
    for (const char* key : {"Rotate0", "Rotate90", "Rotate180", "Rotate270"})
      rd.partTwo().setValue(key, false);
  };
  const QStringList early = converse(steps, false, noRotation);
  EXPECT_EQ(converse(steps, true, noRotation), early);
  ASSERT_GE(early.size(), 8);
  EXPECT_EQ(early[1], QString("Validate: %1").arg(zan::kObjectErrorBase + 0x20C));
  EXPECT_EQ(early[4], "focus chkRotate0");
  EXPECT_TRUE(early[5].startsWith("Apply: error ")) << early[5].toStdString();
  EXPECT_EQ(early[7], "Apply: ");
}

}  // namespace
