#pragma once
// The class factories of the two panels and the late-bound surface of a panel. Internal to the
// component folder; hosts reach them through zan_component.h.

#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/zanpdfctl4.h>

namespace zan::component {

// A new factory for the class named by `clsidOrName` (class name, program id or class
// identifier), counted until released; nullptr for an unknown class.
ClassFactory* newClassFactory(const char* clsidOrName);

// The program id of a class of the library: "ZANPdfCtl4." and the class name.
QString progIdOf(const QString& className);

}  // namespace zan::component
