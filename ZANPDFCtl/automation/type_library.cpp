#include "automation/type_library.h"

namespace zan::automation {

const char kEnabledMember[] = "Enabled";

namespace {

const ForeignType kSetupData{QStringLiteral("VelmarRelease"), QStringLiteral("VelRel.dll"),
                             QStringLiteral("SetupData")};
const ForeignType kInputImageType{QStringLiteral("ZanLib4"), QStringLiteral("ZanLib4.dll"),
                                  QStringLiteral("InputImageType")};

const QString kHelpEnabled = QStringLiteral("Sets/gets the enabled state of the control.");
const QString kHelpInit = QStringLiteral(
    "Fills the control's user interface with current settings from the SetupData object.");
const QString kHelpValidate = QStringLiteral("Verify that the current PDF settings are legal.");
const QString kHelpValidateError = QStringLiteral("Error message from the Validate() method.");
const QString kHelpSetValidateFocus =
    QStringLiteral("Sets focus on specified control if a validation error occurs.");
const QString kHelpApply = QStringLiteral("Save current PDF setting into the SetupData object.");
const QString kHelpRestoreDefaults =
    QStringLiteral("Sets all PDF properties back to their default state.");
const QString kHelpAboutBox = QStringLiteral("Displays the about box");

ParamDesc in(const QString& name, VarType type, const ForeignType& foreign = {}) {
  return ParamDesc{name, type, ParamDirection::In, foreign};
}
ParamDesc inOut(const QString& name, VarType type, const ForeignType& foreign = {}) {
  return ParamDesc{name, type, ParamDirection::InOut, foreign};
}

// A property put and get sharing one id and help string.
void addProperty(QVector<MemberDesc>& members, DispId id, const QString& name, ParamDesc value,
                 const QString& help) {
  const VarType type = value.type;
  members.append(MemberDesc{id, name, PropertyPut, {std::move(value)}, VarType::Empty, help});
  members.append(MemberDesc{id, name, PropertyGet, {}, type, help});
}

MemberDesc method(DispId id, const QString& name, QVector<ParamDesc> params, VarType result,
                  const QString& help) {
  return MemberDesc{id, name, Method, std::move(params), result, help};
}

struct PanelIds {
  DispId enabled, init, validate, setValidateFocus, apply, restoreDefaults;
};

// The members both panels share, in interface order, around the Acrobat Capture extras.
QVector<MemberDesc> panelMembers(const PanelIds& ids, bool acrobatCapture) {
  QVector<MemberDesc> m;
  addProperty(m, ids.enabled, QString::fromLatin1(kEnabledMember),
              in(QStringLiteral("bEnabled"), VarType::Boolean), kHelpEnabled);
  if (acrobatCapture) {
    addProperty(
        m, 0x68030007, QStringLiteral("WorkgroupHub"),
        in(QStringLiteral("strPath"), VarType::String),
        QStringLiteral("Acrobat Capture workgroup hub that will be processing the images."));
    addProperty(m, 0x68030006, QStringLiteral("WatchedFolder"),
                in(QStringLiteral("strPath"), VarType::String),
                QStringLiteral("Can be set to the Acrobat Capture watched folder. The user can "
                               "also set this value."));
    addProperty(m, 0x68030005, QStringLiteral("PDFOutputFolder"),
                in(QStringLiteral("strPath"), VarType::String),
                QStringLiteral("Specify where you want the PDF file to reside when the file has "
                               "been created. "));
    addProperty(m, 0x68030004, QStringLiteral("PDFOutputMachine"),
                in(QStringLiteral("strPath"), VarType::String),
                QStringLiteral("See Acrobat Capture documentaion for definition."));
    addProperty(m, 0x68030003, QStringLiteral("PDFWaitForStatus"),
                in(QStringLiteral("blnChoice"), VarType::Boolean),
                QStringLiteral("Instruct ReleaseImages to poll Acrobat Capture for status. If "
                               "false, all documents will be submitted to Acrobat Capture and "
                               "will not wait for status messages."));
    addProperty(m, 0x68030002, QStringLiteral("PDFDeleteHungDoc"),
                in(QStringLiteral("blnChoice"), VarType::Boolean),
                QStringLiteral("Used to tell ReleaseImages to remove any Acrobat Capture job "
                               "that has a status of hung."));
    addProperty(
        m, 0x68030001, QStringLiteral("PDFInputImageType"),
        in(QStringLiteral("ZANFormat"), VarType::Long, kInputImageType),
        QStringLiteral("Specify which image type you want Acrobat Capture 3.0 to convert."));
  }
  m.append(method(ids.init, QStringLiteral("Init"),
                  {inOut(QStringLiteral("rd"), VarType::Object, kSetupData)}, VarType::Empty,
                  kHelpInit));
  if (acrobatCapture) {
    m.append(method(0x60030055, QStringLiteral("DisableElementDuringHubSearch"),
                    {inOut(QStringLiteral("oUIElement"), VarType::Variant)}, VarType::Empty, {}));
  }
  m.append(method(ids.validate, QStringLiteral("Validate"), {}, VarType::Long, kHelpValidate));
  m.append(MemberDesc{0x68030000,
                      QStringLiteral("ValidateError"),
                      PropertyGet,
                      {},
                      VarType::String,
                      kHelpValidateError});
  m.append(method(ids.setValidateFocus, QStringLiteral("SetValidateFocus"), {}, VarType::Empty,
                  kHelpSetValidateFocus));
  m.append(method(ids.apply, QStringLiteral("Apply"),
                  {inOut(QStringLiteral("rd"), VarType::Object, kSetupData)}, VarType::Empty,
                  kHelpApply));
  m.append(method(ids.restoreDefaults, QStringLiteral("RestoreDefaults"), {}, VarType::Empty,
                  kHelpRestoreDefaults));
  m.append(
      method(kDispIdAboutBox, QStringLiteral("ShowAboutBox"), {}, VarType::Empty, kHelpAboutBox));
  return m;
}

QVector<MemberDesc> panelEvents() {
  return {
      method(1, QStringLiteral("Change"), {}, VarType::Empty,
             QStringLiteral("Raised when the user changes a PDF setting.")),
      method(2, QStringLiteral("Error"),
             {inOut(QStringLiteral("ErrNum"), VarType::Long),
              inOut(QStringLiteral("ErrMsg"), VarType::String),
              inOut(QStringLiteral("SourceFile"), VarType::String),
              inOut(QStringLiteral("LineNo"), VarType::Integer),
              inOut(QStringLiteral("ReRaise"), VarType::Boolean),
              inOut(QStringLiteral("Display"), VarType::Boolean)},
             VarType::Empty,
             QStringLiteral("Raised when a user action causes an error in the control.")),
  };
}

TypeDesc dispatchInterface(const QString& name, std::uint32_t flags, const QString& uuid,
                           QVector<MemberDesc> members) {
  TypeDesc t;
  t.name = name;
  t.kind = TypeKind::DispatchInterface;
  t.flags = flags;
  t.uuid = uuid;
  t.members = std::move(members);
  return t;
}

TypeDesc coClass(const QString& name, const QString& uuid, const QString& defaultInterface,
                 const QString& eventSource) {
  TypeDesc t;
  t.name = name;
  t.kind = TypeKind::CoClass;
  t.flags = CanCreate | Control;
  t.uuid = uuid;
  t.defaultInterface = defaultInterface;
  t.eventSource = eventSource;
  return t;
}

TypeLibraryDesc build() {
  TypeLibraryDesc lib;
  lib.name = QStringLiteral("ZANPdfCtl4");
  lib.uuid = QStringLiteral("{7B2CECD0-4CC5-4110-874F-188C33332194}");
  lib.majorVersion = 1;
  lib.minorVersion = 1;
  lib.lcid = 0x409;
  lib.helpString = QStringLiteral("Velmar 4.0 ZANPdf Control");
  const std::uint32_t dual = Hidden | Dual | Dispatchable;
  const std::uint32_t events = Hidden | Dispatchable;
  lib.types = {
      dispatchInterface(
          QStringLiteral("_ZANPdf"), dual, QStringLiteral("{43BA4AC5-92E4-4F16-A385-90F11FFF3A61}"),
          panelMembers({0x68030001, 0x60030017, 0x60030018, 0x60030019, 0x6003001A, 0x60030020},
                       false)),
      coClass(QStringLiteral("ZANPdf"), QStringLiteral("{23F3C677-42E2-432D-A213-139441553729}"),
              QStringLiteral("_ZANPdf"), QStringLiteral("__ZANPdf")),
      dispatchInterface(
          QStringLiteral("_ZANPdf3"), dual,
          QStringLiteral("{510C9635-68D0-478D-832B-58D5B5B070E3}"),
          panelMembers({0x68030008, 0x60030029, 0x6003002A, 0x6003002B, 0x6003002C, 0x60030032},
                       true)),
      coClass(QStringLiteral("ZANPdf3"), QStringLiteral("{021D4818-281A-4BF7-ACD3-B1F7F45960B9}"),
              QStringLiteral("_ZANPdf3"), QStringLiteral("__ZANPdf3")),
      dispatchInterface(QStringLiteral("__ZANPdf3"), events,
                        QStringLiteral("{A2DFB112-4824-43E9-9FF1-B848A241AA92}"), panelEvents()),
      dispatchInterface(QStringLiteral("__ZANPdf"), events,
                        QStringLiteral("{014C3BFC-20A4-4CE6-B3CD-0DDB242F55EE}"), panelEvents()),
  };
  return lib;
}

QString withoutBraces(QString id) {
  if (id.startsWith(QLatin1Char('{')) && id.endsWith(QLatin1Char('}')))
    id = id.mid(1, id.size() - 2);
  return id;
}

}  // namespace

const TypeDesc* TypeLibraryDesc::find(const QString& typeName) const {
  for (const TypeDesc& t : types)
    if (t.name == typeName) return &t;
  return nullptr;
}

const TypeDesc* TypeLibraryDesc::findClass(const QString& nameOrUuid) const {
  const QString bare = withoutBraces(nameOrUuid.trimmed());
  for (const TypeDesc& t : types) {
    if (t.kind != TypeKind::CoClass) continue;
    if (t.name.compare(nameOrUuid, Qt::CaseInsensitive) == 0 ||
        withoutBraces(t.uuid).compare(bare, Qt::CaseInsensitive) == 0)
      return &t;
  }
  return nullptr;
}

const TypeLibraryDesc& zanPdfCtl4Library() {
  static const TypeLibraryDesc library = build();
  return library;
}

}  // namespace zan::automation
