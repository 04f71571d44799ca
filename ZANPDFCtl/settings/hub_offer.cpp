#include "settings/hub_offer.h"

namespace zan {

QString hubPathAsOpened(const QString& typed) {
  qsizetype first = 0, last = typed.size();
  while (first < last && typed[first] == QLatin1Char(' ')) ++first;
  while (last > first && typed[last - 1] == QLatin1Char(' ')) --last;
  return typed.mid(first, last - first);
}

}  // namespace zan
