// PanelCore's layout helpers: controls placed in twips, the about-box picture, the threshold
// entry, the links control and the tab order.

#include "panel/panel_core.h"

#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/simple_controls.h"
#include "controls/spin_control.h"
#include "controls/text_box.h"
#include "external/links_control.h"
#include "panel/about_icon.h"
#include "panel/confidence_threshold_entry.h"

namespace zan {
namespace {

// A design-time caption marked "#" is a placeholder that the localized caption replaces while
// the panel is created; it is not set (each caption set costs a shortcut registration).
void setDesignCaption(controls::Control* control, const char* caption) {
  if (caption[0] != '#') control->setCaption(QString::fromLatin1(caption));
}

}  // namespace

controls::Frame* PanelCore::frame(Name name, QWidget* parent, Twips at, const char* caption,
                                  const QString& tag) {
  auto* f = place<controls::Frame>(name, parent, at, tag);
  setDesignCaption(f, caption);
  return f;
}

controls::ComboBox* PanelCore::comboBox(Name name, QWidget* parent, Twips at, const QString& tag) {
  return place<controls::ComboBox>(name, parent, at, tag);
}

controls::CheckBox* PanelCore::checkBox(Name name, QWidget* parent, Twips at, const char* caption,
                                        const QString& tag) {
  auto* c = place<controls::CheckBox>(name, parent, at, tag);
  setDesignCaption(c, caption);
  return c;
}

controls::TextBox* PanelCore::textBox(Name name, QWidget* parent, Twips at, const QString& tag) {
  return place<controls::TextBox>(name, parent, at, tag);
}

controls::CommandButton* PanelCore::button(Name name, QWidget* parent, Twips at,
                                           const char* caption) {
  auto* b = place<controls::CommandButton>(name, parent, at);
  setDesignCaption(b, caption);
  return b;
}

void PanelCore::addAboutBoxIcon(QWidget* parent) {
  picABoutBoxIcon = form_.add<controls::PictureBox>(QStringLiteral("picABoutBoxIcon"), parent);
  picABoutBoxIcon->setGeometryTwips(0, 0, 18 * 15, 15 * 15);
  picABoutBoxIcon->setPicture(aboutBoxIcon());
  picABoutBoxIcon->setVisible(false);  // holds the about-box picture only
}

void PanelCore::addThresholdEntry(QWidget* parent, Twips box, Twips spin, Twips unit, int spinValue,
                                  const QString& tag) {
  txtConfidenceThreshold = textBox(u"txtConfidenceThreshold", parent, box);
  txtConfidenceThreshold->setText(QStringLiteral("95"));
  txtConfidenceThreshold->setMaxLength(3);
  txtConfidenceThreshold->setTag(tag);
  spnConfidenceThreshold = place<controls::SpinControl>(u"spnConfidenceThreshold", parent, spin);
  spnConfidenceThreshold->setRange(0, ConfidenceThresholdEntry::kUpperLimit);
  spnConfidenceThreshold->setIncrement(1);
  spnConfidenceThreshold->setValue(spinValue);
  spnConfidenceThreshold->setBuddy(txtConfidenceThreshold);
  spnConfidenceThreshold->setTag(tag);
  lblConfidenceThresholdUnit =
      form_.add<controls::Label>(QStringLiteral("lblConfidenceThresholdUnit"), parent);
  lblConfidenceThresholdUnit->setGeometryTwips(unit.left, unit.top, unit.width, unit.height);
  lblConfidenceThresholdUnit->setCaption(QStringLiteral("(%)"));
}

void PanelCore::addLinks(controls::Frame* frame, int captionWidth, int textWidth, Twips at,
                         const QString& tag) {
  PDFHeaderLinks = env_.createLinks(frame->widget());
  PDFHeaderLinks->applyPanelDesign(captionWidth, textWidth);
  headerLinksControl_ = form_.add<controls::HostedControl>(QStringLiteral("PDFHeaderLinks"),
                                                           frame->widget(), PDFHeaderLinks);
  headerLinksControl_->setGeometryTwips(at.left, at.top, at.width, at.height);
  headerLinksControl_->setTag(tag);
}

void PanelCore::setTabOrder(std::initializer_list<QWidget*> order) {
  QWidget* previous = nullptr;
  for (QWidget* w : order) {
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

}  // namespace zan
