// The resources of the two executables: the version record the file's properties show, and the
// icon, which must be the picture the program draws itself.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "app/ApplicationIcon.h"
#include "base/VersionRecord.h"
#include "platform/win32/IconHandle.h"

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
