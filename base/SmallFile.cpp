#include "base/SmallFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

SmallFileProblem ReadSmallFile(const std::filesystem::path& file, std::uintmax_t maxBytes, std::string& text) {
    text.clear();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return SmallFileProblem::Missing;
    }
    if (error) {
        return SmallFileProblem::Unreadable;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return SmallFileProblem::NotRegular;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return SmallFileProblem::Unreadable;
    }
    if (size > maxBytes) {
        return SmallFileProblem::TooLarge;
    }
    std::ifstream stream(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (!stream.is_open() || (!stream.good() && !stream.eof())) {
        return SmallFileProblem::Unreadable;
    }
    text = std::move(bytes);
    return SmallFileProblem::None;
}
