// The resources compiled into W2KSetup.exe: each dialog template in each
// language copy, the about item's string and the application icon.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "expected_resources.h"
#include "pe_image.h"
#include "resource_formats.h"
#include "test_support.h"

namespace {

std::vector<pe::Resource> ProductResources()
{
    std::string error;
    auto image = pe::ReadPeImage(pe_test::ProductBytes(), error);
    EXPECT_TRUE(image) << W2KSETUP_EXE << ": " << error;
    return image ? image->resources : std::vector<pe::Resource>();
}

const pe::Resource* Find(const std::vector<pe::Resource>& resources, std::uint32_t type,
                         std::uint32_t id, std::uint32_t language)
{
    for (const pe::Resource& resource : resources) {
        if (resource.type == type && resource.id == id && resource.language == language &&
            resource.typeName.empty() && resource.name.empty())
            return &resource;
    }
    return nullptr;
}

std::map<std::uint32_t, std::set<std::uint32_t>> LanguagesByName(
    const std::vector<pe::Resource>& resources, std::uint32_t type)
{
    std::map<std::uint32_t, std::set<std::uint32_t>> languages;
    for (const pe::Resource& resource : resources) {
        if (resource.type == type)
            languages[resource.id].insert(resource.language);
    }
    return languages;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

void ExpectTemplates(int templateId)
{
    std::vector<pe::Resource> resources = ProductResources();
    int checked = 0;
    for (const expected::Dialog& dialog : expected::AllDialogs()) {
        if (dialog.templateId != templateId)
            continue;
        ++checked;
        const pe::Resource* resource =
            Find(resources, pe::kResourceDialog, static_cast<std::uint32_t>(templateId),
                 dialog.language);
        if (!resource) {
            ADD_FAILURE() << "template " << templateId << " language " << dialog.language
                          << " is missing";
            continue;
        }
        std::string error;
        auto parsed = res::ParseDialogTemplate(resource->data, error);
        ASSERT_TRUE(parsed) << "template " << templateId << " language " << dialog.language
                            << ": " << error;
        std::vector<std::string> differences = expected::Compare(dialog, *parsed);
        EXPECT_TRUE(differences.empty()) << "template " << templateId << " language "
                                         << dialog.language << ":" << Joined(differences);
    }
    EXPECT_GT(checked, 0);
}

TEST(ProductResources, DialogTemplatesComeInExactlyTheirLanguages)
{
    std::map<std::uint32_t, std::set<std::uint32_t>> want;
    for (const expected::Dialog& dialog : expected::AllDialogs())
        want[static_cast<std::uint32_t>(dialog.templateId)].insert(dialog.language);
    EXPECT_EQ(LanguagesByName(ProductResources(), pe::kResourceDialog), want);
}

TEST(ProductResources, AboutBox)
{
    ExpectTemplates(100);
}

TEST(ProductResources, MainOptionsDialogInFiveLanguages)
{
    ExpectTemplates(102);
}

TEST(ProductResources, Windows2000OptionsDialog)
{
    ExpectTemplates(131);
}

TEST(ProductResources, RestartPromptInEnglishAndTraditionalChinese)
{
    ExpectTemplates(132);
}

// The about item is English whatever the language: one string, one copy.
TEST(ProductResources, AboutItemTextIsTheProgramsOnlyString)
{
    std::vector<pe::Resource> resources = ProductResources();
    const std::uint32_t block = 101 / 16 + 1;
    EXPECT_EQ(LanguagesByName(resources, pe::kResourceString),
              (std::map<std::uint32_t, std::set<std::uint32_t>>{{block, {expected::kEnglish}}}));
    const pe::Resource* strings = Find(resources, pe::kResourceString, block, expected::kEnglish);
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(res::StringFromBlock(strings->data, 101), "&About Setup...");
    for (std::uint32_t id = (block - 1) * 16; id < block * 16; ++id) {
        if (id != 101) {
            EXPECT_EQ(res::StringFromBlock(strings->data, id), "") << id;
        }
    }
}

TEST(ProductResources, IconIsOne32By32ImageInSixteenColours)
{
    std::vector<pe::Resource> resources = ProductResources();
    EXPECT_EQ(LanguagesByName(resources, pe::kResourceGroupIcon),
              (std::map<std::uint32_t, std::set<std::uint32_t>>{{128, {expected::kEnglish}}}));
    const pe::Resource* group = Find(resources, pe::kResourceGroupIcon, 128, expected::kEnglish);
    ASSERT_NE(group, nullptr);
    auto entries = res::ParseIconGroup(group->data);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    const res::IconGroupEntry& entry = (*entries)[0];
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);
    EXPECT_EQ(entry.colourCount, 16);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bitCount, 4);

    EXPECT_EQ(LanguagesByName(resources, pe::kResourceIcon).size(), 1u);
    const pe::Resource* image =
        Find(resources, pe::kResourceIcon, entry.iconId, expected::kEnglish);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->data.size(), entry.bytes);
    auto header = res::ParseIconImage(image->data);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->headerSize, 40u);
    EXPECT_EQ(header->width, 32);
    EXPECT_EQ(header->height, 64);  // colour bitmap and mask
    EXPECT_EQ(header->planes, 1);
    EXPECT_EQ(header->bitCount, 4);
    EXPECT_EQ(header->compression, 0u);
    // Header, 16 colours, 4-bit colour rows and 1-bit mask rows.
    EXPECT_EQ(image->data.size(), 40u + 16 * 4 + 32 * 16 + 32 * 4);
}

// The reader itself: a template cut anywhere before its end is refused,
// never read beyond.
TEST(DialogTemplateReader, RefusesEveryShortenedTemplate)
{
    std::vector<pe::Resource> resources = ProductResources();
    for (std::uint32_t id : {100u, 102u}) {
        const pe::Resource* resource = Find(resources, pe::kResourceDialog, id, expected::kEnglish);
        ASSERT_NE(resource, nullptr);
        std::string error;
        ASSERT_TRUE(res::ParseDialogTemplate(resource->data, error)) << error;
        // The last control's padding may be missing; its text may not.
        for (std::size_t length = 0; length + 2 < resource->data.size(); ++length) {
            std::vector<std::uint8_t> cut(resource->data.begin(),
                                          resource->data.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(res::ParseDialogTemplate(cut, error)) << id << " cut at " << length;
        }
    }
}

}  // namespace
