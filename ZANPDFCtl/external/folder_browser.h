#pragma once
// The folder browser a browse button shows; one new object per press.

#include <QString>

class QWidget;

namespace zan {

class FolderBrowser {
 public:
  virtual ~FolderBrowser() = default;
  virtual void setOwner(QWidget* owner) = 0;
  // When true, only folders of the file system can be chosen (no virtual locations).
  virtual void setFileSystemOnly(bool only) = 0;
  virtual void setTitle(const QString& title) = 0;
  virtual QString title() const = 0;
  // The folder the browser opens at: `folder` itself or its nearest existing parent.
  virtual void setStartFolder(const QString& folder) = 0;
  // Shows the browser modally.
  virtual void show() = 0;
  // The chosen folder; empty when the user chose nothing.
  virtual QString path() const = 0;
};

// QFileDialog::getExistingDirectory with the owner as parent.
class QtFolderBrowser final : public FolderBrowser {
 public:
  void setOwner(QWidget* owner) override { owner_ = owner; }
  void setFileSystemOnly(bool only) override { fileSystemOnly_ = only; }
  void setTitle(const QString& title) override { title_ = title; }
  QString title() const override { return title_; }
  void setStartFolder(const QString& folder) override { start_ = folder; }
  void show() override;
  QString path() const override { return path_; }

 private:
  QWidget* owner_ = nullptr;
  bool fileSystemOnly_ = false;
  QString title_, path_, start_;
};

// `folder` when it exists, else its nearest existing parent; empty when nothing of it exists
// (an empty or relative text that names nothing).
QString nearestExistingFolder(const QString& folder);

}  // namespace zan
