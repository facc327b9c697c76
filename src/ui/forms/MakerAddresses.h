#pragma once

#include <string_view>

namespace zozuz {

// The maker's home page and mail address, opened by the main window's Visit home page and Contact
// author commands and by the About box's two links. The home page is handed over as a bare host
// name, as the About box shows it; the desktop's handler takes it as a web address.
inline constexpr std::string_view kHomePageAddress = "www.zozuz.example.com";
inline constexpr std::string_view kMailAddress = "author@zozuz.example.com";
inline constexpr std::string_view kMailtoAddress = "mailto:author@zozuz.example.com";

}  // namespace zozuz
