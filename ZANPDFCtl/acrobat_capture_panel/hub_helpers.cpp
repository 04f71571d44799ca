// Helpers shared by loading and the hub entry: the host elements disabled during a hub search,
// filling a list from the hub's names and selecting an entry by its text.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/controls/combo_box.h"
#include "external/herald_hub.h"

#include <QMetaProperty>
#include <QMetaType>
#include <QObject>
#include <QStringList>

#include <algorithm>

namespace {

const char* const kEnabledProperty = "Enabled";
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
      object->metaObject()->indexOfProperty(property) >= 0) {
    zan::raiseError(438, QStringLiteral("ZANPdfCtl4"),
                    QStringLiteral("Object doesn't support this property or method"));
  }
}

}  // namespace

void ZANPdf3::DisableElementDuringHubSearch(QVariant& oUIElement) {
  const bool holdsObject = oUIElement.metaType().flags() & QMetaType::PointerToQObject;
  QObject* object = holdsObject ? oUIElement.value<QObject*>() : nullptr;
  if (!object) {
    const QString given = holdsObject             ? QStringLiteral("a null object")
                          : !oUIElement.isValid() ? QStringLiteral("nothing")
                                                  : QString::fromLatin1(oUIElement.typeName());
    zan::raiseError(424, kRegisterSource,
                    QStringLiteral("Object required: register an object with an Enabled property; "
                                   "the value given is %1.")
                        .arg(given));
  }
  const char* property = enabledPropertyOf(object);
  if (!property) {
    zan::raiseError(438, kRegisterSource,
                    QStringLiteral("Object doesn't support this property or method: the %1 "
                                   "registered has no writable Enabled property.")
                        .arg(QString::fromLatin1(object->metaObject()->className())));
  }
  m_HubSearchElements.push_back({object, property});
}

void ZANPdf3::DisableHubSearchElements() {
  // Destroyed elements are forgotten.
  m_HubSearchElements.erase(
      std::remove_if(m_HubSearchElements.begin(), m_HubSearchElements.end(),
                     [](const HubSearchElement& e) { return e.object.isNull(); }),
      m_HubSearchElements.end());
  m_HubSearchStates.emplace();
  const std::size_t n = m_HubSearchElements.size();
  for (std::size_t i = 0; i < n; ++i) {
    const HubSearchElement element = m_HubSearchElements[i];
    m_HubSearchStates->push_back(element.object &&
                                 elementEnabled(element.object, element.property));
    if (element.object) setElementEnabled(element.object, element.property, false);
  }
}

void ZANPdf3::RestoreHubSearchElements() {
  if (!m_HubSearchStates) return;
  const std::vector<int> states = std::move(*m_HubSearchStates);
  m_HubSearchStates.reset();
  const std::size_t n = m_HubSearchElements.size();
  // An element without a saved state (registered during the search, or one whose state could
  // not be read) keeps its state, one destroyed meanwhile is passed over, and one that cannot
  // be restored does not keep the others disabled.
  for (std::size_t i = 0; i < n && i < states.size(); ++i) {
    const HubSearchElement element = m_HubSearchElements[i];
    if (states[i] != 1 || !element.object) continue;
    try {
      setElementEnabled(element.object, element.property, true);
    } catch (...) {
    }
  }
}

void ZANPdf3::FillComboFromList(zan::controls::ComboBox* combo, const QString& list) {
  try {
    combo->clear();
    if (list.isEmpty()) {
      combo->addItem(text(5735));
      combo->setListIndex(0);
      return;
    }
    for (const QString& name : zan::hubListNames(list)) combo->addItem(name);
  } catch (...) {
    // The list ends at the first failure; what was added stays.
  }
  try {
    if (combo->listCount() >= 1) combo->setListIndex(0);
  } catch (...) {
    // Filling reports nothing.
  }
}

void ZANPdf3::SelectComboText(zan::controls::ComboBox* combo, const QString& wanted) {
  const int n = combo->listCount();
  for (int i = 0; i < n; ++i) {
    combo->setListIndex(i);
    if (combo->text() == wanted) {
      combo->setListIndex(i);
      return;
    }
  }
  if (n >= 1) combo->setListIndex(0);
}
