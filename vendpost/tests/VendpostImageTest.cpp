#include "PeImage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

using docshelf::testing::PeImage;

namespace {

const std::filesystem::path kWin32Dir = DOCSHELF_WIN32_DIR;

// What Vendpost may import: the calls its work is made of, and ExitProcess for its bare entry point.
const std::set<std::string> kAllowedImports = {
    "KERNEL32.dll:GetModuleFileNameA", "KERNEL32.dll:GetLocaleInfoA",  "KERNEL32.dll:lstrlenA",
    "KERNEL32.dll:lstrcpyA",           "KERNEL32.dll:lstrcpynA",       "KERNEL32.dll:lstrcmpiA",
    "KERNEL32.dll:OpenFile",           "KERNEL32.dll:GetStartupInfoA", "KERNEL32.dll:CreateProcessA",
    "KERNEL32.dll:CloseHandle",        "KERNEL32.dll:ExitProcess",     "ADVAPI32.dll:RegOpenKeyA",
    "ADVAPI32.dll:RegQueryValueExA",   "ADVAPI32.dll:RegCloseKey",     "USER32.dll:wsprintfA",
};

std::string Join(const std::set<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += name + " ";
    return joined;
}

class VendpostImageTest : public testing::TestWithParam<std::string> {};

TEST_P(VendpostImageTest, IsASmallStrippedWindowsProgramWithoutARuntime)
{
    PeImage image(kWin32Dir / GetParam());
    ASSERT_GT(image.size(), 0u) << GetParam();
    EXPECT_LT(image.size(), 16u * 1024u) << GetParam();
    EXPECT_EQ(image.headerField("Magic"), "010b\t(PE32)") << GetParam();
    EXPECT_EQ(image.headerField("Subsystem"), "00000002\t(Windows GUI)") << GetParam();
    EXPECT_TRUE(image.headersMention("symbols stripped")) << GetParam();

    std::set<std::string> imports = image.imports();
    EXPECT_TRUE(imports.count("KERNEL32.dll:CreateProcessA")) << Join(imports);
    std::set<std::string> unexpected;
    for (const std::string& name : imports) {
        if (!kAllowedImports.count(name))
            unexpected.insert(name);
    }
    EXPECT_TRUE(unexpected.empty()) << GetParam() << " imports " << Join(unexpected);
}

TEST_P(VendpostImageTest, CarriesItsManifestAndNoVersionResource)
{
    std::ifstream in(VENDPOST_MANIFEST, std::ios::binary);
    std::ostringstream manifest;
    manifest << in.rdbuf();
    ASSERT_FALSE(manifest.str().empty());
    PeImage image(kWin32Dir / GetParam());
    EXPECT_TRUE(image.contains(manifest.str())) << GetParam();
    EXPECT_FALSE(image.contains(PeImage::Utf16("VS_VERSION_INFO"))) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Copies, VendpostImageTest,
                         testing::Values("Vendpost.exe", "vps_QX-500.exe", "vps_QX-750 Duo.exe", "vps_RT-20.exe"),
                         [](const testing::TestParamInfo<std::string>& testCase) {
                             std::string name = testCase.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(VendpostManifestTest, NamesTheProgramAndAsksForNoElevation)
{
    std::ifstream in(VENDPOST_MANIFEST, std::ios::binary);
    std::ostringstream manifest;
    manifest << in.rdbuf();
    const std::string text = manifest.str();
    for (const char* part :
         {"<assemblyIdentity version=\"1.0.0.0\" processorArchitecture=\"X86\" "
          "name=\"Vendpost\" type=\"win32\"/>",
          "<description></description>", "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

// The 64-bit twin that the Wine tests run where no 32-bit program runs: the
// same program for x86-64, so it makes the same calls.
TEST(VendpostTwinTest, IsA64BitProgramImportingTheSameFunctions)
{
    PeImage deliverable(kWin32Dir / "Vendpost.exe");
    PeImage twin(std::filesystem::path(DOCSHELF_WIN64_DIR) / "Vendpost.exe", DOCSHELF_OBJDUMP64);
    EXPECT_EQ(twin.headerField("Magic"), "020b\t(PE32+)");
    ASSERT_FALSE(deliverable.imports().empty());
    EXPECT_EQ(twin.imports(), deliverable.imports());
}

}
