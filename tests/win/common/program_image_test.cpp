// What each shipped program costs the moment it starts: the DLLs the loader binds before the
// first line runs, and no debug sections (the loader would read them into every process).
// Libraries needed only for a user's request are delay-loaded and must stay so.
#include <windows.h>

#include "common/ProgramPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// A program file's headers, read from its bytes; empty sections when the file is unreadable.
struct ProgramImage {
    std::vector<char> bytes;
    std::vector<IMAGE_SECTION_HEADER> sections;
    const IMAGE_NT_HEADERS* nt = nullptr;

    explicit ProgramImage(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return;
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
        if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
            static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS) > bytes.size())
            return;
        nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes.data() + dos->e_lfanew);
        if (nt->Signature != IMAGE_NT_SIGNATURE) {
            nt = nullptr;
            return;
        }
        const char* first = reinterpret_cast<const char*>(IMAGE_FIRST_SECTION(nt));
        const size_t count = nt->FileHeader.NumberOfSections;
        if (first + count * sizeof(IMAGE_SECTION_HEADER) > bytes.data() + bytes.size()) return;
        sections.resize(count);
        memcpy(sections.data(), first, count * sizeof(IMAGE_SECTION_HEADER));
    }

    // The text at a file offset, or "" outside the file.
    std::string TextAt(size_t offset) const {
        if (offset >= bytes.size()) return {};
        return std::string(bytes.data() + offset, strnlen(bytes.data() + offset, bytes.size() - offset));
    }

    // File offset of a relative virtual address, or 0 when no section holds it.
    size_t OffsetOf(DWORD rva) const {
        for (const auto& s : sections)
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        return 0;
    }

    // A section's name; names longer than eight characters ("/4") live in the symbol string table.
    std::string SectionName(const IMAGE_SECTION_HEADER& s) const {
        std::string name(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8));
        if (name.size() < 2 || name[0] != '/') return name;
        const size_t strings = nt->FileHeader.PointerToSymbolTable + 18ull * nt->FileHeader.NumberOfSymbols;
        return TextAt(strings + strtoul(name.c_str() + 1, nullptr, 10));
    }

    // The DLLs bound at start-up, in lower case.
    std::set<std::string> StartupImports() const {
        std::set<std::string> dlls;
        const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        size_t at = OffsetOf(dir.VirtualAddress);
        if (!at) return dlls;
        for (; at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= bytes.size(); at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR d;
            memcpy(&d, bytes.data() + at, sizeof d);
            if (d.Name == 0) break;
            std::string name = TextAt(OffsetOf(d.Name));
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return tolower(c); });
            dlls.insert(name);
        }
        return dlls;
    }
};

TEST(ProgramImage, StartsWithTheCoreLibrariesOnlyAndCarriesNoDebugSections) {
    const std::set<std::string> core = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"};
    std::set<std::string> clock = core;
    clock.insert("comctl32.dll");  // the date tool tip is created with the clock window
    struct { const char* exe; std::set<std::string> imports; } programs[] = {
        {"zentaro.exe", clock},
        {"vitaro.exe", core},
        {"Break.exe", core},
    };
    for (const auto& p : programs) {
        SCOPED_TRACE(p.exe);
        const ProgramImage image(paths::ProgramDirectory() + "\\" + p.exe);
        ASSERT_NE(image.nt, nullptr);
        EXPECT_EQ(image.StartupImports(), p.imports);
        bool debugLink = false;
        for (const auto& s : image.sections) {
            const std::string name = image.SectionName(s);
            EXPECT_NE(name.rfind(".debug", 0), 0u) << name;
            debugLink |= name == ".gnu_debuglink";
        }
        EXPECT_TRUE(debugLink) << "the debug information is kept beside the program";
    }
}

}  // namespace
