#pragma once
// The members and events both panels must offer a late-bound host, written out from the
// controls' published interface (independently of the library's own description).

#include "common/automation/type_library.h"

#include <QString>

#include <vector>

namespace zan::testing {

struct ExpectedParam {
  const char* name;
  automation::VarType type;
  bool inOut;
};

struct ExpectedMember {
  const char* name;
  automation::InvokeFlag kind;
  automation::DispId id;
  std::vector<ExpectedParam> params;
  automation::VarType result;
  const char* help;
};

inline const char* const kHelpEnabled = "Sets/gets the enabled state of the control.";

inline std::vector<ExpectedMember> expectedMembers(bool acrobatCapture) {
  using automation::Method;
  using automation::PropertyGet;
  using automation::PropertyPut;
  using T = automation::VarType;
  const bool ac = acrobatCapture;
  std::vector<ExpectedMember> m = {
      {"Enabled",
       PropertyPut,
       ac ? 0x68030008 : 0x68030001,
       {{"bEnabled", T::Boolean, false}},
       T::Empty,
       kHelpEnabled},
      {"Enabled", PropertyGet, ac ? 0x68030008 : 0x68030001, {}, T::Boolean, kHelpEnabled},
      {"Init",
       Method,
       ac ? 0x60030029 : 0x60030017,
       {{"rd", T::Object, true}},
       T::Empty,
       "Fills the control's user interface with current settings from the SetupData object."},
      {"Validate",
       Method,
       ac ? 0x6003002A : 0x60030018,
       {},
       T::Long,
       "Verify that the current PDF settings are legal."},
      {"ValidateError",
       PropertyGet,
       0x68030000,
       {},
       T::String,
       "Error message from the Validate() method."},
      {"SetValidateFocus",
       Method,
       ac ? 0x6003002B : 0x60030019,
       {},
       T::Empty,
       "Sets focus on specified control if a validation error occurs."},
      {"Apply",
       Method,
       ac ? 0x6003002C : 0x6003001A,
       {{"rd", T::Object, true}},
       T::Empty,
       "Save current PDF setting into the SetupData object."},
      {"RestoreDefaults",
       Method,
       ac ? 0x60030032 : 0x60030020,
       {},
       T::Empty,
       "Sets all PDF properties back to their default state."},
      {"ShowAboutBox", Method, -552, {}, T::Empty, "Displays the about box"},
  };
  if (!ac) return m;
  const auto property = [&m](const char* name, automation::DispId id, const char* param, T type,
                             const char* help) {
    m.push_back({name, PropertyPut, id, {{param, type, false}}, T::Empty, help});
    m.push_back({name, PropertyGet, id, {}, type, help});
  };
  property("WorkgroupHub", 0x68030007, "strPath", T::String,
           "Acrobat Capture workgroup hub that will be processing the images.");
  property("WatchedFolder", 0x68030006, "strPath", T::String,
           "Can be set to the Acrobat Capture watched folder. The user can also set this value.");
  property("PDFOutputFolder", 0x68030005, "strPath", T::String,
           "Specify where you want the PDF file to reside when the file has been created. ");
  property("PDFOutputMachine", 0x68030004, "strPath", T::String,
           "See Acrobat Capture documentaion for definition.");
  property("PDFWaitForStatus", 0x68030003, "blnChoice", T::Boolean,
           "Instruct ReleaseImages to poll Acrobat Capture for status. If false, all documents "
           "will be submitted to Acrobat Capture and will not wait for status messages.");
  property(
      "PDFDeleteHungDoc", 0x68030002, "blnChoice", T::Boolean,
      "Used to tell ReleaseImages to remove any Acrobat Capture job that has a status of hung.");
  property("PDFInputImageType", 0x68030001, "ZANFormat", T::Long,
           "Specify which image type you want Acrobat Capture 3.0 to convert.");
  m.push_back({"DisableElementDuringHubSearch",
               Method,
               0x60030055,
               {{"oUIElement", T::Variant, true}},
               T::Empty,
               ""});
  return m;
}

inline std::vector<ExpectedMember> expectedEvents() {
  using T = automation::VarType;
  return {
      {"Change",
       automation::Method,
       1,
       {},
       T::Empty,
       "Raised when the user changes a PDF setting."},
      {"Error",
       automation::Method,
       2,
       {{"ErrNum", T::Long, true},
        {"ErrMsg", T::String, true},
        {"SourceFile", T::String, true},
        {"LineNo", T::Integer, true},
        {"ReRaise", T::Boolean, true},
        {"Display", T::Boolean, true}},
       T::Empty,
       "Raised when a user action causes an error in the control."},
  };
}

}  // namespace zan::testing
