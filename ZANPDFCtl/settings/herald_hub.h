#pragma once
// The workgroup hub: offers the dictionaries and workflows a PDF job can use. Every operation
// reports a status through its last argument: 1 success, anything else failure.

#include "settings/hub_offer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace zan {

// The names a hub name list offers, as the panels show them: the list ends at its first empty
// name, and a name loses the part from its first "." on unless that "." is its first character.
QStringList hubListNames(const QString& list);

class HeraldHub {
 public:
  virtual ~HeraldHub() = default;
  virtual void OpenHub(const QString& path, std::int32_t& status) = 0;
  // Names separated by "|", with a trailing "|" ("A|B|"); empty when there are none.
  virtual void GetDictionaries(QString& list, std::int32_t& status) = 0;
  virtual void GetWorkflows(QString& list, std::int32_t& status) = 0;
  virtual void CloseHub(std::int32_t& status) = 0;
};

// A workgroup hub on disk: a folder that holds a "Workflows" folder and a "Dictionaries"
// folder (real folders, not symbolic links); the names of the regular files in each (sorted)
// are the workflow and dictionary names. Symbolic links, folders and special files inside them
// are not offered, nor is a name that contains "|" (it would corrupt the list). A folder that has
// not changed since this object last listed it is not listed again.
class DiskHeraldHub final : public HeraldHub {
 public:
  void OpenHub(const QString& path, std::int32_t& status) override;
  void GetDictionaries(QString& list, std::int32_t& status) override;
  void GetWorkflows(QString& list, std::int32_t& status) override;
  void CloseHub(std::int32_t& status) override;

 private:
  // The last listing of a folder; used again only when `settled`.
  struct Listing {
    bool settled = false;
    QString folder;
    QDateTime modified, changed;
    QString list;
  };
  bool listFolder(const QString& name, Listing& last, QString& list);

  QString open_;
  bool isOpen_ = false;
  Listing lastDictionaries_, lastWorkflows_;
};

}  // namespace zan
