#include "Settings.h"

#include <sstream>

int ParseInt(const std::wstring& text) {
    std::wstringstream stream(text, std::ios::in | std::ios::out);
    int value = 0;
    stream >> value;
    return stream.fail() ? 0 : value;
}

bool ParseBool(const std::wstring& text) {
    std::wstringstream stream(text, std::ios::in | std::ios::out);
    bool value = false;
    stream >> value;
    return stream.fail() ? false : value;
}
