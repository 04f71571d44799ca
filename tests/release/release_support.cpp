#include "release_support.h"

#include "settings/pdf_settings.h"
#include "settings/setup_data.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <sys/time.h>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <poppler/qt6/poppler-qt6.h>

#include <cmath>
#include <cstring>

namespace zan::testing {
namespace {

QString tool(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(120000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString unescaped(QString s) {
  return s.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
      .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
      .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
      .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
      .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

}  // namespace

void writeSetup(const QString& path, const QString& engine, const QVariantMap& partOne,
                const QVariantMap& partTwo) {
  SetupFile file(path);
  PdfSettings defaults;
  defaults.setPdfEngine(engine);
  defaults.Save(file.SetupPartOne(), file.SetupPartTwo());
  for (auto it = partOne.begin(); it != partOne.end(); ++it)
    file.SetupPartOne().setValue(it.key(), it.value());
  for (auto it = partTwo.begin(); it != partTwo.end(); ++it)
    file.SetupPartTwo().setValue(it.key(), it.value());
  file.save();
}

QString zanReleaseBinary() {
  // ZAN_TEST_RELEASE_BINARY runs the tests against another build (an earlier one, to see a test
  // fail without its fix).
  const QString other = qEnvironmentVariable("ZAN_TEST_RELEASE_BINARY");
  return other.isEmpty() ? QStringLiteral(ZAN_RELEASE_BINARY) : other;
}

QProcessEnvironment environmentWith(const QStringList& environment) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& assignment : environment)
    env.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
  return env;
}

ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QStringList& environment, int ms) {
  QProcess p;
  p.setProcessEnvironment(environmentWith(environment));
  p.start(program, arguments);
  ProgramRun run;
  if (!p.waitForFinished(ms)) {
    p.kill();
    p.waitForFinished(10000);
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
  }
  run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  run.out = QString::fromUtf8(p.readAllStandardOutput());
  run.err = QString::fromUtf8(p.readAllStandardError());
  return run;
}

std::vector<PdfPage> pdfWords(const QString& pdf) {
  static const QRegularExpression page(
      QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">(.*)</word>)re"));
  std::vector<PdfPage> pages;
  for (const QString& line :
       tool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})
           .split(QLatin1Char('\n'))) {
    if (const auto m = page.match(line); m.hasMatch()) {
      pages.push_back({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
    } else if (const auto w = word.match(line); w.hasMatch() && !pages.empty()) {
      const double x0 = w.captured(1).toDouble(), y0 = w.captured(2).toDouble();
      pages.back().words.push_back(
          {unescaped(w.captured(5)),
           QRectF(x0, y0, w.captured(3).toDouble() - x0, w.captured(4).toDouble() - y0)});
    }
  }
  return pages;
}

QStringList allWords(const PdfPage& page) {
  QStringList words;
  for (const PdfWord& w : page.words) words << w.text;
  return words;
}

QStringList pageTexts(const QString& pdf) {
  QStringList texts;
  for (const PdfPage& page : pdfWords(pdf)) texts << allWords(page).join(QLatin1Char(' '));
  return texts;
}

QStringList expectedPageTexts(const QString& folder) {
  QStringList texts;
  for (int n = 1;; ++n) {
    QFile file(QDir(folder).filePath(QStringLiteral("page-%1.txt").arg(n)));
    if (!file.open(QIODevice::ReadOnly)) return texts;
    texts << QString::fromUtf8(file.readAll()).simplified();
  }
}

int pdfImageCount(const QString& pdf, int page) {
  int count = 0;
  const QStringList lines =
      tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
  for (const QString& line : lines.mid(2))
    if (line.simplified().section(QLatin1Char(' '), 0, 0).toInt() == page) ++count;
  return count;
}

QImage pdfImage(const QString& pdf, int page) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("image"));
  tool(QStringLiteral("pdfimages"),
       {QStringLiteral("-png"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
        QString::number(page), pdf, prefix});
  return QImage(prefix + QStringLiteral("-000.png"));
}

