#pragma once
/// @file
/// zan::preview::PreviewPane: the settings of a release shown on a sample page as the PDF will
/// show them: the page turned as the release turns it, its text layer, its suspect words marked
/// with their reasons, and the document information it would carry.
///
/// A host hands the pane the settings as a setup's two parts (`setSettings`) whenever the user
/// changes them, and a page (`setPage`). Recognition runs on a thread of its own; the pane never
/// blocks its window. A change that needs the page recognised again (language, accuracy,
/// orientations, page content, dictionary) starts it after a short pause; a change of the
/// suspect markers or the threshold only marks the words again, at once.

#include <ZANPreview/zanpreview_export.h>

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <memory>

namespace zan::preview {

/// A recognised word as the PDF will hold it.
struct ZANPREVIEW_EXPORT PreviewWord {
  QString text;
  QRectF box;             ///< PDF points; x, y the lower left corner of the upright page
  double confidence = 0;  ///< 0..100
  QStringList reasons;    ///< why it is marked suspect ("LowOcrConfidence", ...); empty: sound
};

class ZANPREVIEW_EXPORT PreviewPane : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool busy READ isBusy NOTIFY busyChanged)
 public:
  explicit PreviewPane(QWidget* parent = nullptr);
  ~PreviewPane() override;

  /// The settings to show, as a setup's SetupPartOne and SetupPartTwo hold them (the engine is
  /// SetupPartOne's "PdfEngine": "2" OCR, "3" capture). Call after each change the user makes.
  /// The pane reads them here and keeps no reference; settings the release would refuse show
  /// their message instead of a preview.
  void setSettings(const QVariantMap& partOne, const QVariantMap& partTwo);
  /// Shows `message` instead of a preview: settings that do not validate.
  void setSettingsProblem(const QString& message);

  /// The page file to show (an image, a multi-page TIFF or a PDF) and its 0-based page.
  void setPage(const QString& path, int index = 0);
  QString pagePath() const;
  int pageIndex() const;
  /// The pages the page file holds (0 before a file could be read).
  int pageCount() const;

  /// Values of index and batch fields that the document-information links resolve from; the
  /// user can edit them in the pane.
  void setSampleValues(const QVariantMap& indexFields, const QVariantMap& batchFields);

  /// Whether a recognition is under way.
  bool isBusy() const;
  /// Stops waiting for the recognition under way; its result is dropped.
  void cancel();

  /// The words of the page shown, with the marks of the current settings.
  QList<PreviewWord> words() const;
  /// The clockwise turn that stands the page upright (0, 90, 180, 270), and why
  /// ("detected", "tried", "not checked", ...).
  int rotation() const;
  QString rotationReason() const;
  /// The document information the PDF would carry: "Title", "Subject", "Author", "Keywords".
  QVariantMap documentInformation() const;
  /// The page as the release report describes a released document (release-report.json's
  /// document entry: pages, suspect words, document information).
  QByteArray reportJson() const;
  /// Writes reportJson() into `path`; false with `error` naming the file when that fails.
  bool exportReport(const QString& path, QString* error = nullptr) const;

  /// Zoom: the page fitted into the view, or 100 % (its real size on the screen).
  void zoomToFit();
  void zoomToActualSize();
  /// The current zoom: 1 is 100 %.
  double zoom() const;

 signals:
  /// A page was shown, after recognition or after marking again.
  void previewShown();
  void busyChanged(bool busy);

 private:
  class Private;
  std::unique_ptr<Private> d;
};

}  // namespace zan::preview
