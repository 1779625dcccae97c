// The saver that ships (the stripped copy in the zip and the installer) names
// itself and its version the way Windows reads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Its path as Wine sees it (drive Z: is the Unix root), from CMake, as are
// the parts of the project's version.
const char* const shipped_scr = SHIPPED_SCR;

// Loaded for its resources only: nothing of it runs.
HMODULE load_shipped_scr()
{
    return LoadLibraryExA(shipped_scr, nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::string version_text(const std::vector<char>& info, const char* name)
{
    std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || value == nullptr)
        return "(missing)";
    return std::string(static_cast<const char*>(value));
}

TEST(ShippedScrIdentity, StringOneIsTheNameScreenSaverSettingsLists)
{
    HMODULE module = load_shipped_scr();
    ASSERT_NE(module, nullptr) << shipped_scr;
    char name[64] = {};
    EXPECT_EQ(LoadStringA(module, 1, name, sizeof name), 9);
    EXPECT_STREQ(name, "Vesperine");
    FreeLibrary(module);
}

TEST(ShippedScrIdentity, VersionResourceCarriesTheProjectVersion)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(shipped_scr, &ignored);
    ASSERT_GT(size, 0u) << shipped_scr;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(shipped_scr, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = (VERSION_MAJOR << 16) | VERSION_MINOR;
    const DWORD low = VERSION_PATCH << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);

    EXPECT_EQ(version_text(info, "FileVersion"), VERSION_TEXT);
    EXPECT_EQ(version_text(info, "ProductVersion"), VERSION_TEXT);
    EXPECT_EQ(version_text(info, "ProductName"), "Vesperine");
    EXPECT_EQ(version_text(info, "FileDescription"), "Vesperine");
    EXPECT_EQ(version_text(info, "OriginalFilename"), "Vesperine.scr");
    EXPECT_EQ(version_text(info, "CompanyName"), "Vesperine");
    EXPECT_EQ(version_text(info, "LegalCopyright"), "Copyright \xA9 2024-2025 Vesperine");
}

} // namespace
