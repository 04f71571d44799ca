#include "hub_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QThread>

#include <poppler/qt6/poppler-qt6.h>

#include <QCryptographicHash>
#include <QDirIterator>

#include <sys/stat.h>
#include <unistd.h>
#include <chrono>

namespace zan::testing {
namespace {

void copyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  for (const QString& name : QDir(from).entryList(QDir::Files))
    QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

}  // namespace

QString zanHubBinary() {
  const QString other = qEnvironmentVariable("ZAN_TEST_HUB_BINARY");
  return other.isEmpty() ? QStringLiteral(ZAN_HUB_BINARY) : other;
}

TempHub::TempHub() {
  const QDir d(dir.path());
  hub = d.filePath(QStringLiteral("hub"));
  watched = d.filePath(QStringLiteral("watched"));
  pdfs = d.filePath(QStringLiteral("pdfs"));
  copyFolder(QStringLiteral(ZAN_EXAMPLES_DIR "/hub/Workflows"), hub + QStringLiteral("/Workflows"));
  copyFolder(QStringLiteral(ZAN_EXAMPLES_DIR "/hub/Dictionaries"),
             hub + QStringLiteral("/Dictionaries"));
  writeFile(hub + QStringLiteral("/Dictionaries/Codes.dic"),
            "# product codes\n" + kCodeWord.toUtf8() + "\n");
  // The service's roots, as an administrator makes them.
  QDir().mkpath(watched);
  QDir().mkpath(pdfs);
}

QStringList TempHub::serviceArguments(const QStringList& more) const {
  if (qEnvironmentVariable("ZAN_TEST_NO_ROOTS") == QLatin1String("1"))
    return QStringList{"--hub", hub} + more;
  return QStringList{"--hub", hub, "--watched-root", watched, "--output-root", pdfs} + more;
}

QString TempHub::writeSetup(const QString& name, const QVariantMap& partTwo,
                            const QVariantMap& partOne) const {
  QVariantMap two{{QStringLiteral("WorkgroupHub"), hub},
                  {QStringLiteral("WatchedFolder"), watched},
                  {QStringLiteral("PDFOutputFolder"), pdfs},
                  {QStringLiteral("Workflow"), QStringLiteral("Searchable Office")},
                  {QStringLiteral("Dictionary"), QStringLiteral("Codes")},
                  {QStringLiteral("PDFWaitForStatus"), true}};
  for (auto it = partTwo.begin(); it != partTwo.end(); ++it) two.insert(it.key(), it.value());
  const QString path = QDir(dir.path()).filePath(name);
  zan::testing::writeSetup(path, QStringLiteral("3"), partOne, two);
  return path;
}

QStringList TempHub::waitingJobs() const {
  QStringList jobs;
  for (const QString& name : QDir(watched).entryList({QStringLiteral("*.job")}, QDir::Dirs))
    jobs << name.chopped(4);
  return jobs;
}

QStringList TempHub::finishedJobs() const {
  QStringList jobs;
  for (const QString& name :
       QDir(watched + QStringLiteral("/.zan-hub/status")).entryList({QStringLiteral("*.json")}))
    jobs << name.chopped(5);
  return jobs;
}

QJsonObject TempHub::status(const QString& job) const {
  return readJson(watched + QStringLiteral("/.zan-hub/status/") + job + QStringLiteral(".json"));
}

HubProcess::HubProcess(const QStringList& arguments, const QStringList& environment, bool journal,
                       const QStringList& wrapper) {
  const QString log = logDir_.filePath(QStringLiteral("log"));
  QStringList env = environment;
  if (journal) {
    QFile(log).open(QIODevice::WriteOnly);
    struct stat st {};
    ::stat(QFile::encodeName(log).constData(), &st);
    env << QStringLiteral("JOURNAL_STREAM=%1:%2")
               .arg(static_cast<qulonglong>(st.st_dev))
               .arg(static_cast<qulonglong>(st.st_ino));
  }
  process_.setProcessEnvironment(environmentWith(env));
  process_.setStandardOutputFile(QProcess::nullDevice());
  process_.setStandardErrorFile(log, QIODevice::Append);
  if (wrapper.isEmpty())
    process_.start(zanHubBinary(), arguments);
  else
    process_.start(wrapper.first(), wrapper.mid(1) + QStringList{zanHubBinary()} + arguments);
  process_.waitForStarted();
}

int HubProcess::wait(int ms) {
  if (!process_.waitForFinished(ms) && process_.state() != QProcess::NotRunning) return -1;
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

HubProcess::~HubProcess() {
  kill();
}

int HubProcess::terminate() {
  if (process_.state() != QProcess::NotRunning) process_.terminate();
  return wait(60000);
}

void HubProcess::kill() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.kill();
  process_.waitForFinished(10000);
}

QString HubProcess::log() const {
  QFile file(logDir_.filePath(QStringLiteral("log")));
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}

std::vector<PdfLink> pdfLinks(const QString& pdf, int page) {
  std::vector<PdfLink> links;
  const auto doc = Poppler::Document::load(pdf);
  if (!doc || page < 1 || page > doc->numPages()) return links;
  const auto p = doc->page(page - 1);
  const QSizeF size = p->pageSizeF();
  for (const auto& a : p->annotations({Poppler::Annotation::ALink})) {
    const auto* link = static_cast<const Poppler::LinkAnnotation*>(a.get());
    const auto* browse = dynamic_cast<const Poppler::LinkBrowse*>(link->linkDestination());
    const QRectF b = a->boundary();
    links.push_back({browse ? browse->url() : QString(),
                     QRectF(b.x() * size.width(), b.y() * size.height(), b.width() * size.width(),
                            b.height() * size.height())});
  }
  return links;
}

QImage pdfThumbnail(const QString& pdf, int page) {
  const auto doc = Poppler::Document::load(pdf);
  if (!doc || page < 1 || page > doc->numPages()) return {};
  return doc->page(page - 1)->thumbnail();
}

std::vector<PdfImageEntry> pdfImageList(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  p.waitForFinished(60000);
  std::vector<PdfImageEntry> images;
  const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
  for (const QString& line : lines.mid(2)) {
    const QStringList f = line.simplified().split(QLatin1Char(' '));
    if (f.size() < 10) continue;
    // page num type width height color comp bpc enc ...
    images.push_back({f[0].toInt(), f[3].toInt(), f[4].toInt(), f[7].toInt(), f[8]});
  }
  return images;
}

QString pdfInfoText(const QString& pdf, const QStringList& options) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), options + QStringList{pdf});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