QByteArray pdfJpeg(const QString& pdf, int page) {
  QTemporaryDir dir;
  QProcess p;
  p.start(QStringLiteral("pdfimages"),
          {"-j", "-f", QString::number(page), "-l", QString::number(page), pdf, dir.filePath("i")});
  p.waitForFinished(60000);
  QFile file(dir.filePath(QStringLiteral("i-000.jpg")));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfInfo(const QString& pdf, const QString& key) {
  const auto doc = Poppler::Document::load(pdf);
  return doc ? doc->info(key) : QString();
}

std::vector<PdfNote> pdfHighlights(const QString& pdf, int page) {
  std::vector<PdfNote> notes;
  const auto doc = Poppler::Document::load(pdf);
  if (!doc || page < 1 || page > doc->numPages()) return notes;
  const auto p = doc->page(page - 1);
  const QSizeF size = p->pageSizeF();
  for (const auto& a : p->annotations()) {
    if (a->subType() != Poppler::Annotation::AHighlight) continue;
    const QRectF b = a->boundary();
    notes.push_back({a->contents(), QRectF(b.x() * size.width(), b.y() * size.height(),
                                           b.width() * size.width(), b.height() * size.height())});
  }
  return notes;
}

QString pdfFonts(const QString& pdf) {
  return tool(QStringLiteral("pdffonts"), {pdf});
}

QRectF inPoints(const QRectF& pixels) {
  const double k = 72.0 / 300.0;
  return QRectF(pixels.x() * k, pixels.y() * k, pixels.width() * k, pixels.height() * k);
}

QStringList wordsFoundInPlace(const TestPage& page, const PdfPage& found, double tolerance) {
  QStringList words;
  for (const DrawnWord& drawn : page.words) {
    const QPointF expected = inPoints(drawn.box).center();
    for (const PdfWord& w : found.words) {
      const QPointF c = w.box.center();
      if (w.text == drawn.text && std::fabs(c.x() - expected.x()) <= tolerance &&
          std::fabs(c.y() - expected.y()) <= tolerance) {
        words << drawn.text;
        break;
      }
    }
  }
  return words;
}

QStringList allWords(const TestPage& page) {
  QStringList words;
  for (const DrawnWord& w : page.words) words << w.text;
  return words;
}

QImage renderedPage(const QString& pdf, int page, int dpi, bool grey) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  // Cairo draws an image placed at exactly the rendering's resolution pixel for pixel (Splash
  // resamples it by a row when its edge falls on a pixel boundary).
  QStringList arguments{"-png", "-singlefile",
                        "-r",   QString::number(dpi),
                        "-f",   QString::number(page),
                        "-l",   QString::number(page),
                        pdf,    prefix};
  if (grey) arguments.prepend(QStringLiteral("-gray"));
  QProcess::execute(QStringLiteral("pdftocairo"), arguments);
  return QImage(prefix + QStringLiteral(".png"));
}

double inkShare(const QImage& image, const QRect& box) {
  const QImage grey =
      image.convertToFormat(QImage::Format_Grayscale8).copy(box.isNull() ? image.rect() : box);
  qint64 dark = 0;
  for (int row = 0; row < grey.height(); ++row)
    for (int col = 0; col < grey.width(); ++col)
      if (grey.constScanLine(row)[col] < 128) ++dark;
  return static_cast<double>(dark) / (static_cast<double>(grey.width()) * grey.height());
}

bool samePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return false;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  for (int row = 0; row < x.height(); ++row)
    if (std::memcmp(x.constScanLine(row), y.constScanLine(row), x.width() * 4) != 0) return false;
  return true;
}

QByteArray handWrittenPdf(const QList<QByteArray>& objects) {
  QByteArray pdf = "%PDF-1.4\n";
  QList<qsizetype> offsets;
  for (int i = 0; i < objects.size(); ++i) {
    offsets << pdf.size();
    pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const qsizetype xref = pdf.size();
  pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (qsizetype o : offsets) pdf += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
  pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
  return pdf;
}

void writeFile(const QString& path, const QByteArray& data) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(data);
}

QString writeBatchFile(const QString& path, const QJsonObject& batch) {
  writeFile(path, QJsonDocument(batch).toJson());
  return path;
}

QJsonObject readJson(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}

QString writeDocuments(const QString& dir, const std::vector<QStringList>& documents) {
  QJsonArray docs;
  for (const QStringList& pages : documents)
    docs.append(QJsonObject{{QStringLiteral("pages"), QJsonArray::fromStringList(pages)}});
  return writeBatchFile(
      QDir(dir).filePath(QStringLiteral("batch.json")),
      {{QStringLiteral("name"), QStringLiteral("Test")}, {QStringLiteral("documents"), docs}});
}

ReleaseFolder::ReleaseFolder(const QVariantMap& partTwo) {
  savePage(renderTextPage(sampleLines(0).mid(0, 2)).image, path(QStringLiteral("page.png")));
  writeOcrSetup(path(QStringLiteral("setup.json")), {}, partTwo);
  writeDocuments(dir.path(), {{QStringLiteral("page.png")}});
}

QStringList ReleaseFolder::arguments() const {
  return {"--setup", path(QStringLiteral("setup.json")),
          "--batch", path(QStringLiteral("batch.json")),
          "--out",   out(),
          "--quiet"};
}

void setModifiedAgo(const QString& path, int seconds) {
  struct timeval times[2];
  gettimeofday(&times[0], nullptr);
  times[0].tv_sec -= seconds;
  times[1] = times[0];
  utimes(QFile::encodeName(path).constData(), times);
}

}  // namespace zan::testing
