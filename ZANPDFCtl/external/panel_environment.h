#pragma once
// The one seam between a panel and the world outside it, handed to the panel when it is
// created: the platform services, the string table and the factories of the outside
// components. defaults() gives the real Qt-backed ones; a host or a test replaces any of them.

#include "external/platform.h"
#include "settings/string_table.h"

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
  // The about box both panels share.
  std::function<AboutBoxService&()> aboutBox;
  // Asked when the user presses a panel's Restore Defaults button, before anything is reset:
  // false keeps the settings. Optional: without it the button resets at once. (The panels'
  // RestoreDefaults member, which hosts call, never asks.)
  std::function<bool(QWidget* panel)> confirmRestoreDefaults;

  // Real implementations: Qt platform, US English, PdfSettings, DiskHeraldHub, QtFolderBrowser,
  // ZANLinks, qtAboutBox().
  static PanelEnvironment defaults();

  // Fails with error 91 naming the first service or factory that is missing.
  void require() const;
  // What the factories hand out; each fails with error 91 when its factory is missing or hands
  // out nothing, so that a panel fails with a clear error instead of using a null object.
  std::unique_ptr<PdfSettings> createSettings() const;
  std::unique_ptr<HeraldHub> createHub() const;
  std::unique_ptr<FolderBrowser> createFolderBrowser() const;
  ZANLinks* createLinks(QWidget* parent) const;
};

}  // namespace zan
