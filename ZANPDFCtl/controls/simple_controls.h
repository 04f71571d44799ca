#pragma once
// Frame, label, picture box and command button.

#include "controls/control.h"

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace zan::controls {

// A frame (QGroupBox); an "&" in its caption gives it an access key that focuses its first
// focusable child.
class Frame final : public Control {
 public:
  Frame(Form& form, const QString& name, QWidget* parent);
  QGroupBox* groupBox() const;
  bool hasCaption() const override { return true; }
  QString caption() const override;
  void setCaption(const QString& caption) override;
};

// A label (QLabel). An "&" is shown literally unless the label has a buddy.
class Label final : public Control {
 public:
  Label(Form& form, const QString& name, QWidget* parent);
  bool keepsWidth() const override { return true; }
  QLabel* label() const;
  bool hasCaption() const override { return true; }
  QString caption() const override;
  void setCaption(const QString& caption) override;
};

// A picture box (QLabel showing a pixmap).
class PictureBox final : public Control {
 public:
  PictureBox(Form& form, const QString& name, QWidget* parent);
  bool keepsWidth() const override { return true; }
  QPixmap picture() const;
  void setPicture(const QPixmap& picture);
};

// A widget made elsewhere (such as a component handed over by the panel's environment), taking
// its place in the control order so that enabling, tags and focus treat it like any control.
// The control keeps the widget's parent and takes `name` as its objectName.
class HostedControl final : public Control {
 public:
  HostedControl(Form& form, const QString& name, QWidget* /*parent*/, QWidget* widget)
      : Control(form, name, widget) {}
};

// A command button (QPushButton). Its window handle is the button widget itself. A caption
// wider than the button is drawn wrapped at blanks, as classic buttons do; the caption text
// stays as set.
class CommandButton final : public Control {
 public:
  CommandButton(Form& form, const QString& name, QWidget* parent);
  bool keepsWidth() const override { return true; }
  QPushButton* button() const;
  QWidget* hWnd() const { return widget(); }
  bool hasCaption() const override { return true; }
  QString caption() const override;
  void setCaption(const QString& caption) override;

  // Presses the button from code: runs onClick directly (a failure reaches the caller).
  void click();
  // User click (mouse, Space, access key) runs on the user path.
  std::function<void()> onClick;

  // Called by the button's widget when the user (or code going past the control) clicked it.
  void reportClick();
};

}  // namespace zan::controls
