#include "preview_settings.h"

#include "hub/capture_settings.h"
#include "hub/hub_folder.h"
#include "release/release_error.h"

#include "settings/automation_error.h"
#include "settings/pdf_settings.h"
#include "settings/setup_data.h"

#include <tuple>

namespace zan::preview {
namespace {

// What the words and the image of a processed page depend on.
auto recognitionKey(const release::ReleaseOptions& o) {
  return std::make_tuple(o.content, o.language.model, o.accuracy.level, o.orientations,
                         o.userWordsFile, o.keepPictures, o.links, o.deskew, o.imageDpi,
                         o.readPdfText, o.imageEncoding == release::ImageEncoding::Compact);
}

}  // namespace

PreviewOptions previewOptions(const QVariantMap& partOne, const QVariantMap& partTwo,
                              const QString& wordsFolder) {
  MemorySetupPart one, two;
  one.assign(partOne);
  two.assign(partTwo);
  PreviewOptions result;
  result.engine = partOne.value(QStringLiteral("PdfEngine")).toString();
  try {
    PdfSettings settings;
    settings.Load(one, two);
    if (result.engine == QLatin1String("3")) {
      const hub::CaptureSettings capture = hub::captureSettingsOf(settings);
      const hub::HubFolder folder(settings.WorkgroupHub());
      result.options = hub::captureJobOptions(folder, capture, wordsFolder);
      // The document information travels beside the job, as the release step resolves it.
      result.options.title = settings.TitleField();
      result.options.subject = settings.SubjectField();
      result.options.author = settings.AuthorField();
      result.options.keywords = settings.KeywordsField();
    } else {
      result.engine = QStringLiteral("2");
      result.options = release::optionsFromOcrSettings(settings);
    }
  } catch (const AutomationException& e) {
    throw release::ReleaseError(e.error().description);
  }
  return result;
}

bool needsRecognition(const release::ReleaseOptions& before, const release::ReleaseOptions& after) {
  return recognitionKey(before) != recognitionKey(after);
}

}  // namespace zan::preview
