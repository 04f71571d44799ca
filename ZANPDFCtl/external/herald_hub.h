#pragma once
// The workgroup hub: offers the dictionaries and workflows a PDF job can use. Every operation
// reports a status through its last argument: 1 success, anything else failure.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zan {

enum HubStatus : std::int32_t {
  kHubOk = 1,
  kHubUnreachable = 5,  // the path cannot be reached
  kHubNotAHub = 6,      // the path exists but is no workgroup hub
  kHubFailure = 7,      // any other failure (also: an operation before OpenHub)
};

// The names a hub name list offers, as the panels show them: the list ends at its first empty
// name, and a name loses the part from its first "." on unless that "." is its first character.
QStringList hubListNames(const QString& list);

// What a workgroup hub offered when it was last searched: the path as it was opened, the status
// of each operation (0 when it was not asked) and the names of each list that was read.
struct HubOffer {
  QString path;
  std::int32_t openStatus = 0, dictionariesStatus = 0, workflowsStatus = 0;
  QStringList dictionaries, workflows;
};

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
// are not offered, nor is a name that contains "|" (it would corrupt the list).
class FolderHub final : public HeraldHub {
 public:
  void OpenHub(const QString& path, std::int32_t& status) override;
  void GetDictionaries(QString& list, std::int32_t& status) override;
  void GetWorkflows(QString& list, std::int32_t& status) override;
  void CloseHub(std::int32_t& status) override;

 private:
  QString open_;
  bool isOpen_ = false;
};

// A hub in memory, for tests: answers with fixed lists and statuses and counts the calls.
class MemoryHub final : public HeraldHub {
 public:
  std::int32_t openStatus = kHubOk, dictionariesStatus = kHubOk, workflowsStatus = kHubOk,
               closeStatus = kHubOk;
  QString dictionaries, workflows;
  QStringList calls;  // "OpenHub:<path>", "GetDictionaries", "GetWorkflows", "CloseHub"
  QStringList openPaths;

  void OpenHub(const QString& path, std::int32_t& status) override;
  void GetDictionaries(QString& list, std::int32_t& status) override;
  void GetWorkflows(QString& list, std::int32_t& status) override;
  void CloseHub(std::int32_t& status) override;
};

}  // namespace zan
