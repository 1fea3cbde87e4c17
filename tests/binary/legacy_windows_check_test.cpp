// The PE reader and the load check on patched copies of the product: each
// patch makes a copy that an old Windows would refuse, and the check must say so.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using pe_test::OptionalHeaderOffset;
using pe_test::ProductAllowlist;
using pe_test::ProductBytes;
using pe_test::ReplaceName;
using pe_test::Write16;

std::vector<std::string> ProblemsOf(const std::vector<std::uint8_t>& bytes)
{
    std::string error;
    auto image = pe::ReadPeImage(bytes, error);
    if (!image)
        return {"unreadable: " + error};
    return pe::FindLegacyLoadProblems(*image, ProductAllowlist());
}

bool Mentions(const std::vector<std::string>& problems, const std::string& text)
{
    for (const std::string& problem : problems) {
        if (problem.find(text) != std::string::npos)
            return true;
    }
    return false;
}

class PatchedProduct : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = ProductBytes();
        ASSERT_GT(bytes.size(), 0x400u) << "missing " << W2KSETUP_EXE;
        ASSERT_TRUE(ProblemsOf(bytes).empty()) << "the unpatched product must pass";
    }
    std::vector<std::uint8_t> bytes;
};

TEST_F(PatchedProduct, AnImportWindows95LacksFails)
{
    ASSERT_TRUE(ReplaceName(bytes, "GetVersionExA", "GetVersionExW"));
    auto problems = ProblemsOf(bytes);
    EXPECT_TRUE(Mentions(problems, "kernel32.dll!GetVersionExW")) << problems.size();
}

TEST_F(PatchedProduct, AStaticSetupApiImportFails)
{
    ASSERT_TRUE(ReplaceName(bytes, "ADVAPI32.dll", "SETUPAPI.dll"));
    EXPECT_TRUE(Mentions(ProblemsOf(bytes), "setupapi.dll, which must be loaded at run time"));
}

TEST_F(PatchedProduct, ADllOffTheAllowlistFails)
{
    ASSERT_TRUE(ReplaceName(bytes, "WINMM.DLL", "WINXX.DLL"));
    EXPECT_TRUE(Mentions(ProblemsOf(bytes), "winxx.dll, which is not on the allowlist"));
}

TEST_F(PatchedProduct, AConsoleSubsystemFails)
{
    Write16(bytes, OptionalHeaderOffset(bytes) + 68, 3);  // IMAGE_SUBSYSTEM_WINDOWS_CUI
    EXPECT_TRUE(Mentions(ProblemsOf(bytes), "subsystem is not the Windows GUI"));
}

TEST_F(PatchedProduct, ASubsystemVersionAbove40Fails)
{
    Write16(bytes, OptionalHeaderOffset(bytes) + 48, 5);
    EXPECT_TRUE(Mentions(ProblemsOf(bytes), "subsystem version 5.0 is above 4.0"));
    Write16(bytes, OptionalHeaderOffset(bytes) + 48, 4);
    Write16(bytes, OptionalHeaderOffset(bytes) + 50, 10);
    EXPECT_TRUE(Mentions(ProblemsOf(bytes), "subsystem version 4.10 is above 4.0"));
}

TEST_F(PatchedProduct, AnotherMachineFails)
{
    Write16(bytes, OptionalHeaderOffset(bytes) - 20, 0x8664);  // x86-64
    EXPECT_TRUE(Mentions(ProblemsOf(bytes), "machine is not i386"));
}

TEST(PeReader, RejectsWhatIsNotAPeImage)
{
    std::string error;
    EXPECT_FALSE(pe::ReadPeImage({}, error));
    EXPECT_FALSE(pe::ReadPeImage({'M', 'Z'}, error));
    std::vector<std::uint8_t> noSignature(0x100, 0);
    noSignature[0] = 'M';
    noSignature[1] = 'Z';
    noSignature[0x3C] = 0x80;
    EXPECT_FALSE(pe::ReadPeImage(noSignature, error));
    EXPECT_EQ(error, "no PE signature");
}

// Every cut of the product's file must be refused or read without reading
// past the end; a cut inside the import names must not pass as complete.
TEST(PeReader, TruncatedCopiesAreNeverReadPastTheirEnd)
{
    std::vector<std::uint8_t> bytes = ProductBytes();
    ASSERT_GT(bytes.size(), 0x400u);
    std::string error;
    auto whole = pe::ReadPeImage(bytes, error);
    ASSERT_TRUE(whole) << error;
    for (std::size_t size = 0; size < bytes.size(); size += 509) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + size);
        auto image = pe::ReadPeImage(cut, error);
        if (image) {
            EXPECT_LE(image->imports.size(), whole->imports.size());
        }
    }
}

}  // namespace
