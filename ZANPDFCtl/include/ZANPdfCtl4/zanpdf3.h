#pragma once
/// \file
/// ZANPdf3: the settings panel for PDF production through an Acrobat Capture workgroup hub.

#include <ZANPdfCtl4/settings_panel.h>

#include <QVariant>

namespace zan {
class ZANPdf3Private;
struct PanelEnvironment;
}  // namespace zan

/// The settings panel for PDF production through an Acrobat Capture 3.0 workgroup hub: the hub
/// and its watched folder (dictionaries and workflows come live from the hub), page content,
/// language, suspect-region markers with a confidence threshold, advanced PDF options and the
/// four PDF document-information fields. Besides the zan::SettingsPanel contract it offers
/// seven properties and DisableElementDuringHubSearch, which callers through the meta-object
/// system reach under the same names without ever receiving a failure (see
/// zan::SettingsPanel).
///
/// Every change of the hub path (typed, browsed or put) opens the hub and refills the
/// dictionary and workflow lists; while it does, the mouse pointer is busy and the host
/// elements registered with DisableElementDuringHubSearch are disabled.
class ZANPDFCTL4_EXPORT ZANPdf3 final : public zan::SettingsPanel {
  Q_OBJECT
  /// See WorkgroupHub().
  Q_PRIVATE_PROPERTY(d_func(), QString WorkgroupHub READ WorkgroupHub WRITE setWorkgroupHub)
  /// See WatchedFolder().
  Q_PRIVATE_PROPERTY(d_func(), QString WatchedFolder READ WatchedFolder WRITE setWatchedFolder)
  /// See PDFOutputFolder().
  Q_PRIVATE_PROPERTY(d_func(),
                     QString PDFOutputFolder READ PDFOutputFolder WRITE setPDFOutputFolder)
  /// See PDFOutputMachine().
  Q_PRIVATE_PROPERTY(d_func(),
                     QString PDFOutputMachine READ PDFOutputMachine WRITE setPDFOutputMachine)
  /// See PDFWaitForStatus().
  Q_PRIVATE_PROPERTY(d_func(),
                     bool PDFWaitForStatus READ PDFWaitForStatus WRITE setPDFWaitForStatus)
  /// See PDFDeleteHungDoc().
  Q_PRIVATE_PROPERTY(d_func(),
                     bool PDFDeleteHungDoc READ PDFDeleteHungDoc WRITE setPDFDeleteHungDoc)
  /// See PDFInputImageType().
  Q_PRIVATE_PROPERTY(d_func(),
                     qint32 PDFInputImageType READ PDFInputImageType WRITE setPDFInputImageType)
 public:
  // DisableElementDuringHubSearch as the meta-object system reaches it.
  Q_PRIVATE_SLOT(d_func(), void DisableElementDuringHubSearch(QVariant& oUIElement))

  /// A panel with the real outside world: Qt message boxes, the busy mouse pointer, hubs on
  /// disk, the folder dialog and the library's about box.
  explicit ZANPdf3(QWidget* parent = nullptr);
  /// A panel with the outside world of `env`: the library's own tests and tools.
  ZANPDFCTL4_NO_EXPORT explicit ZANPdf3(zan::PanelEnvironment env, QWidget* parent = nullptr);
  ~ZANPdf3() override;

  /// The text of the hub path box.
  QString WorkgroupHub() const;
  /// Puts the hub path box's text; this runs a hub search exactly as a user edit does (Change
  /// once the panel is live and the path differs from the stored one). Throws the search's
  /// failure ("Line# 10 Desc: ...").
  void setWorkgroupHub(const QString& strPath);
  /// The text of the watched folder box.
  QString WatchedFolder() const;
  /// Puts the watched folder box's text, as a user edit does.
  void setWatchedFolder(const QString& strPath);

  /// Where Acrobat Capture puts the PDF file. Kept by the panel, loaded by Init and
  /// RestoreDefaults and stored by Validate and Apply; no control shows it, and a put raises
  /// no Change. The same holds for the next four properties.
  QString PDFOutputFolder() const;
  /// Sets PDFOutputFolder(), unchecked.
  void setPDFOutputFolder(const QString& strPath);
  /// The machine that produces the PDF files.
  QString PDFOutputMachine() const;
  /// Sets PDFOutputMachine(), unchecked.
  void setPDFOutputMachine(const QString& strPath);
  /// Whether the release polls Acrobat Capture for each document's status.
  bool PDFWaitForStatus() const;
  /// Sets PDFWaitForStatus().
  void setPDFWaitForStatus(bool blnChoice);
  /// Whether the release removes jobs Acrobat Capture reports as hung.
  bool PDFDeleteHungDoc() const;
  /// Sets PDFDeleteHungDoc().
  void setPDFDeleteHungDoc(bool blnChoice);
  /// The input image type Acrobat Capture converts (any 32-bit value is kept).
  qint32 PDFInputImageType() const;
  /// Sets PDFInputImageType(), unchecked.
  void setPDFInputImageType(qint32 ZANFormat);

  /// Registers a host element, an object with a writable "Enabled" (or Qt "enabled")
  /// property, that is disabled while the panel searches the workgroup hub and gets its state
  /// back afterwards; a destroyed element is forgotten. Throws 424 for a value that is no
  /// object and 438 for an object without such a property.
  void DisableElementDuringHubSearch(QVariant& oUIElement);
  /// The same for an element given as an object pointer, such as a host dialog's button.
  void DisableElementDuringHubSearch(QObject* element);

 private:
  ZANPDFCTL4_NO_EXPORT zan::ZANPdf3Private* d_func();
  ZANPDFCTL4_NO_EXPORT const zan::ZANPdf3Private* d_func() const;
};
