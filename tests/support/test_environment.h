#pragma once
// Doubles for the outside world of a panel, handed to it through zan::PanelEnvironment.
// Nothing here shows a window: message boxes, the about box and the folder browser record.

#include "common/automation_error.h"
#include "common/platform.h"
#include "common/string_table.h"
#include "external/about_box.h"
#include "external/folder_browser.h"
#include "external/herald_hub.h"
#include "external/links_control.h"
#include "external/panel_environment.h"
#include "external/pdf_settings.h"

#include <QPixmap>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zan::testing {

class RecordingPlatform : public Platform {
 public:
  struct Box {
    QString title, text;
  };
  std::vector<Box> boxes;
  int failBoxes = 0;  // the next N message boxes fail with error 70
  MousePointer pointer = MousePointer::Default;
  std::vector<MousePointer> pointerHistory;
  int pendingMessageCalls = 0;
  std::function<void()> onPendingMessages;  // runs inside processPendingMessages
  QString title = QStringLiteral("Release Setup Test");

  MousePointer mousePointer() const override { return pointer; }
  void setMousePointer(MousePointer p) override {
    pointer = p;
    pointerHistory.push_back(p);
  }
  void processPendingMessages() override {
    ++pendingMessageCalls;
    if (onPendingMessages) onPendingMessages();
  }
  QString applicationTitle() const override { return title; }
  void messageBox(const QString& t, const QString& text) override {
    if (failBoxes > 0) {
      --failBoxes;
      raiseError(70, QStringLiteral("messageBox"), QStringLiteral("Permission denied"));
    }
    boxes.push_back({t, text});
  }
};

class RecordingAboutBox : public AboutBoxService {
 public:
  struct Call {
    QPixmap picture;
    QString title, major, minor, revision, copyright;
  };
  std::vector<Call> calls;
  void AboutBox(const QPixmap& picture, const QString& title, const QString& major,
                const QString& minor, const QString& revision, const QString& copyright) override {
    calls.push_back({picture, title, major, minor, revision, copyright});
  }
};

// A folder browser that answers with a prepared path; records what the panel set.
class ScriptedFolderBrowser : public FolderBrowser {
 public:
  struct Log {
    QWidget* owner = nullptr;
    bool fileSystemOnly = false;
    QString title;
    int shows = 0;
    int destroyed = 0;
  };
  ScriptedFolderBrowser(QString answer, std::shared_ptr<Log> log)
      : answer_(std::move(answer)), log_(std::move(log)) {}
  ~ScriptedFolderBrowser() override { ++log_->destroyed; }
  void setOwner(QWidget* owner) override { log_->owner = owner; }
  void setFileSystemOnly(bool only) override { log_->fileSystemOnly = only; }
  void setTitle(const QString& title) override { log_->title = title; }
  QString title() const override { return log_->title; }
  void show() override { ++log_->shows; }
  QString path() const override { return answer_; }

 private:
  QString answer_;
  std::shared_ptr<Log> log_;
};

// The links control with every panel-facing call recorded in order, e.g.
// "setOfferSetupLinks(1)", "SetSetupData", "setInitializing(0)", "setModified(0)", "Redraw",
// "ClearLinks", "AddLink(name,0,text,Title)", "Link(2)".
class RecordingLinks : public ZANLinks {
 public:
  using ZANLinks::ZANLinks;
  QStringList calls;
  SetupData* replacement = nullptr;  // when set, SetSetupData hands this back in rd
  int failLinkRow = -1;              // Link(row) fails for this row

  void setOfferSetupLinks(bool v) override {
    calls << QStringLiteral("setOfferSetupLinks(%1)").arg(int(v));
    ZANLinks::setOfferSetupLinks(v);
  }
  void SetSetupData(SetupData*& rd) override {
    calls << QStringLiteral("SetSetupData");
    ZANLinks::SetSetupData(rd);
    if (replacement) rd = replacement;
  }
  void setInitializing(bool v) override {
    calls << QStringLiteral("setInitializing(%1)").arg(int(v));
    ZANLinks::setInitializing(v);
  }
  void setModified(bool v) override {
    calls << QStringLiteral("setModified(%1)").arg(int(v));
    ZANLinks::setModified(v);
  }
  void Redraw() override {
    calls << QStringLiteral("Redraw");
    ZANLinks::Redraw();
  }
  void ClearLinks() override {
    calls << QStringLiteral("ClearLinks");
    ZANLinks::ClearLinks();
  }
  void AddLink(const QString& n, std::int32_t t, const QString& text, const QString& c) override {
    calls << QStringLiteral("AddLink(%1,%2,%3,%4)").arg(n).arg(t).arg(text, c);
    ZANLinks::AddLink(n, t, text, c);
  }
  DocInfoField Link(std::int16_t index) const override {
    const_cast<RecordingLinks*>(this)->calls << QStringLiteral("Link(%1)").arg(index);
    if (index == failLinkRow) raiseError(381, QStringLiteral("ZANLinks"), QStringLiteral("Subscript out of range"));
    return ZANLinks::Link(index);
  }
};

// Everything a panel talks to, in one place. environment() hands the panel factories that
// create the objects below (the settings object and the hub are created by the panel, and the
// world keeps a pointer to the latest ones).
struct TestWorld {
  std::shared_ptr<RecordingPlatform> platform = std::make_shared<RecordingPlatform>();
  RecordingAboutBox aboutBox;
  // Hub answers used for every hub the panel creates.
  std::function<std::unique_ptr<HeraldHub>()> hubFactory = [] {
    return std::make_unique<MemoryHub>();
  };
  std::function<std::unique_ptr<PdfSettings>()> settingsFactory = [] {
    return std::make_unique<PdfSettings>();
  };
  QString browseAnswer;
  std::shared_ptr<ScriptedFolderBrowser::Log> browseLog =
      std::make_shared<ScriptedFolderBrowser::Log>();

  HeraldHub* hub = nullptr;          // the latest hub the panel created
  PdfSettings* settings = nullptr;   // the latest settings object the panel created
  RecordingLinks* links = nullptr;   // the latest links control the panel created

  PanelEnvironment environment() {
    PanelEnvironment env;
    env.platform = platform;
    env.strings = StringTable::usEnglish();
    env.makeSettings = [this] {
      auto s = settingsFactory();
      settings = s.get();
      return s;
    };
    env.makeHub = [this] {
      auto h = hubFactory();
      hub = h.get();
      return h;
    };
    env.makeFolderBrowser = [this]() -> std::unique_ptr<FolderBrowser> {
      return std::make_unique<ScriptedFolderBrowser>(browseAnswer, browseLog);
    };
    env.makeLinks = [this](QWidget* parent) -> ZANLinks* {
      links = new RecordingLinks(parent);
      return links;
    };
    env.aboutBox = [this]() -> AboutBoxService& { return aboutBox; };
    return env;
  }
};

}  // namespace zan::testing
