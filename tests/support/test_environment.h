#pragma once
// Doubles for the outside world of a panel, handed to it through zan::PanelEnvironment.
// Nothing here shows a window: message boxes, the about box and the folder browser record.
// With a CallLog, every outside call the panel makes is recorded by name, and any one of them
// can be made to fail (see TestWorld::log).

#include "external/about_box.h"
#include "external/folder_browser.h"
#include "external/links_control.h"
#include "external/panel_environment.h"
#include "external/platform.h"
#include "settings/automation_error.h"
#include "settings/file_system.h"
#include "settings/herald_hub.h"
#include "settings/pdf_settings.h"
#include "settings/setup_data.h"
#include "settings/string_table.h"

#include <QPixmap>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zan::testing {

// Error number of an injected failure ("Device I/O error").
constexpr std::int32_t kInjectedFailure = 57;

// Every outside call the doubles receive, in order, as "<phase>/<call>" (for example
// "Init/hub.OpenHub"); the call at position `failAt`, or the first one named `failName`, fails.
struct CallLog {
  QString phase;
  bool hubStatusFailures = false;  // a failing hub operation answers status 7 instead of throwing
  bool hubOpen = false;            // a LoggedHub was opened and has not been closed since
  QStringList calls;
  int failAt = -1;
  QString failName;
  QString failed;  // the call that failed, once it has

  // Records `call`; true when it is the one to fail.
  bool fails(const QString& call) {
    calls << phase + QLatin1Char('/') + call;
    const bool chosen = calls.size() - 1 == failAt || (failed.isEmpty() && call == failName);
    if (chosen) failed = calls.last();
    return chosen;
  }
  // Records `call` and raises an injected failure when it is the one to fail.
  void check(const QString& call) {
    if (fails(call))
      raiseError(kInjectedFailure, call, QStringLiteral("Injected failure of ") + call);
  }
};

// Records `call` in `log`, if any, and fails when it is the one to fail.
inline void checkCall(const std::shared_ptr<CallLog>& log, const QString& call) {
  if (log) log->check(call);
}
inline void checkCall(const std::shared_ptr<CallLog>& log, const char* call) {
  checkCall(log, QString::fromLatin1(call));
}

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

  std::shared_ptr<CallLog> log;

  MousePointer mousePointer() const override {
    checkCall(log, "platform.mousePointer");
    return pointer;
  }
  void setMousePointer(MousePointer p) override {
    checkCall(log, "platform.setMousePointer");
    pointer = p;
    pointerHistory.push_back(p);
  }
  void processPendingMessages() override {
    checkCall(log, "platform.processPendingMessages");
    ++pendingMessageCalls;
    if (onPendingMessages) onPendingMessages();
  }
  QString applicationTitle() const override {
    checkCall(log, "platform.applicationTitle");
    return title;
  }
  void messageBox(const QString& t, const QString& text) override {
    checkCall(log, "platform.messageBox");
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
  std::shared_ptr<CallLog> log;
  void AboutBox(const QPixmap& picture, const QString& title, const QString& major,
                const QString& minor, const QString& revision, const QString& copyright) override {
    checkCall(log, "aboutBox.AboutBox");
    calls.push_back({picture, title, major, minor, revision, copyright});
  }
};

// A folder browser that answers with a prepared path; records what the panel set.
class ScriptedFolderBrowser : public FolderBrowser {
 public:
  struct Log {
    QWidget* owner = nullptr;
    bool fileSystemOnly = false;
    QString title, startFolder;
    int shows = 0;
    int destroyed = 0;
    std::function<void()> onShow;  // runs while the browser is shown
  };
  ScriptedFolderBrowser(QString answer, std::shared_ptr<Log> log,
                        std::shared_ptr<CallLog> calls = nullptr)
      : answer_(std::move(answer)), log_(std::move(log)), calls_(std::move(calls)) {}
  ~ScriptedFolderBrowser() override { ++log_->destroyed; }
  void setOwner(QWidget* owner) override {
    checkCall(calls_, "folderBrowser.setOwner");
    log_->owner = owner;
  }
  void setFileSystemOnly(bool only) override {
    checkCall(calls_, "folderBrowser.setFileSystemOnly");
    log_->fileSystemOnly = only;
  }
  void setTitle(const QString& title) override {
    checkCall(calls_, "folderBrowser.setTitle");
    log_->title = title;
  }
  QString title() const override { return log_->title; }
  void setStartFolder(const QString& folder) override {
    checkCall(calls_, "folderBrowser.setStartFolder");
    log_->startFolder = folder;
  }
  void show() override {
    checkCall(calls_, "folderBrowser.show");
    ++log_->shows;
    if (log_->onShow) log_->onShow();
  }
  QString path() const override {
    checkCall(calls_, "folderBrowser.path");
    return answer_;
  }

