// Whole numbers as people read them: digits in groups of three.
#pragma once

#include <cstdint>
#include <string>

namespace stego {

/// value with separator between groups of three digits ("##,###,##0" in an
/// English locale: 7, 2,500, 1,000,000); at least one digit, a minus sign first.
std::string formatGrouped(std::int64_t value, const std::string& separator);

}  // namespace stego
