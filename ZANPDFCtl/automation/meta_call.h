#pragma once
// Members reached through Qt's meta-object system (QMetaObject::invokeMethod, QObject::setProperty,
// a QML or Python binding) run inside Qt's frames, which a C++ exception must never cross. A
// panel's meta-object members run their C++ namesakes through MetaCall::run, which turns a
// failure into a value: the panel keeps it as its LastError and raises its Error event. The
// late-bound surface, which catches failures in its own frames, asks for the failure of its next
// call to be passed on instead.

#include "settings/automation_error.h"

#include <QObject>
#include <QVariantMap>

#include <functional>

namespace zan {

class MetaCall {
 public:
  // Runs `body` for a member of `panel`, an object with the panels' Error signal. A call
  // (`clears`: a method or a property put, not a property get) first clears the last error.
  // Returns true when `body` succeeded; on failure keeps it as the last error, raises the
  // panel's Error event with it (ErrNum, ErrMsg and SourceFile of the failure, LineNo 0,
  // ReRaise False, Display True), sets `failure` and returns false. A failure to be passed on
  // (see PassFailureOn) leaves run unchanged. When `body` destroyed `panel`, nothing of it is
  // touched any more.
  bool run(QObject* panel, bool clears, const std::function<void()>& body,
           AutomationError& failure);
  // A method or property put without a result.
  void put(QObject* panel, const std::function<void()>& body);
  // A property get; the type's empty value after a failure.
  template <class T>
  T get(QObject* panel, const std::function<T()>& getter) {
    T value{};
    AutomationError failure;
    run(
        panel, false, [&] { value = getter(); }, failure);
    return value;
  }

  // The last failure as meta-object callers read it: "number", "source" and "description";
  // empty when the last call succeeded.
  QVariantMap lastError() const;

  // Passes the failure of the next run for `object` on to the caller, on this thread. Ends when
  // that run starts, or with the scope (a call that reached no run).
  class PassFailureOn {
   public:
    explicit PassFailureOn(const QObject* object);
    ~PassFailureOn();
    PassFailureOn(const PassFailureOn&) = delete;
    PassFailureOn& operator=(const PassFailureOn&) = delete;
  };

 private:
  AutomationError last_;
};

}  // namespace zan
