// The one place where text crosses between UTF-8 or UTF-16 (files, libraries, the console)
// and the wide strings that every name, path and message of the engine is held in.
#pragma once

#include <string>

// Encodes a wide string as UTF-8. Unpaired surrogates and values beyond U+10FFFF become U+FFFD.
std::string ToUtf8(const std::wstring& text);

// Decodes UTF-8 into a wide string. Malformed sequences become U+FFFD, one per bad byte.
std::wstring FromUtf8(const std::string& text);

// Decodes zero-terminated UTF-16 (as XML libraries hold text) into a wide string. Unpaired
// surrogates become U+FFFD; null gives the empty string.
std::wstring FromUtf16(const char16_t* text);