 private:
  QString answer_;
  std::shared_ptr<Log> log_;
  std::shared_ptr<CallLog> calls_;
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
  std::shared_ptr<CallLog> log;

  void setOfferSetupLinks(bool v) override {
    checkCall(log, "links.setOfferSetupLinks");
    calls << QStringLiteral("setOfferSetupLinks(%1)").arg(int(v));
    ZANLinks::setOfferSetupLinks(v);
  }
  void SetSetupData(SetupData*& rd) override {
    checkCall(log, "links.SetSetupData");
    calls << QStringLiteral("SetSetupData");
    ZANLinks::SetSetupData(rd);
    if (replacement) rd = replacement;
  }
  void setInitializing(bool v) override {
    checkCall(log, "links.setInitializing");
    calls << QStringLiteral("setInitializing(%1)").arg(int(v));
    ZANLinks::setInitializing(v);
  }
  void setModified(bool v) override {
    checkCall(log, "links.setModified");
    calls << QStringLiteral("setModified(%1)").arg(int(v));
    ZANLinks::setModified(v);
  }
  void Redraw() override {
    checkCall(log, "links.Redraw");
    calls << QStringLiteral("Redraw");
    ZANLinks::Redraw();
  }
  void ClearLinks() override {
    checkCall(log, "links.ClearLinks");
    calls << QStringLiteral("ClearLinks");
    ZANLinks::ClearLinks();
  }
  void AddLink(const QString& n, std::int32_t t, const QString& text, const QString& c) override {
    checkCall(log, "links.AddLink");
    calls << QStringLiteral("AddLink(%1,%2,%3,%4)").arg(n).arg(t).arg(text, c);
    ZANLinks::AddLink(n, t, text, c);
  }
  DocInfoField Link(std::int16_t index) const override {
    checkCall(log, "links.Link");
    const_cast<RecordingLinks*>(this)->calls << QStringLiteral("Link(%1)").arg(index);
    if (index == failLinkRow)
      raiseError(381, QStringLiteral("ZANLinks"), QStringLiteral("Subscript out of range"));
    return ZANLinks::Link(index);
  }
};

// A hub in memory: answers with fixed lists and statuses and counts the calls.
class MemoryHub final : public HeraldHub {
 public:
  std::int32_t openStatus = kHubOk, dictionariesStatus = kHubOk, workflowsStatus = kHubOk,
               closeStatus = kHubOk;
  QString dictionaries, workflows;
  QStringList calls;  // "OpenHub:<path>", "GetDictionaries", "GetWorkflows", "CloseHub"
  QStringList openPaths;

  void OpenHub(const QString& path, std::int32_t& status) override {
    calls << QStringLiteral("OpenHub:") + path;
    openPaths << path;
    status = openStatus;
  }
  void GetDictionaries(QString& list, std::int32_t& status) override {
    calls << QStringLiteral("GetDictionaries");
    list = dictionaries;
    status = dictionariesStatus;
  }
  void GetWorkflows(QString& list, std::int32_t& status) override {
    calls << QStringLiteral("GetWorkflows");
    list = workflows;
    status = workflowsStatus;
  }
  void CloseHub(std::int32_t& status) override {
    calls << QStringLiteral("CloseHub");
    status = closeStatus;
  }
};

// A hub in memory that records its calls in a CallLog. A failing call throws, or answers
// status 7 (CallLog::hubStatusFailures); CallLog::hubOpen tells whether it was left open.
class LoggedHub final : public HeraldHub {
 public:
  explicit LoggedHub(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}
  QString dictionaries = QStringLiteral("English.dic|Legal.dic|");
  QString workflows = QStringLiteral("Archive Scans.wfl|PDF Image Only.wfl|");
  void OpenHub(const QString&, std::int32_t& status) override {
    status = answer("hub.OpenHub");
    if (log_) log_->hubOpen = status == kHubOk;
  }
  void GetDictionaries(QString& list, std::int32_t& status) override {
    status = answer("hub.GetDictionaries");
    list = status == kHubOk ? dictionaries : QString();
  }
  void GetWorkflows(QString& list, std::int32_t& status) override {
    status = answer("hub.GetWorkflows");
    list = status == kHubOk ? workflows : QString();
  }
  void CloseHub(std::int32_t& status) override {
    if (log_) log_->hubOpen = false;
    status = answer("hub.CloseHub");
  }

