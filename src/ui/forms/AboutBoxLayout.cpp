#include "ui/forms/AboutBoxLayout.h"

#include <string>

#include "app/AppWindow.h"
#include "ui/forms/MakerAddresses.h"
#include "ui/toolkit/controls/TColor.h"

namespace zozuz {

namespace {

using namespace std::string_literals;

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000;

const Font kWindowFont{"宋体", 13, Font::Charset::GB2312, kBlack, false};
const Font kLargeBlue{"宋体", 16, Font::Charset::GB2312, kBlue, false};
const Font kSmallBlue{"宋体", 13, Font::Charset::GB2312, kBlue, false};
const Font kButtonFont{"宋体", 16, Font::Charset::GB2312, kBlack, false};

// A label on the panel: it sizes itself to its text in its font.
StoredComponent label(const char* name, int left, int top, const Font& font, std::string caption,
                      std::vector<StoredValue> more = {}) {
    std::vector<StoredValue> values = {{"Left", left}, {"Top", top}, {"Font", font}, {"Caption", std::move(caption)}};
    values.insert(values.end(), more.begin(), more.end());
    return {"TLabel", name, "Panel1", std::move(values)};
}

}  // namespace

const StoredLayout& aboutBoxLayout() {
    static const StoredLayout layout = {
        {"TForm", "AboutBox", "",
         {{"Caption", "关于zozuz"s},
          {"BorderStyle", "bsDialog"s},
          {"ClientWidth", 298},
          {"ClientHeight", 209},
          {"Color", static_cast<int>(clBtnFace)},
          {"Font", kWindowFont},
          {"Position", "poScreenCenter"s}}},
        {"TPanel", "Panel1", "",
         {{"Left", 8},
          {"Top", 8},
          {"Width", 281},
          {"Height", 161},
          {"BevelOuter", "bvLowered"s},
          {"BevelInner", "bvNone"s},
          {"BevelWidth", 1},
          {"TabOrder", 0}}},
        {"TImage", "ProgramIcon", "Panel1",
         {{"Left", 8}, {"Top", 8}, {"Width", 64}, {"Height", 64}, {"Picture", "about-64"s}}},
        label("ProductName", 96, 8, kLargeBlue, "青禾zozuz"),
        label("Version", 96, 32, kLargeBlue, "Version1.0"),
        label("Copyright", 16, 80, kSmallBlue, "Copyright (C) 2026 青禾"),
        // The makers' line keeps to its width and grows downwards.
        label("Comments", 16, 104, kSmallBlue, "青禾 zozuz 开发组", {{"Width", 185}, {"Height", 13}, {"WordWrap", true}}),
        label("Label1", 16, 120, kSmallBlue, "主页：   " + std::string(kHomePageAddress),
              {{"Cursor", "crHandPoint"s}, {"OnClick", "Label1Click"s}}),
        label("Label2", 16, 136, kSmallBlue, "email： " + std::string(kMailAddress),
              {{"Cursor", "crHandPoint"s}, {"OnClick", "Label2Click"s}}),
        {"TButton", "OKButton", "",
         {{"Left", 118},
          {"Top", 178},
          {"Width", 65},
          {"Height", 26},
          {"Caption", "确定"s},
          {"Default", true},
          {"ModalResult", mrOk},
          {"Font", kButtonFont},
          {"TabOrder", 1}}},
    };
    return layout;
}

}  // namespace zozuz
