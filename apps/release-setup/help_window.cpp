#include "help_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace zan::host {
namespace {

// The screenshots side by side in a table cell, each at most `width` pixels wide.
void fitPictures(QTextDocument& document, int width) {
  QTextCursor cursor(&document);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat picture = fragment.charFormat().toImageFormat();
      picture.setWidth(width);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(picture);
    }
  }
}

}  // namespace

QDialog* showHelp(QWidget* parent) {
  auto* help = parent->findChild<QDialog*>(QStringLiteral("helpWindow"));
  if (!help) {
    help = new QDialog(parent);
    help->setObjectName(QStringLiteral("helpWindow"));
    help->setWindowTitle(
        QCoreApplication::translate("zan::host::HelpWindow", "Release Setup Help"));
    auto* text = new QTextBrowser(help);
    text->setObjectName(QStringLiteral("helpText"));
    text->setOpenExternalLinks(true);
    // The page's pictures are built in beside it.
    text->setSearchPaths({QStringLiteral(":/help")});
    QFile page(QStringLiteral(":/help/release-setup-help.md"));
    if (page.open(QIODevice::ReadOnly)) text->setMarkdown(QString::fromUtf8(page.readAll()));
    fitPictures(*text->document(), text->fontMetrics().averageCharWidth() * 40);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, help);
    QObject::connect(buttons, &QDialogButtonBox::rejected, help, &QDialog::close);
    auto* layout = new QVBoxLayout(help);
    layout->addWidget(text);
    layout->addWidget(buttons);
    // About 90 characters wide and 40 lines high in the dialog's font.
    const QFontMetrics fm = text->fontMetrics();
    help->resize(fm.averageCharWidth() * 90, fm.lineSpacing() * 40);
  }
  help->show();
  help->raise();
  help->activateWindow();
  return help;
}

}  // namespace zan::host
