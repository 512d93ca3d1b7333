#include "Zent_sysutils.h"

namespace zent {

std::string Format(std::string_view Pattern, std::initializer_list<std::string_view> Args) {
    std::string Result;
    Result.reserve(Pattern.size() + 32);
    auto Next = Args.begin();
    for (std::size_t i = 0; i < Pattern.size(); ++i) {
        if (Pattern[i] == '%' && i + 1 < Pattern.size()) {
            if (Pattern[i + 1] == 's') {
                if (Next != Args.end()) Result += *Next++;
                ++i;
                continue;
            }
            if (Pattern[i + 1] == '%') {
                Result += '%';
                ++i;
                continue;
            }
        }
        Result += Pattern[i];
    }
    return Result;
}

std::string ErrorReportText(const std::string& Message) {
    std::string Text = Message;
    // Byte comparison: '.' is 0x2E; every character sorting after it gets a dot.
    if (!Text.empty() && static_cast<unsigned char>(Text.back()) > static_cast<unsigned char>('.'))
        Text += '.';
    return Text;
}

}  // namespace zent
