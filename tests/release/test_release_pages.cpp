// How zan-release stores and stands pages: every lossless path rendered at the page's own
// resolution gives back the scan pixel for pixel (turned pages too, which are turned by their
// image's matrix, never re-encoded); orientation decided on evidence, with the reason in the
// report; deskewing only when asked.
#include "release_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTransform>

#include <functional>
#include <memory>

using namespace zan::testing;

namespace {

struct Release {
  QTemporaryDir dir;
  ProgramRun run;
  QJsonObject report;
  QString pdf() const { return dir.filePath("out/document-0001.pdf"); }
  QJsonObject page(int n) const { return report["documents"][0]["pages"][n - 1].toObject(); }
};

// Releases `pages` (files made by `make` in the release's folder) as one document.
std::unique_ptr<Release> release(const QVariantMap& settings, const QStringList& pages,
                                 const std::function<void(const QDir&)>& make,
                                 const QStringList& arguments = {}) {
  auto r = std::make_unique<Release>();
  const QDir d(r->dir.path());
  make(d);
  const QString setup = d.filePath("setup.json");
  writeOcrSetup(setup, {{"LowOcrConfidence", false}, {"WordNotInDictionary", false}}, settings);
  const QString batch = writeBatchFile(
      d.filePath("batch.json"),
      {{"documents", QJsonArray{QJsonObject{{"pages", QJsonArray::fromStringList(pages)}}}}});
  r->run = runZanRelease(
      QStringList{"--setup", setup, "--batch", batch, "--out", d.filePath("out"), "--quiet"} +
      arguments);
  r->report = readJson(d.filePath("out/release-report.json"));
  return r;
}

const QVariantMap kEveryOrientation{{"Rotate90", true}, {"Rotate180", true}, {"Rotate270", true}};

QVariantMap with(QVariantMap settings, const QVariantMap& more) {
  for (auto it = more.begin(); it != more.end(); ++it) settings.insert(it.key(), it.value());
  return settings;
}

// A colour photograph with a caption of a few words: the page that must not be turned.
QImage picturePage() {
  QImage page(1748, 2480, QImage::Format_RGB32);
  page.fill(Qt::white);
  page.setDotsPerMeterX(11811);
  page.setDotsPerMeterY(11811);
  QPainter painter(&page);
  QLinearGradient sky(0, 150, 0, 1900);
  sky.setColorAt(0, QColor(70, 120, 200));
  sky.setColorAt(1, QColor(250, 200, 150));
  painter.fillRect(QRect(150, 150, 1448, 1750), sky);
  painter.setBrush(QColor(40, 110, 50));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QRect(100, 1300, 1600, 900));
  painter.end();
  drawPicture(page, QRect(300, 300, 500, 400));
  QFont font("DejaVu Serif");
  font.setPixelSize(50);
  QPainter text(&page);
  text.setFont(font);
  text.setPen(Qt::black);
  text.drawText(QPointF(200, 2250), "Harbour at dawn");
  return page;
}

}  // namespace

