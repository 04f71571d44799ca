#include "external/panel_environment.h"

#include "external/about_box.h"
#include "external/folder_browser.h"
#include "external/herald_hub.h"
#include "external/links_control.h"
#include "external/pdf_settings.h"

namespace zan {

PanelEnvironment PanelEnvironment::defaults() {
  PanelEnvironment env;
  env.platform = qtPlatform();
  env.strings = StringTable::usEnglish();
  env.makeSettings = [] { return std::make_unique<PdfSettings>(); };
  env.makeHub = []() -> std::unique_ptr<HeraldHub> { return std::make_unique<FolderHub>(); };
  env.makeFolderBrowser = []() -> std::unique_ptr<FolderBrowser> {
    return std::make_unique<QtFolderBrowser>();
  };
  env.makeLinks = [](QWidget* parent) { return new ZANLinks(parent); };
  env.aboutBox = []() -> AboutBoxService& { return threadAboutBox(); };
  return env;
}

}  // namespace zan
