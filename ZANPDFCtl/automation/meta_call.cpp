#include "automation/meta_call.h"

#include <QObject>
#include <QPointer>

namespace zan {
namespace {

thread_local const QObject* passOnFor = nullptr;

}  // namespace

bool MetaCall::run(QObject* panel, bool clears, const std::function<void()>& body,
                   AutomationError& failure) {
  if (panel && passOnFor == panel) {
    passOnFor = nullptr;
    body();
    return true;
  }
  if (clears) last_ = {};
  const QPointer<QObject> alive(panel);
  try {
    body();
    return true;
  } catch (...) {
    failure = currentError();
  }
  if (!alive) return false;
  last_ = failure;
  ErrorEventArgs args = ErrorEventArgs::of(failure);
  try {
    QMetaObject::invokeMethod(panel, "Error", Qt::DirectConnection, Q_ARG(qint32&, args.ErrNum),
                              Q_ARG(QString&, args.ErrMsg), Q_ARG(QString&, args.SourceFile),
                              Q_ARG(qint16&, args.LineNo), Q_ARG(bool&, args.ReRaise),
                              Q_ARG(bool&, args.Display));
  } catch (...) {
    // A host's handler of the event failed; the failure stays recorded as the last error.
  }
  return false;
}

void MetaCall::put(QObject* panel, const std::function<void()>& body) {
  AutomationError failure;
  run(panel, true, body, failure);
}

QVariantMap MetaCall::lastError() const {
  if (last_.number == 0 && last_.description.isEmpty()) return {};
  return {{QStringLiteral("number"), last_.number},
          {QStringLiteral("source"), last_.source},
          {QStringLiteral("description"), last_.description}};
}

MetaCall::PassFailureOn::PassFailureOn(const QObject* object) {
  passOnFor = object;
}

MetaCall::PassFailureOn::~PassFailureOn() {
  passOnFor = nullptr;
}

}  // namespace zan
