#include "release/word_links.h"

#include <QRegularExpression>

namespace zan::release {
namespace {

// A host name: labels of letters, digits and hyphens, a top-level label of letters.
const QString kHost =
    QStringLiteral(R"((?:[\p{L}\p{N}](?:[\p{L}\p{N}-]*[\p{L}\p{N}])?\.)+\p{L}{2,})");

}  // namespace

QString linkTarget(const QString& word) {
  static const QRegularExpression web(
      QStringLiteral(R"(^(?:(https?://)%1|(?:https?://)?www\.%1)(?::\d+)?(?:[/?#]\S*)?$)")
          .arg(kHost),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression mail(
      QStringLiteral(R"(^(?:mailto:)?([\p{L}\p{N}._%+-]+@%1)$)").arg(kHost),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression around(QStringLiteral(R"re(^[("'<\[]+|[)"'>\].,;:!?]+$)re"));
  QString w = word;
  w.remove(around);
  if (w.isEmpty()) return {};
  if (const auto m = mail.match(w); m.hasMatch()) return QStringLiteral("mailto:") + m.captured(1);
  if (const auto m = web.match(w); m.hasMatch())
    return m.captured(1).isEmpty() ? QStringLiteral("https://") + w : w;
  return {};
}

}  // namespace zan::release