// Each page format and lossless path, rendered at the page's resolution, gives back the scan
// pixel for pixel (so the page size follows the stated resolution, not the pixel count): grey,
// colour, palette and 150-dpi PNG, both pages of a bitonal TIFF (CCITT G4), a JPEG (as decoded),
// pages fed in turned by 90, 180 and 270 degrees, shown upright, PGM, PPM, BMP, and a translucent
// PNG laid on white.
TEST(LosslessPages, RenderedAtTheirResolutionEqualTheScan) {
  const QImage grey = renderTextPage(sampleLines(0)).image;
  const QImage second = renderTextPage(sampleLines(1)).image;
  const QImage colour = picturePage();
  QImage coarse = grey.scaled(grey.width() / 2, grey.height() / 2);
  coarse.setDotsPerMeterX(5906);  // 150 dpi
  coarse.setDotsPerMeterY(5906);
  const QImage palette = colour.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
  const QImage turnedPage = renderTextPage(sampleLines(2)).image;
  QImage translucent = colour.convertToFormat(QImage::Format_ARGB32);
  translucent.fill(QColor(0, 0, 0, 0));
  QPainter(&translucent).fillRect(QRect(300, 300, 500, 500), QColor(0, 0, 0, 255));
  QImage overWhite(translucent.size(), QImage::Format_RGB32);
  overWhite.fill(Qt::white);
  QPainter(&overWhite).drawImage(0, 0, translucent);
  const auto r = release(with(kEveryOrientation, {{"OutputFormatType", 2}}),
                         {"grey.png", "colour.png", "palette.png", "coarse.png", "bitonal.tif",
                          "colour.jpg", "turned90.png", "turned180.png", "turned270.png",
                          "grey.pgm", "colour.ppm", "colour.bmp", "translucent.png"},
                         [&](const QDir& d) {
                           savePage(grey, d.filePath("grey.png"));
                           savePage(colour, d.filePath("colour.png"));
                           savePage(palette, d.filePath("palette.png"));
                           savePage(coarse, d.filePath("coarse.png"));
                           saveMultiPageTiff({grey, second}, d.filePath("bitonal.tif"), true);
                           colour.save(d.filePath("colour.jpg"), "JPEG", 90);
                           for (int turn : {90, 180, 270})
                             savePage(turnedClockwise(turnedPage, turn),
                                      d.filePath(QStringLiteral("turned%1.png").arg(turn)));
                           savePage(grey, d.filePath("grey.pgm"));
                           savePage(colour, d.filePath("colour.ppm"));
                           savePage(colour, d.filePath("colour.bmp"));
                           savePage(translucent, d.filePath("translucent.png"));
                         });
  ASSERT_EQ(r->run.exitCode, 0) << qPrintable(r->run.err);
  const QImage decodedJpeg(r->dir.filePath("colour.jpg"));
  const struct {
    const char* fault;
    QImage expected;
    int dpi;
  } pages[] = {{"grey PNG", grey, 300},
               {"colour PNG", colour, 300},
               {"palette PNG", palette, 300},
               {"150-dpi PNG", coarse, 150},
               {"first bitonal TIFF page",
                grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither), 300},
               {"second bitonal TIFF page",
                second.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither), 300},
               {"JPEG", decodedJpeg, 300},
               {"page turned by 90", turnedPage, 300},
               {"page turned by 180", turnedPage, 300},
               {"page turned by 270", turnedPage, 300},
               {"PGM", grey, 300},
               {"PPM", colour, 300},
               {"BMP", colour, 300},
               {"translucent PNG not laid on white", overWhite, 300}};
  for (std::size_t i = 0; i < std::size(pages); ++i) {
    const int page = static_cast<int>(i + 1);
    const QImage rendered = renderedPage(r->pdf(), page, pages[i].dpi, false);
    EXPECT_TRUE(samePixels(rendered, pages[i].expected.convertToFormat(QImage::Format_RGB32)))
        << pages[i].fault << " not rendered as scanned (" << rendered.width() << "x"
        << rendered.height() << ")";
  }
  for (int page : {8, 9, 10})  // turned by the matrix, not by re-encoding
    EXPECT_NE(r->page(page)["rotation"].toInt(), 0) << page;
  EXPECT_TRUE(samePixels(pdfImage(r->pdf(), 14), overWhite)) << "transparency kept in the PDF";
}

// With every orientation allowed ("Most Accurate"): a page whose turn detection is sure of is
// turned ("detected"), a page of two lines upside down is read in the allowed orientations
// ("tried"), and a picture with three words stays as scanned ("weak evidence"), its JPEG
// embedded byte for byte. A label of a few words, too few for detection to be sure of in
// general, is read as scanned first: upright it stands so without detection ("tried"), fed in
// sideways detection then turns it. With only upright allowed nothing is detected ("not
// checked").
TEST(Orientation, DecidedOnEvidenceWithItsReason) {
  const TestPage turned = renderTextPage(sampleLines(3));
  const TestPage twoLines = renderTextPage(sampleLines(7).mid(0, 2));
  const TestPage label = renderTextPage(
      {"order and support. The", "meeting starts at ten", "tomorrow. All letters"}, 14);
  const auto r =
      release(with(kEveryOrientation, {{"Accuracy", 16}}),
              {"turned.png", "two-lines.png", "picture.jpg", "label.png", "label-in.png"},
              [&](const QDir& d) {
                savePage(turnedClockwise(turned.image, 90), d.filePath("turned.png"));
                savePage(turnedClockwise(twoLines.image, 180), d.filePath("two-lines.png"));
                picturePage().save(d.filePath("picture.jpg"), "JPEG", 90);
                savePage(label.image, d.filePath("label.png"));
                savePage(turnedClockwise(label.image, 270), d.filePath("label-in.png"));
              });
  ASSERT_EQ(r->run.exitCode, 0) << qPrintable(r->run.err);
  const struct {
    const char* fault;
    int page;
    int rotation;
    const char* reason;
  } cases[] = {{"a page turned by 90 degrees not turned", 1, 270, "detected"},
               {"two lines upside down not read in the other orientations", 2, 180, "tried"},
               {"a picture with few words turned without evidence", 3, 0, "weak evidence"},
               {"an upright label not decided by its reading", 4, 0, "tried"},
               {"a label fed in sideways not detected after its reading", 5, 90, "detected"}};
  for (const auto& c : cases) {
    EXPECT_EQ(r->page(c.page)["rotation"].toInt(), c.rotation) << c.fault;
    EXPECT_EQ(r->page(c.page)["orientationReason"].toString(), QLatin1String(c.reason)) << c.fault;
  }
  EXPECT_GT(r->page(1)["orientationConfidence"].toDouble(), 5.0);
  EXPECT_FALSE(r->page(4).contains("orientationConfidence"))
      << "detection looked at an upright label its reading had decided";
  const std::vector<PdfPage> found = pdfWords(r->pdf());
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(wordsFoundInPlace(turned, found[0]).size(), turned.words.size());
  EXPECT_EQ(wordsFoundInPlace(twoLines, found[1]).size(), twoLines.words.size());
  for (std::size_t i : {3u, 4u})
    EXPECT_EQ(wordsFoundInPlace(label, found[i]).size(), label.words.size()) << "page " << i + 1;
  QFile original(r->dir.filePath("picture.jpg"));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  EXPECT_EQ(pdfJpeg(r->pdf(), 3), original.readAll()) << "the picture's JPEG was re-encoded";

  const auto upright = release({}, {"turned.png"}, [&](const QDir& d) {
    savePage(turnedClockwise(turned.image, 90), d.filePath("turned.png"));
  });
  ASSERT_EQ(upright->run.exitCode, 0) << qPrintable(upright->run.err);
  EXPECT_EQ(upright->page(1)["orientationReason"].toString(), "not checked");
  EXPECT_FALSE(upright->page(1).contains("orientation"));
}

