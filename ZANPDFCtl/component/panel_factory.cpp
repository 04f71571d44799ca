#include "component/panel_factory.h"

#include "acrobat_capture_panel/zanpdf3.h"
#include "common/automation/object_dispatch.h"
#include "component/server_state.h"
#include "ocr_pdf_panel/zanpdf.h"

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
QWidget* createPanel(QWidget* parent, const PanelEnvironment* env) {
  return env ? new Panel(*env, parent) : new Panel(parent);
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
    try {
      QWidget* panel =
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
  if (qobject_cast<ZANPdf3*>(panel)) return attach(panel, QStringLiteral("ZANPdf3"));
  if (qobject_cast<ZANPdf*>(panel)) return attach(panel, QStringLiteral("ZANPdf"));
  return nullptr;
}

}  // namespace zan::component
