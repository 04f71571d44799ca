#include "component/panel_factory.h"

#include "automation/object_dispatch.h"
#include "component/server_state.h"
#include "external/panel_environment.h"
#include "settings/automation_error.h"

#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>

#include <QApplication>
#include <QThread>
#include <QtGlobal>

namespace zan::component {
namespace {

using automation::ObjectDispatch;
using automation::TypeDesc;
using automation::zanPdfCtl4Library;

automation::Dispatch* attach(QWidget* panel, const QString& className) {
  if (ObjectDispatch* existing = ObjectDispatch::of(panel)) return existing;
  const TypeDesc* coClass = zanPdfCtl4Library().find(className);
  auto* d = new ObjectDispatch(panel, zanPdfCtl4Library(), *coClass);
  if (!d->bindingProblems().isEmpty())
    qWarning("ZANPdfCtl4: %s does not implement its interface fully: %s", qPrintable(className),
             qPrintable(d->bindingProblems().join(QStringLiteral("; "))));
  return d;
}

template <typename Panel>
SettingsPanel* createPanel(QWidget* parent, const PanelEnvironment* env) {
  return new Panel(env ? *env : PanelEnvironment::defaults(), parent);
}

class PanelClassFactory final : public ClassFactory {
 public:
  explicit PanelClassFactory(const TypeDesc& coClass)
      : name_(coClass.name.toUtf8()), id_(coClass.uuid.toUtf8()) {
    factoryHandedOut();
  }

  std::int32_t CreateInstance(QWidget* parent, const PanelEnvironment* env,
                              automation::Dispatch** control) override {
    if (!control) {
      setLastError(QStringLiteral("CreateInstance: no place for the control"));
      return status::kPointer;
    }
    *control = nullptr;
    // A widget made without a QApplication, or on another thread than the application's, ends
    // the process inside Qt: refuse instead.
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread()) {
      setLastError(app ? QStringLiteral("CreateInstance: a panel is created on the thread of the "
                                        "QApplication only")
                       : QStringLiteral("CreateInstance: no QApplication exists; create one "
                                        "before the first panel"));
      return status::kFail;
    }
    try {
      SettingsPanel* panel =
          name_ == "ZANPdf3" ? createPanel<ZANPdf3>(parent, env) : createPanel<ZANPdf>(parent, env);
      *control = attach(panel, QString::fromUtf8(name_));
      setLastError({});
      return automation::status::kOk;
    } catch (...) {
      const AutomationError e = currentError();
      setLastError(QStringLiteral("%1 (#%2, %3)").arg(e.description).arg(e.number).arg(e.source));
      return status::kFail;
    }
  }

  std::int32_t LockServer(bool lock) override {
    lockServer(lock);
    return automation::status::kOk;
  }
  const char* className() const override { return name_.constData(); }
  const char* classId() const override { return id_.constData(); }
  void Release() override {
    factoryReleased();
    delete this;
  }

 private:
  ~PanelClassFactory() = default;
  QByteArray name_;
  QByteArray id_;
};

}  // namespace

QString progIdOf(const QString& className) {
  return QStringLiteral("ZANPdfCtl4.") + className;
}

ClassFactory* newClassFactory(const char* clsidOrName) {
  QString wanted = QString::fromUtf8(clsidOrName ? clsidOrName : "").trimmed();
  const QString prefix = progIdOf({});
  if (wanted.startsWith(prefix, Qt::CaseInsensitive)) wanted = wanted.mid(prefix.size());
  const TypeDesc* coClass = zanPdfCtl4Library().findClass(wanted);
  return coClass ? new PanelClassFactory(*coClass) : nullptr;
}

automation::Dispatch* dispatchOf(QWidget* panel) {
  if (!qobject_cast<SettingsPanel*>(panel)) return nullptr;
  return attach(panel, QString::fromLatin1(panel->metaObject()->className()));
}

}  // namespace zan::component
