// The panels as Qt Designer sees them: one collection of two custom widgets.

#include <ZANPdfCtl4/ZANPdf3>
#include <ZANPdfCtl4/ZANPdf>

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>

namespace {

class PanelWidget final : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)
 public:
  PanelWidget(QString name, QString toolTip, std::function<QWidget*(QWidget*)> create,
              QObject* parent)
      : QObject(parent),
        name_(std::move(name)),
        toolTip_(std::move(toolTip)),
        create_(std::move(create)) {}

  QString name() const override { return name_; }
  QString group() const override { return QStringLiteral("PDF Output Settings"); }
  QIcon icon() const override { return {}; }
  QString toolTip() const override { return toolTip_; }
  QString whatsThis() const override { return toolTip_; }
  bool isContainer() const override { return false; }
  QString includeFile() const override { return QStringLiteral("ZANPdfCtl4/") + name_; }
  QString domXml() const override {
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%1\"/></ui>")
        .arg(name_);
  }
  QWidget* createWidget(QWidget* parent) override { return create_(parent); }
  bool isInitialized() const override { return true; }

 private:
  QString name_, toolTip_;
  std::function<QWidget*(QWidget*)> create_;
};

class PanelCollection final : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
 public:
  explicit PanelCollection(QObject* parent = nullptr) : QObject(parent) {
    widgets_ = {new PanelWidget(
                    QStringLiteral("ZANPdf3"),
                    QStringLiteral("PDF production through an Acrobat Capture workgroup hub"),
                    [](QWidget* parent) { return new ZANPdf3(parent); }, this),
                new PanelWidget(
                    QStringLiteral("ZANPdf"), QStringLiteral("OCR-based PDF output"),
                    [](QWidget* parent) { return new ZANPdf(parent); }, this)};
  }
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

 private:
  QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace

#include "designer_plugin.moc"
