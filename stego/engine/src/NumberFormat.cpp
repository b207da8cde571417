#include "engine/NumberFormat.h"

namespace stego {

std::string formatGrouped(std::int64_t value, const std::string& separator) {
    // Unsigned, so that the most negative value has a magnitude too.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    std::string grouped;
    const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    grouped.append(digits, 0, lead);
    for (std::size_t at = lead; at < digits.size(); at += 3) {
        grouped += separator;
        grouped.append(digits, at, 3);
    }
    return value < 0 ? "-" + grouped : grouped;
}

}  // namespace stego
