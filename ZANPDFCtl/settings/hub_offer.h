#pragma once
// What a workgroup hub answered when a panel last searched it, as the settings object checks
// the hub, workflow and dictionary against it.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zan {

// The statuses a hub operation reports: 1 success, anything else failure.
enum HubStatus : std::int32_t {
  kHubOk = 1,
  kHubUnreachable = 5,  // the path cannot be reached
  kHubNotAHub = 6,      // the path exists but is no workgroup hub
  kHubFailure = 7,      // any other failure (also: an operation before OpenHub)
};

// The path at which a typed hub path is opened: without its leading and trailing blanks.
QString hubPathAsOpened(const QString& typed);

// What a workgroup hub offered when it was last searched: the path as it was opened, the status
// of each operation (0 when it was not asked) and the names of each list that was read.
struct HubOffer {
  QString path;
  std::int32_t openStatus = 0, dictionariesStatus = 0, workflowsStatus = 0;
  QStringList dictionaries, workflows;
};

}  // namespace zan
