// The Qt Designer plugin, loaded the way Designer and QUiLoader load it (this test links
// neither the panels nor the library): both panels are offered, and a .ui form that places
// them is created with real panels.

#include <gtest/gtest.h>
#include <QApplication>
#include <QBuffer>
#include <QPluginLoader>
#include <QUiLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <memory>

// Catches a plugin Designer cannot load or that misses a panel, and a form whose panels
// QUiLoader cannot create or creates as something other than the library's panels.
TEST(DesignerPlugin, OffersBothPanelsAndCreatesThemFromAForm) {
  QPluginLoader plugin(ZAN_DESIGNER_PLUGIN);
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(plugin.instance());
  ASSERT_TRUE(collection) << plugin.errorString().toStdString();
  QStringList offered;
  for (QDesignerCustomWidgetInterface* w : collection->customWidgets())
    offered << w->name() + QLatin1Char(':') + w->includeFile();
  EXPECT_EQ(offered, (QStringList{"ZANPdf3:ZANPdfCtl4/ZANPdf3", "ZANPdf:ZANPdfCtl4/ZANPdf"}));

  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QStringLiteral(ZAN_DESIGNER_PLUGIN_DIR));
  EXPECT_TRUE(loader.availableWidgets().contains(QStringLiteral("ZANPdf3")));
  QByteArray form = R"(<ui version="4.0"><class>Form</class>
    <widget class="QWidget" name="Form"><layout class="QVBoxLayout" name="layout">
      <item><widget class="ZANPdf3" name="capture"/></item>
      <item><widget class="ZANPdf" name="ocr"/></item>
    </layout></widget></ui>)";
  QBuffer buffer(&form);
  const std::unique_ptr<QWidget> created(loader.load(&buffer));
  ASSERT_TRUE(created) << loader.errorString().toStdString();
  const std::pair<const char*, const char*> panels[] = {{"capture", "ZANPdf3"}, {"ocr", "ZANPdf"}};
  for (const auto& [name, className] : panels) {
    const QWidget* panel = created->findChild<QWidget*>(QLatin1String(name));
    ASSERT_TRUE(panel) << name;
    EXPECT_STREQ(panel->metaObject()->className(), className);
    EXPECT_TRUE(panel->inherits("zan::SettingsPanel")) << name;
    EXPECT_GE(panel->metaObject()->indexOfMethod("Validate()"), 0) << name;
  }
}
