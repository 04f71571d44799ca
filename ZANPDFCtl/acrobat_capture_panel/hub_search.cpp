#include "acrobat_capture_panel/hub_search.h"

#include "automation/type_library.h"
#include "settings/automation_error.h"
#include "settings/pdf_settings.h"

#include <QMetaProperty>
#include <QMetaType>
#include <QtGlobal>

#include <algorithm>

namespace zan {
namespace {

const char* const kEnabledProperty = automation::kEnabledMember;
const char* const kQtEnabledProperty = "enabled";
const QString kRegisterSource = QStringLiteral("QelPDFSetup.DisableElementDuringHubSearch");

bool declares(const QObject* object, const char* property) {
  const int index = object->metaObject()->indexOfProperty(property);
  return index >= 0 && object->metaObject()->property(index).isWritable();
}

// The element's writable "Enabled" property (dynamic or declared), else Qt's "enabled"; null
// when it has neither.
const char* enabledPropertyOf(const QObject* object) {
  if (object->property(kEnabledProperty).isValid() &&
      (object->metaObject()->indexOfProperty(kEnabledProperty) < 0 ||
       declares(object, kEnabledProperty)))
    return kEnabledProperty;
  if (declares(object, kQtEnabledProperty)) return kQtEnabledProperty;
  return nullptr;
}

bool elementEnabled(const QObject* object, const char* property) {
  const QVariant v = object->property(property);
  return !v.isNull() && v.toBool();
}

void setElementEnabled(QObject* object, const char* property, bool enabled) {
  // setProperty reports false for dynamic properties even when it stored the value.
  if (!object->setProperty(property, enabled) &&
      object->metaObject()->indexOfProperty(property) >= 0)
    raiseClassic(classic::kNoSuchMember, QStringLiteral("ZANPdfCtl4"));
}

[[noreturn]] void refuseNoObject(const QString& given) {
  raiseClassic(classic::kObjectRequired, kRegisterSource,
               QStringLiteral("register an object with an Enabled property; the value given is "
                              "%1.")
                   .arg(given));
}

}  // namespace

HubSearch::HubSearch(std::unique_ptr<HeraldHub> hub, std::shared_ptr<Platform> platform,
                     PdfSettings& settings)
    : hub_(std::move(hub)), platform_(std::move(platform)), settings_(settings) {}

HubSearch::~HubSearch() {
  if (running_ > 0) {
    restoreElements();
    try {
      platform_->setMousePointer(MousePointer::Default);
    } catch (...) {
    }
  }
  closeAfterFailure();
}

void HubSearch::registerElement(QVariant& element) {
  if (!(element.metaType().flags() & QMetaType::PointerToQObject)) {
    refuseNoObject(element.isValid() ? QString::fromLatin1(element.typeName())
                                     : QStringLiteral("nothing"));
  }
  registerElement(element.value<QObject*>());
}

void HubSearch::registerElement(QObject* element) {
  if (!element) refuseNoObject(QStringLiteral("a null object"));
  const char* property = enabledPropertyOf(element);
  if (!property) {
    raiseClassic(classic::kNoSuchMember, kRegisterSource,
                 QStringLiteral("the %1 registered has no writable Enabled property.")
                     .arg(QString::fromLatin1(element->metaObject()->className())));
  }
  elements_.push_back({element, property});
}

HubSearch::Running::Running(HubSearch& search, const QObject* panel)
    : search_(search), panel_(panel), outermost_(search.running_ == 0) {
  ++search_.running_;
}

HubSearch::Running::~Running() {
  if (panel_) --search_.running_;
}

void HubSearch::showBusy() {
  platform_->setMousePointer(MousePointer::Hourglass);
}

void HubSearch::showIdle() {
  platform_->setMousePointer(MousePointer::Default);
}

void HubSearch::disableElements() {
  elements_.erase(std::remove_if(elements_.begin(), elements_.end(),
                                 [](const Element& e) { return e.object.isNull(); }),
                  elements_.end());
  savedStates_.emplace();
  const std::size_t n = elements_.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Element element = elements_[i];
    savedStates_->push_back(element.object && elementEnabled(element.object, element.property));
    if (element.object) setElementEnabled(element.object, element.property, false);
  }
}

void HubSearch::restoreElements() {
  if (!savedStates_) return;
  const std::vector<int> states = std::move(*savedStates_);
  savedStates_.reset();
  const std::size_t n = elements_.size();
  for (std::size_t i = 0; i < n && i < states.size(); ++i) {
    const Element element = elements_[i];
    if (states[i] != 1 || !element.object) continue;
    try {
      setElementEnabled(element.object, element.property, true);
    } catch (...) {
    }
  }
}

// What the hub offers reaches the settings object before the lists run their handlers.
bool HubSearch::open(const QString& path, HubOffer& offer) {
  offer = {};
  offer.path = path;
  hub_->OpenHub(path, status_);
  open_ = status_ == kHubOk;
  offer.openStatus = status_;
  settings_.setHubOffer(offer);
  return open_;
}

bool HubSearch::readList(bool workflows, QString& list, HubOffer& offer) {
  list.clear();
  if (workflows) {
    hub_->GetWorkflows(list, status_);
  } else {
    hub_->GetDictionaries(list, status_);
  }
  const bool delivered = status_ == kHubOk;
  (workflows ? offer.workflowsStatus : offer.dictionariesStatus) = status_;
  if (delivered) (workflows ? offer.workflows : offer.dictionaries) = hubListNames(list);
  settings_.setHubOffer(offer);
  return delivered;
}

void HubSearch::close() {
  open_ = false;
  hub_->CloseHub(status_);
}

void HubSearch::closeAfterFailure() {
  if (!open_) return;
  open_ = false;
  try {
    std::int32_t status = 0;
    hub_->CloseHub(status);
  } catch (...) {
    // The failure being raised is the one the caller needs.
  }
}

}  // namespace zan
