// Helpers shared by loading and the hub entry: the host elements disabled during a hub search,
// filling a list from the hub's names and selecting an entry by its text.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/controls/combo_box.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>

namespace {

const char* const kEnabledProperty = "Enabled";
const char* const kQtEnabledProperty = "enabled";

// A registered host element: a live QObject whose "Enabled" property (dynamic or declared) is
// used when it has one, else Qt's "enabled".
class HostElement {
 public:
  explicit HostElement(const QVariant& value) {
    if (value.metaType().flags() & QMetaType::PointerToQObject) object_ = value.value<QObject*>();
    if (!object_) {
      zan::raiseError(424, QStringLiteral("ZANPdfCtl4"), QStringLiteral("Object required"));
    }
    if (object_->property(kEnabledProperty).isValid()) {
      name_ = kEnabledProperty;
    } else if (object_->metaObject()->indexOfProperty(kQtEnabledProperty) >= 0) {
      name_ = kQtEnabledProperty;
    } else {
      unsupported();
    }
  }

  bool enabled() const {
    const QVariant v = object_->property(name_);
    return !v.isNull() && v.toBool();
  }

  void setEnabled(bool enabled) {
    const bool declared = object_->metaObject()->indexOfProperty(name_) >= 0;
    // setProperty reports false for dynamic properties even when it stored the value.
    if (!object_->setProperty(name_, enabled) && declared) unsupported();
  }

 private:
  [[noreturn]] static void unsupported() {
    zan::raiseError(438, QStringLiteral("ZANPdfCtl4"),
                    QStringLiteral("Object doesn't support this property or method"));
  }

  QObject* object_ = nullptr;
  const char* name_ = nullptr;
};

}  // namespace

void ZANPdf3::DisableElementDuringHubSearch(QVariant& oUIElement) {
  try {
    m_HubSearchElements.push_back(oUIElement);
  } catch (...) {
    // Registration never fails towards the host.
  }
}

void ZANPdf3::DisableHubSearchElements() {
  m_HubSearchStates.emplace();
  const std::size_t n = m_HubSearchElements.size();
  for (std::size_t i = 0; i < n; ++i) {
    HostElement element(m_HubSearchElements[i]);
    m_HubSearchStates->push_back(element.enabled() ? 1 : 0);
    element.setEnabled(false);
  }
}

void ZANPdf3::RestoreHubSearchElements() {
  if (!m_HubSearchStates) return;
  const std::vector<int> states = std::move(*m_HubSearchStates);
  m_HubSearchStates.reset();
  const std::size_t n = m_HubSearchElements.size();
  // An element without a saved state (registered during the search, or one whose state could
  // not be read) keeps its state, and one that cannot be restored does not keep the others
  // disabled.
  for (std::size_t i = 0; i < n && i < states.size(); ++i) {
    if (states[i] != 1) continue;
    try {
      HostElement(m_HubSearchElements[i]).setEnabled(true);
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
    const QStringList pieces = list.split(QLatin1Char('|'));
    for (const QString& piece : pieces) {
      if (piece.isEmpty()) break;
      const int dot = piece.indexOf(QLatin1Char('.'));
      combo->addItem(dot >= 1 ? piece.left(dot) : piece);
    }
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
