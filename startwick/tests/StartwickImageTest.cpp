#include "PeImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

using docshelf::testing::PeImage;

namespace {

const std::filesystem::path kStartwick = std::filesystem::path(DOCSHELF_WIN32_DIR) / "Startwick.exe";

// What Startwick may import: the calls its work is made of, and ExitProcess for its bare entry point.
const std::set<std::string> kAllowedImports = {
    "KERNEL32.dll:GetModuleFileNameA",   "KERNEL32.dll:GetPrivateProfileStringA",
    "KERNEL32.dll:GetCurrentDirectoryA", "KERNEL32.dll:SetCurrentDirectoryA",
    "KERNEL32.dll:ExitProcess",          "USER32.dll:wsprintfA",
    "SHELL32.dll:ShellExecuteA",
};

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Dword(std::uint32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    return bytes;
}

TEST(StartwickImageTest, IsASmallStrippedWindowsProgramWithoutARuntime)
{
    PeImage image(kStartwick);
    ASSERT_GT(image.size(), 0u);
    EXPECT_LT(image.size(), 16u * 1024u);
    EXPECT_EQ(image.headerField("Magic"), "010b\t(PE32)");
    EXPECT_EQ(image.headerField("Subsystem"), "00000002\t(Windows GUI)");
    EXPECT_TRUE(image.headersMention("symbols stripped"));

    std::set<std::string> imports = image.imports();
    EXPECT_TRUE(imports.count("SHELL32.dll:ShellExecuteA"));
    for (const std::string& name : imports)
        EXPECT_TRUE(kAllowedImports.count(name)) << "unexpected import " << name;
}

TEST(StartwickImageTest, CarriesItsManifest)
{
    const std::string manifest = ReadFile(STARTWICK_MANIFEST);
    ASSERT_NE(manifest.find("name=\" Startwick.exe\""), std::string::npos);
    ASSERT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
    EXPECT_TRUE(PeImage(kStartwick).contains(manifest));
}

TEST(StartwickImageTest, CarriesItsVersionResource)
{
    PeImage image(kStartwick);
    // VS_FIXEDFILEINFO: signature, structure version, file and product version
    // 1.0.0.1, flags mask and flags, VOS_NT_WINDOWS32, VFT_APP.
    const std::string fixed = Dword(0xFEEF04BD) + Dword(0x00010000) + Dword(0x00010000) + Dword(0x00000001)
                              + Dword(0x00010000) + Dword(0x00000001) + Dword(0x3F) + Dword(0) + Dword(0x00040004)
                              + Dword(1);
    EXPECT_TRUE(image.contains(fixed));
    for (const char* text :
         {"040904b0", "FileDescription", "InternalName", "ProductName", "Startwick", "1, 0, 0, 1", "Translation"})
        EXPECT_TRUE(image.contains(PeImage::Utf16(text))) << text;
    // US English with the Unicode code page.
    EXPECT_TRUE(image.contains(PeImage::Utf16("Translation") + std::string(4, '\0') + "\x09\x04\xb0\x04"));
}

// The 64-bit twin that the Wine tests run where no 32-bit program runs: the
// same program for x86-64, so it makes the same calls.
TEST(StartwickTwinTest, IsA64BitProgramImportingTheSameFunctions)
{
    PeImage deliverable(kStartwick);
    PeImage twin(std::filesystem::path(DOCSHELF_WIN64_DIR) / "Startwick.exe", DOCSHELF_OBJDUMP64);
    EXPECT_EQ(twin.headerField("Magic"), "020b\t(PE32+)");
    ASSERT_FALSE(deliverable.imports().empty());
    EXPECT_EQ(twin.imports(), deliverable.imports());
}

}