bool waitFor(const std::function<bool()>& condition, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QThread::msleep(20);
  }
  return true;
}

}  // namespace zan::testing

namespace zan::testing {

QString whyNoUsers() {
  if (::geteuid() != 0) return QStringLiteral("these tests run as root (the service) and nobody");
  QProcess p;
  p.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", "true"});
  if (!p.waitForFinished(10000) || p.exitCode() != 0)
    return QStringLiteral("setpriv cannot run a program as nobody here");
  return {};
}

int asSubmitter(const QString& script, QString* output) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral("setpriv"),
          {"--reuid=65534", "--regid=65534", QStringLiteral("--groups=%1").arg(kServiceUser), "--",
           "sh", "-c", script});
  p.waitForFinished(120000);
  if (output) *output = QString::fromUtf8(p.readAll());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList asServiceUser() {
  return {QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(kServiceUser),
          QStringLiteral("--regid=%1").arg(kServiceUser), QStringLiteral("--clear-groups"),
          QStringLiteral("--")};
}

QByteArray treeDigest(const QString& folder) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  QStringList entries;
  while (it.hasNext()) entries << it.next();
  entries.sort();
  for (const QString& path : entries) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    hash.addData(path.toUtf8());
    hash.addData(QByteArray::number(st.st_mode) + ' ' + QByteArray::number(st.st_uid) + ' ' +
                 QByteArray::number(static_cast<qint64>(st.st_size)));
    if (S_ISLNK(st.st_mode)) {
      hash.addData(QFile::symLinkTarget(path).toUtf8());
    } else if (S_ISREG(st.st_mode)) {
      QFile f(path);
      if (f.open(QIODevice::ReadOnly)) hash.addData(f.readAll());
    }
  }
  return hash.result().toHex();
}

QByteArray allBytes(const QString& folder) {
  QByteArray bytes;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile f(it.next());
    if (f.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && f.size() < 64 * 1024 * 1024)
      bytes += f.readAll();
  }
  return bytes;
}

void giveTo(const QString& path, unsigned user, unsigned group) {
  ::lchown(QFile::encodeName(path).constData(), user, group);
  QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) ::lchown(QFile::encodeName(it.next()).constData(), user, group);
}

}  // namespace zan::testing
