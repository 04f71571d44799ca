#pragma once
// The one seam between a panel and the world outside it, handed to the panel when it is
// created: the platform services, the string table and the factories of the outside
// components. defaults() gives the real Qt-backed ones; a host or a test replaces any of them.

#include "common/platform.h"
#include "common/string_table.h"

#include <functional>
#include <memory>

class QWidget;

namespace zan {

class AboutBoxService;
class FolderBrowser;
class HeraldHub;
class PdfSettings;
class ZANLinks;

struct PanelEnvironment {
  std::shared_ptr<Platform> platform;
  std::shared_ptr<const StringTable> strings;
  std::function<std::unique_ptr<PdfSettings>()> makeSettings;
  std::function<std::unique_ptr<HeraldHub>()> makeHub;
  std::function<std::unique_ptr<FolderBrowser>()> makeFolderBrowser;
  // Creates the links control as a child of `parent`; Qt owns it from then on.
  std::function<ZANLinks*(QWidget* parent)> makeLinks;
  // The about box of the current thread.
  std::function<AboutBoxService&()> aboutBox;

  // Real implementations: Qt platform, US English, PdfSettings, FolderHub, QtFolderBrowser,
  // ZANLinks, threadAboutBox().
  static PanelEnvironment defaults();
};

}  // namespace zan
