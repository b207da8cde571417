#include "KeyArgument.h"

#include <algorithm>

namespace stego::cli {

bool isValidKey(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

}  // namespace stego::cli