// Detection looks at a copy of the page reduced to letters about 16 pixels high: large print is
// sampled down before it is area mapped, a bitonal scan is reduced to grey, grey print is area
// mapped. From each copy detection must still be sure which way the page was fed in.
TEST(Orientation, DetectedFromEachWayOfReducingThePage) {
  QStringList large;  // 48-point print in short lines: letters about 120 pixels high
  for (const QString& word : sampleLines(2).join(QLatin1Char(' ')).split(QLatin1Char(' '))) {
    if (large.isEmpty() || large.last().size() + word.size() >= 14)
      large << word;
    else
      large.last() += QLatin1Char(' ') + word;
  }
  const struct {
    const char* fault;
    QString file;
    int turn;
  } cases[] = {{"large print sampled down lost its letters", "large.png", 90},
               {"a bitonal scan reduced to grey lost its letters", "bitonal.tif", 180},
               {"grey print area mapped lost its letters", "grey.png", 270}};
  const auto r =
      release(with(kEveryOrientation, {{"Accuracy", 4}}),
              {cases[0].file, cases[1].file, cases[2].file}, [&](const QDir& d) {
                savePage(turnedClockwise(renderTextPage(large.mid(0, 7), 48).image, cases[0].turn),
                         d.filePath(cases[0].file));
                saveMultiPageTiff(
                    {turnedClockwise(renderTextPage(sampleLines(5), 10).image, cases[1].turn)},
                    d.filePath(cases[1].file), true);
                savePage(turnedClockwise(renderTextPage(sampleLines(4)).image, cases[2].turn),
                         d.filePath(cases[2].file));
              });
  ASSERT_EQ(r->run.exitCode, 0) << qPrintable(r->run.err);
  for (int i = 0; i < 3; ++i) {
    const QJsonObject page = r->page(i + 1);
    EXPECT_EQ(page["orientationReason"].toString(), "detected") << cases[i].fault;
    EXPECT_EQ(page["orientation"].toInt(), cases[i].turn) << cases[i].fault;
    EXPECT_EQ(page["rotation"].toInt(), (360 - cases[i].turn) % 360) << cases[i].fault;
  }
}

// --deskew levels a page scanned 2.5 degrees askew, so that its words lie where the level page
// has them; without it the page stays as scanned, image and all.
TEST(Deskew, OnlyWhenAskedAndThenLevel) {
  const TestPage level = renderTextPage(sampleLines(5));
  QImage askew(level.image.size(), QImage::Format_Grayscale8);
  askew.fill(Qt::white);
  askew.setDotsPerMeterX(level.image.dotsPerMeterX());
  askew.setDotsPerMeterY(level.image.dotsPerMeterY());
  {
    QPainter painter(&askew);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(askew.width() / 2.0, askew.height() / 2.0);
    painter.rotate(2.5);
    painter.drawImage(QPointF(-askew.width() / 2.0, -askew.height() / 2.0), level.image);
  }
  const auto make = [&](const QDir& d) { savePage(askew, d.filePath("askew.png")); };
  const QVariantMap hidden{{"OutputFormatType", 3}};
  const auto plain = release(hidden, {"askew.png"}, make);
  const auto deskewed = release(hidden, {"askew.png"}, make, {"--deskew"});
  ASSERT_EQ(plain->run.exitCode, 0) << qPrintable(plain->run.err);
  ASSERT_EQ(deskewed->run.exitCode, 0) << qPrintable(deskewed->run.err);
  EXPECT_TRUE(samePixels(pdfImage(plain->pdf(), 1), askew)) << "a page deskewed unasked";
  const auto inPlace = [&](const Release& r) {
    const std::vector<PdfPage> found = pdfWords(r.pdf());
    return found.empty() ? 0 : wordsFoundInPlace(level, found[0], 6.0).size();
  };
  const qsizetype words = static_cast<qsizetype>(level.words.size());
  std::printf("words at their level places: as scanned %lld, deskewed %lld of %lld\n",
              static_cast<long long>(inPlace(*plain)), static_cast<long long>(inPlace(*deskewed)),
              static_cast<long long>(words));
  EXPECT_GE(inPlace(*deskewed), words * 9 / 10);
  EXPECT_LT(inPlace(*plain), words / 2);
}