 private:
  std::int32_t answer(const char* call) {
    if (!log_ || !log_->fails(QString::fromLatin1(call))) return kHubOk;
    if (log_->hubStatusFailures) return kHubFailure;
    raiseError(kInjectedFailure, QString::fromLatin1(call), QStringLiteral("Injected failure"));
  }
  std::shared_ptr<CallLog> log_;
};

// The settings object with every call recorded in a CallLog.
class LoggedSettings final : public PdfSettings {
 public:
  explicit LoggedSettings(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

  // Each setting under its accessor's name: "settings.EmbedFonts", "settings.setEmbedFonts".
  QVariant value(Setting setting) const override {
    checkCall(log_, QStringLiteral("settings.") + settingRow(setting).keyText());
    return PdfSettings::value(setting);
  }
  void setValue(Setting setting, const QVariant& value) override {
    checkCall(log_, QStringLiteral("settings.set") + settingRow(setting).keyText());
    PdfSettings::setValue(setting, value);
  }
  DocInfoField& field(DocField which) override {
    checkCall(log_, QStringLiteral("settings.") + docFieldName(which));
    return PdfSettings::field(which);
  }

  std::optional<HubOffer> hubOffer() const override {
    checkCall(log_, "settings.hubOffer");
    return PdfSettings::hubOffer();
  }
  void setHubOffer(const std::optional<HubOffer>& offer) override {
    checkCall(log_, "settings.setHubOffer");
    PdfSettings::setHubOffer(offer);
  }
  void Load(SetupPart& one, SetupPart& two, const QVariant& item) override {
    checkCall(log_, "settings.Load");
    PdfSettings::Load(one, two, item);
  }
  void Save(SetupPart& one, SetupPart& two) override {
    checkCall(log_, "settings.Save");
    PdfSettings::Save(one, two);
  }
  void RestoreDefaults() override {
    checkCall(log_, "settings.RestoreDefaults");
    PdfSettings::RestoreDefaults();
  }
  QVariant CheckSettings() override {
    checkCall(log_, "settings.CheckSettings");
    return PdfSettings::CheckSettings();
  }

 private:
  std::shared_ptr<CallLog> log_;
};

// The US English texts, every lookup recorded in a CallLog.
class LoggedStringTable final : public StringTable {
 public:
  explicit LoggedStringTable(std::shared_ptr<CallLog> log)
      : StringTable({}, StringTable::usEnglish()), log_(std::move(log)) {}
  QString text(int id) const override {
    checkCall(log_, "strings.text");
    return StringTable::text(id);
  }

 private:
  std::shared_ptr<CallLog> log_;
};

// A property bag of the setup data with every call recorded in a CallLog.
class LoggedSetupPart final : public SetupPart {
 public:
  LoggedSetupPart(MemorySetupPart& part, std::shared_ptr<CallLog> log)
      : part_(part), log_(std::move(log)) {}
  bool contains(const QString& key) const override {
    checkCall(log_, "setupPart.contains");
    return part_.contains(key);
  }
  QVariant value(const QString& key) const override {
    checkCall(log_, "setupPart.value");
    return part_.value(key);
  }
  void setValue(const QString& key, const QVariant& value) override {
    checkCall(log_, "setupPart.setValue");
    part_.setValue(key, value);
  }
  void removeValue(const QString& key) override {
    checkCall(log_, "setupPart.removeValue");
    part_.removeValue(key);
  }
  QStringList keys() const override {
    checkCall(log_, "setupPart.keys");
    return part_.keys();
  }

