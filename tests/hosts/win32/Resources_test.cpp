// The resources of the two executables: the version record the file's properties show, the
// manifest the system starts them by, and the icon, which must be the picture the program draws
// itself.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "app/ApplicationIcon.h"
#include "base/VersionRecord.h"
#include "hosts/win32/IconHandle.h"

namespace zozuz {
namespace {

// The build gives Unix paths; Wine shows the Unix root as drive Z:.
std::wstring windowsPath(const std::string& unix) {
    std::wstring path = L"Z:";
    for (char c : unix) path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return path;
}

std::wstring wide(std::string_view utf8) {
    std::wstring result(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(),
                                           static_cast<int>(result.size()));
    result.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return result;
}

class VersionResource : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const std::wstring path = windowsPath(GetParam());
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << GetParam();
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data_.data()));
    }

    const void* value(const wchar_t* key, UINT* length) {
        void* result = nullptr;
        if (!VerQueryValueW(data_.data(), key, &result, length)) return nullptr;
        return result;
    }

    std::wstring string(const wchar_t* name) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\080403a8\\") + name;
        UINT length = 0;
        const auto* text = static_cast<const wchar_t*>(value(key.c_str(), &length));
        return text ? std::wstring(text) : L"<missing>";
    }

    std::vector<unsigned char> data_;
};

TEST_P(VersionResource, ReadsAsTheFilePropertiesShowIt) {
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value(L"\\", &length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);

    // Chinese (PRC) in code page 936.
    const auto* translation = static_cast<const WORD*>(value(L"\\VarFileInfo\\Translation", &length));
    ASSERT_NE(translation, nullptr);
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 936);

    // The same record as the one --version reports.
    EXPECT_EQ(string(L"CompanyName"), wide(VersionRecord::kCompanyName));
    EXPECT_EQ(string(L"FileVersion"), wide(VersionRecord::kFileVersion));
    EXPECT_EQ(string(L"ProductVersion"), wide(VersionRecord::kProductVersion));
    EXPECT_EQ(string(L"CompanyName"), L"青禾zozuz");
    for (const wchar_t* empty : {L"FileDescription", L"InternalName", L"LegalCopyright", L"OriginalFilename",
                                 L"ProductName", L"Comments"})
        EXPECT_EQ(string(empty), L"") << "field " << static_cast<const void*>(empty);
}

INSTANTIATE_TEST_SUITE_P(BothExecutables, VersionResource, ::testing::Values(ZOZUZ_EXE, ZOZUZ_CLI_EXE));

// The manifest (RT_MANIFEST 1, the one the system reads when it starts the process), as its text.
std::string manifestOf(const char* executable) {
    const std::wstring path = windowsPath(executable);
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
        if (HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

class ManifestResource : public ::testing::TestWithParam<const char*> {};

TEST_P(ManifestResource, AsksForTheCurrentControlsPerMonitorScalingAndTheSystemsCodePage) {
    const std::string manifest = manifestOf(GetParam());
    ASSERT_FALSE(manifest.empty()) << GetParam();
    for (const char* expected : {
             R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
             R"(processorArchitecture="*" publicKeyToken="6595b64144ccf1df")",
             R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>)",
             R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>)",
             R"(<application xmlns="urn:schemas-microsoft-com:asm.v3">)",
             R"(<compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">)",
             "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
             R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
         })
        EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
    // A UTF-8 code page would turn every ANSI call of the program away from code page 936.
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothExecutables, ManifestResource, ::testing::Values(ZOZUZ_EXE, ZOZUZ_CLI_EXE));

TEST(IconResource, IsTheProgramsOwnPictureAtThirtyTwoPixels) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    const Image shown = imageFromIcon(icon);
    DestroyIcon(icon);
    const Image drawn = applicationIcon(32);
    ASSERT_EQ(shown.width(), 32);
    ASSERT_EQ(shown.height(), 32);
    int different = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) different += shown.pixel(x, y) != drawn.pixel(x, y);
    EXPECT_EQ(different, 0);
}

TEST(IconResource, AnIconMadeFromAnImageShowsThatImage) {
    Image picture(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) picture.setPixel(x, y, x < 8 ? 0x123456 : 0xABCDEF);
    HICON icon = iconFromImage(picture);
    ASSERT_NE(icon, nullptr);
    const Image shown = imageFromIcon(icon);
    destroyIcon(icon);
    EXPECT_EQ(shown.pixel(0, 0), 0x123456u);
    EXPECT_EQ(shown.pixel(15, 15), 0xABCDEFu);
    EXPECT_EQ(iconFromImage(Image()), nullptr);
}

}  // namespace
}  // namespace zozuz
