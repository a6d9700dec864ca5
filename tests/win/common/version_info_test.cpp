// Each program carries the suite's version data and an application manifest.
#include "resources/version.h"
#include "common/Handles.h"
#include "common/ProgramPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string VersionString(const std::string& file, const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return {};
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return std::string(value, strnlen(value, length));
}

TEST(VersionInfo, EveryProgramCarriesVersionDescriptionAndManifest) {
    struct { const char* exe; const char* description; } programs[] = {
        {"zentaro.exe", "Zentaro desktop clock"},
        {"vitaro.exe", "Vitaro biorhythm viewer"},
        {"Break.exe", "Zentaro timed break"},
    };
    for (const auto& p : programs) {
        SCOPED_TRACE(p.exe);
        const std::string path = paths::ProgramDirectory() + "\\" + p.exe;
        EXPECT_EQ(VersionString(path, "ProductVersion"), ZENTARO_VERSION_TEXT);
        EXPECT_EQ(VersionString(path, "FileVersion"), "2.01");
        EXPECT_EQ(VersionString(path, "FileDescription"), p.description);
        EXPECT_EQ(VersionString(path, "OriginalFilename"), p.exe);

        win::AutoModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        HRSRC manifest = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_NE(manifest, nullptr);
        const auto* text = static_cast<const char*>(LockResource(LoadResource(module.get(), manifest)));
        const std::string xml(text, SizeofResource(module.get(), manifest));
        EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
        EXPECT_NE(xml.find("supportedOS"), std::string::npos);
    }
}

}  // namespace
