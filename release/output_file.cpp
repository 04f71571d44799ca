#include "release/output_file.h"

#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace zan::release {
namespace {

const QString kReport = QStringLiteral("release-report.json");
constexpr int kLeftOverSeconds = 600;
constexpr qint64 kLongestReport = 64LL * 1024 * 1024;

bool isDocumentPdf(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^document-[0-9]{4,}\\.pdf$"));
  return pattern.match(name).hasMatch();
}

// The plain file names of PDFs that an earlier release's report lists.
QStringList listedPdfs(int folder, const QString& shown) {
  QJsonParseError error;
  QByteArray text;
  try {
    text = readBeneath(folder, kReport, {kLongestReport});
  } catch (const ReleaseError& e) {
    throw ReleaseError(QStringLiteral("the output folder %1 holds a release report that cannot be "
                                      "read (%2): remove it or choose another folder")
                           .arg(shown, e.message()));
  }
  const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject())
    throw ReleaseError(QStringLiteral("the output folder %1 holds a release-report.json that is "
                                      "no release report: remove it or choose another folder")
                           .arg(shown));
  QStringList pdfs;
  for (const QJsonValue& d : doc.object().value(QStringLiteral("documents")).toArray()) {
    const QString pdf = d.toObject().value(QStringLiteral("pdf")).toString();
    if (isDocumentPdf(pdf)) pdfs << pdf;  // a capture release's PDFs lie elsewhere: not ours
  }
  return pdfs;
}

QString listed(QStringList names) {
  names.sort();
  if (names.size() <= 3) return names.join(QStringLiteral(", "));
  return QStringLiteral("%1 and %2 more")
      .arg(names.mid(0, 3).join(QStringLiteral(", ")))
      .arg(names.size() - 3);
}

}  // namespace

void writeFileAtomically(const QString& path, const QByteArray& data, Existing existing) {
  const QFileInfo info(path);
  const Fd folder = openFolder(info.path());
  if (!folder)
    throw ReleaseError(QStringLiteral("cannot write %1: %2").arg(path, errorText(errno)));
  writeFileAt(folder.get(), info.fileName(), data, existing, path);
}

void prepareOutputFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (info.exists() && !info.isDir())
    throw ReleaseError(QStringLiteral("the output folder %1 is a file").arg(folder));
  if (folder.isEmpty() || !QDir().mkpath(folder))
    throw ReleaseError(QStringLiteral("cannot create the output folder %1").arg(folder));
  const Fd fd = openFolder(folder);
  const QByteArray probe = QStringLiteral(".zan-release-probe.%1")
                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                               .toLatin1();
  const int file = fd ? ::openat(fd.get(), probe.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)
                      : -1;
  if (file < 0)
    throw ReleaseError(
        QStringLiteral("cannot write into the output folder %1: %2").arg(folder, errorText(errno)));
  ::close(file);
  ::unlinkat(fd.get(), probe.constData(), 0);
}

void prepareReleaseFolder(const QString& folder, bool replace) {
  prepareOutputFolder(folder);
  const Fd fd = openFolder(folder);
  if (!fd)
    throw ReleaseError(
        QStringLiteral("cannot open the output folder %1: %2").arg(folder, errorText(errno)));
  for (const char* prefix : {"document-", "release-report.json", "zan-release-probe"})
    sweepTemporaryFiles(fd.get(), QLatin1String(prefix), kLeftOverSeconds);
  const QDir dir(folder);
  const bool hasReport = QFileInfo::exists(dir.filePath(kReport));
  QStringList pdfs;
  for (const QString& name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden))
    if (isDocumentPdf(name)) pdfs << name;
  if (!hasReport && pdfs.isEmpty()) return;
  const QStringList reported = hasReport ? listedPdfs(fd.get(), folder) : QStringList();
  QStringList unlisted;
  for (const QString& pdf : pdfs)
    if (!reported.contains(pdf)) unlisted << pdf;
  if (!unlisted.isEmpty())
    throw ReleaseError(
        QStringLiteral("the output folder %1 holds %2, which no release report "
                       "there lists: remove %3 or choose another folder")
            .arg(folder, listed(unlisted),
                 unlisted.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")));
  if (!replace)
    throw ReleaseError(QStringLiteral("the output folder %1 holds an earlier release (%2): choose "
                                      "another folder, or --replace to replace that release")
                           .arg(folder, listed(QStringList(pdfs) << kReport)));
  for (const QString& pdf : reported)
    if (!removeBeneath(fd.get(), pdf))
      throw ReleaseError(QStringLiteral("cannot remove %1 of the earlier release: %2")
                             .arg(dir.filePath(pdf), errorText(errno)));
  if (!removeBeneath(fd.get(), kReport))
    throw ReleaseError(QStringLiteral("cannot remove %1 of the earlier release: %2")
                           .arg(dir.filePath(kReport), errorText(errno)));
}

}  // namespace zan::release
