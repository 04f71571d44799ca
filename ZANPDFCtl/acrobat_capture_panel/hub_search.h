#pragma once
// HubSearch: the workgroup hub as ZANPdf3 searches it, for a typed (browsed or put) hub path and
// when loading the stored one: the hub object and the status of its last operation, the busy
// mouse pointer, the host elements that are disabled while a search runs, and the count of
// searches running (a search started from the pending messages of another one is nested). What
// a search found reaches the settings object as a HubOffer.

#include "external/platform.h"
#include "settings/herald_hub.h"

#include <QPointer>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zan {

class PdfSettings;

class HubSearch final {
 public:
  HubSearch(std::unique_ptr<HeraldHub> hub, std::shared_ptr<Platform> platform,
            PdfSettings& settings);
  // A search cut short by the destruction of the panel gives back what it holds: the elements
  // their enabled states, the pointer its default, and an opened hub is closed.
  ~HubSearch();
  HubSearch(const HubSearch&) = delete;
  HubSearch& operator=(const HubSearch&) = delete;

  // Registers a host element: an object with a writable "Enabled" (or Qt "enabled") property.
  // Fails with 424 for a value that is no object and 438 for an object without one.
  void registerElement(QVariant& element);
  void registerElement(QObject* element);

  // Counts one running search for as long as it lives. When the panel (and this search object
  // with it) is destroyed while the search runs, it touches nothing.
  class Running {
   public:
    Running(HubSearch& search, const QObject* panel);
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    // The first of nested searches: only it shows and resets the busy pointer and disables
    // and restores the elements, so that their saved states survive the nested ones.
    bool outermost() const { return outermost_; }

   private:
    HubSearch& search_;
    QPointer<const QObject> panel_;
    bool outermost_;
  };

  void showBusy();
  void showIdle();
  // Disables every registered element, saving its state; destroyed elements are forgotten.
  void disableElements();
  // Gives each element its saved state back. An element without one (registered during the
  // search) keeps its state, and one that cannot be restored does not keep the others disabled.
  void restoreElements();

  // The status of the last hub operation (kHubOk on success).
  std::int32_t& status() { return status_; }
  // Opens the hub at `path` and starts `offer` with the answer; true when it opened.
  bool open(const QString& path, HubOffer& offer);
  // Reads the hub's dictionaries or workflows into `list` and `offer`; true when delivered.
  bool readList(bool workflows, QString& list, HubOffer& offer);
  // Closes the hub; the status is CloseHub's.
  void close();
  // After a failure: closes a hub that was opened and not closed, ignoring a failure of its own.
  void closeAfterFailure();

 private:
  struct Element {
    QPointer<QObject> object;
    const char* property;
  };
  std::unique_ptr<HeraldHub> hub_;
  std::shared_ptr<Platform> platform_;
  PdfSettings& settings_;
  std::int32_t status_ = 0;
  bool open_ = false;
  int running_ = 0;
  std::vector<Element> elements_;
  // Saved enabled states (1 enabled, 0 disabled) of one search; empty outside a search.
  std::optional<std::vector<int>> savedStates_;
};

}  // namespace zan
