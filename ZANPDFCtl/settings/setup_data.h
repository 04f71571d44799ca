#pragma once
// The setup data (public: ZANPdfCtl4/setup_data.h) and what the library itself needs of it.

#include "settings/file_system.h"

#include <ZANPdfCtl4/setup_data.h>

#include <memory>

namespace zan {

// Reads the setup file `path`; save() writes through `fs`.
std::unique_ptr<SetupFile> loadSetupFile(const QString& path, std::shared_ptr<FileSystem> fs);
// The file layer `setup` saves through (FileSystem::posix() unless replaced).
void setFileSystem(SetupFile& setup, std::shared_ptr<FileSystem> fs);

// The setup data a host handed over; a missing object (nullptr) fails with error 91
// "Object variable or With block variable not set", as using a classic Nothing does.
SetupData& requireSetupData(SetupData* rd);

// A panel member that needs the stored settings, called before a successful Init, fails with
// number -1, source "QelPDFSetup." + `member` and "... call Init first.".
void requireInitDone(bool initDone, const char* member);

}  // namespace zan
