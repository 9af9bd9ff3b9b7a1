// The program's one kind of raised error: a wide-string message that ends the program
// through the entry's handler, which shows it in a message box and on standard error.
#pragma once

#include <exception>
#include <string>

#include "WideText.h"

class k_Failure : public std::exception {
public:
    explicit k_Failure(std::wstring message)
        : message(std::move(message)), utf8(ToUtf8(this->message)) {}

    const std::wstring& Message() const noexcept { return message; }
    const char* what() const noexcept override { return utf8.c_str(); }

private:
    std::wstring message;
    std::string utf8;
};
