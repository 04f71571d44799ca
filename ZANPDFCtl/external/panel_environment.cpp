#include "external/panel_environment.h"

#include "external/about_box.h"
#include "external/folder_browser.h"
#include "external/links_control.h"
#include "settings/herald_hub.h"
#include "settings/pdf_settings.h"

#include "settings/automation_error.h"

namespace zan {
namespace {

[[noreturn]] void missing(const char* what) {
  raiseClassic(classic::kObjectNotSet, QStringLiteral("PanelEnvironment"),
               QStringLiteral("the panel environment %1.").arg(QString::fromLatin1(what)));
}

template <class Product, class Factory>
Product made(const Factory& factory, const char* lacks, const char* handsOutNothing) {
  if (!factory) missing(lacks);
  Product product = factory();
  if (!product) missing(handsOutNothing);
  return product;
}

}  // namespace

PanelEnvironment PanelEnvironment::defaults() {
  PanelEnvironment env;
  env.platform = qtPlatform();
  env.strings = StringTable::forLocale(QLocale());
  env.makeSettings = [] { return std::make_unique<PdfSettings>(); };
  env.makeHub = []() -> std::unique_ptr<HeraldHub> { return std::make_unique<DiskHeraldHub>(); };
  env.makeFolderBrowser = []() -> std::unique_ptr<FolderBrowser> {
    return std::make_unique<QtFolderBrowser>();
  };
  env.makeLinks = [](QWidget* parent) { return new ZANLinks(parent); };
  env.aboutBox = []() -> AboutBoxService& { return qtAboutBox(); };
  return env;
}

void PanelEnvironment::require() const {
  if (!platform) missing("has no platform services");
  if (!strings) missing("has no string table");
  if (!makeSettings) missing("has no settings factory");
  if (!makeHub) missing("has no hub factory");
  if (!makeFolderBrowser) missing("has no folder browser factory");
  if (!makeLinks) missing("has no links control factory");
  if (!aboutBox) missing("has no about box");
}

std::unique_ptr<PdfSettings> PanelEnvironment::createSettings() const {
  return made<std::unique_ptr<PdfSettings>>(makeSettings, "has no settings factory",
                                            "settings factory handed out no settings object");
}

std::unique_ptr<HeraldHub> PanelEnvironment::createHub() const {
  return made<std::unique_ptr<HeraldHub>>(makeHub, "has no hub factory",
                                          "hub factory handed out no hub");
}

std::unique_ptr<FolderBrowser> PanelEnvironment::createFolderBrowser() const {
  return made<std::unique_ptr<FolderBrowser>>(makeFolderBrowser, "has no folder browser factory",
                                              "folder browser factory handed out no browser");
}

ZANLinks* PanelEnvironment::createLinks(QWidget* parent) const {
  if (!makeLinks) missing("has no links control factory");
  ZANLinks* links = makeLinks(parent);
  if (!links) missing("links control factory handed out no links control");
  return links;
}

}  // namespace zan
