#include "errors/MessageFormat.h"

std::string formatMessage(const char* format, std::initializer_list<const char*> arguments, std::size_t capacity) {
    std::string result;
    if (format == nullptr) return result;
    auto next = arguments.begin();
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next != arguments.end()) {
                if (*next != nullptr) result += *next;
                ++next;
            }
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            result.push_back('%');
            ++p;
        } else {
            result.push_back(*p);
        }
    }
    if (capacity == 0) return "";
    if (result.size() > capacity - 1) result.resize(capacity - 1);
    return result;
}