 private:
  MemorySetupPart& part_;
  std::shared_ptr<CallLog> log_;
};

// Setup data kept in `data`, every call recorded in a CallLog.
class LoggedSetupData final : public SetupData {
 public:
  LoggedSetupData(MemorySetupData& data, std::shared_ptr<CallLog> log)
      : data_(data), log_(log), one_(data.partOne(), log), two_(data.partTwo(), log) {}
  SetupPart& SetupPartOne() override {
    checkCall(log_, "setup.SetupPartOne");
    return one_;
  }
  SetupPart& SetupPartTwo() override {
    checkCall(log_, "setup.SetupPartTwo");
    return two_;
  }
  QStringList indexFields() const override {
    checkCall(log_, "setup.indexFields");
    return data_.indexFields();
  }
  QStringList batchFields() const override {
    checkCall(log_, "setup.batchFields");
    return data_.batchFields();
  }

 private:
  MemorySetupData& data_;
  std::shared_ptr<CallLog> log_;
  LoggedSetupPart one_, two_;
};

// The real file layer with every step recorded in a CallLog; a failing step answers `reason`.
class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(std::shared_ptr<CallLog> log,
                            QString reason = QStringLiteral("Injected failure"))
      : log_(std::move(log)), reason_(std::move(reason)) {}
  bool status(const QString& path, FileStatus& st, QString& error) override {
    return pass("file.status", error) && real_->status(path, st, error);
  }
  bool resolveLinks(const QString& path, QString& target, QString& error) override {
    return pass("file.resolveLinks", error) && real_->resolveLinks(path, target, error);
  }
  bool createTemporary(const QString& target, unsigned mode, QString& temporary, int& handle,
                       QString& error) override {
    return pass("file.createTemporary", error) &&
           real_->createTemporary(target, mode, temporary, handle, error);
  }
  bool write(int handle, const QByteArray& bytes, QString& error) override {
    return pass("file.write", error) && real_->write(handle, bytes, error);
  }
  bool setOwner(int handle, unsigned owner, unsigned group, QString& error) override {
    return pass("file.setOwner", error) && real_->setOwner(handle, owner, group, error);
  }
  bool setMode(int handle, unsigned mode, QString& error) override {
    return pass("file.setMode", error) && real_->setMode(handle, mode, error);
  }
  bool sync(int handle, QString& error) override {
    return pass("file.sync", error) && real_->sync(handle, error);
  }
  bool close(int handle, QString& error) override {
    // The handle is released whether or not the close is to fail.
    const bool passed = pass("file.close", error);
    QString ignored;
    return real_->close(handle, passed ? error : ignored) && passed;
  }
  bool rename(const QString& from, const QString& to, QString& error) override {
    return pass("file.rename", error) && real_->rename(from, to, error);
  }
  void remove(const QString& path) override { real_->remove(path); }
  void syncFolder(const QString& folder) override { real_->syncFolder(folder); }

 private:
  bool pass(const char* call, QString& error) {
    if (!log_ || !log_->fails(QString::fromLatin1(call))) return true;
    error = reason_;
    return false;
  }
  std::shared_ptr<CallLog> log_;
  QString reason_;
  std::shared_ptr<FileSystem> real_ = FileSystem::posix();
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

  HeraldHub* hub = nullptr;         // the latest hub the panel created
  PdfSettings* settings = nullptr;  // the latest settings object the panel created
  RecordingLinks* links = nullptr;  // the latest links control the panel created

  // Set before environment(): every outside call goes through logged doubles (a LoggedHub,
  // LoggedSettings, the US English texts as a LoggedStringTable) and is recorded here.
  std::shared_ptr<CallLog> log;

  PanelEnvironment environment() {
    if (log) {
      platform->log = log;
      aboutBox.log = log;
      hubFactory = [this]() -> std::unique_ptr<HeraldHub> {
        return std::make_unique<LoggedHub>(log);
      };
      settingsFactory = [this]() -> std::unique_ptr<PdfSettings> {
        return std::make_unique<LoggedSettings>(log);
      };
    }
    PanelEnvironment env;
    env.platform = platform;
    env.strings = log ? std::make_shared<LoggedStringTable>(log) : StringTable::usEnglish();
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
      return std::make_unique<ScriptedFolderBrowser>(browseAnswer, browseLog, log);
    };
    env.makeLinks = [this](QWidget* parent) -> ZANLinks* {
      links = new RecordingLinks(parent);
      links->log = log;
      return links;
    };
    env.aboutBox = [this]() -> AboutBoxService& { return aboutBox; };
    return env;
  }
};

}  // namespace zan::testing
