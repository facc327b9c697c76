#include "base/MessageFormat.h"

#include <vector>

namespace zozuz {

std::string formatMessage(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out.push_back(c);
            continue;
        }
        const char conversion = format[i + 1];
        if (conversion == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        if ((conversion == 's' || conversion == 'd') && next != args.end()) {
            if (conversion == 's' && std::holds_alternative<std::string_view>(*next)) {
                out.append(std::get<std::string_view>(*next));
                ++next;
                ++i;
                continue;
            }
            if (conversion == 'd' && std::holds_alternative<std::int64_t>(*next)) {
                out.append(std::to_string(std::get<std::int64_t>(*next)));
                ++next;
                ++i;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace zozuz
