// Clears a string that holds a key or a plain text when the scope using it
// ends, whether it returns or throws.
#pragma once

#include <string>

#include "support/SecureClear.h"

namespace support {

/// Never guard a variable that the scope returns: it would be cleared on the way out.
class ClearedOnExit {
public:
    explicit ClearedOnExit(std::string& text) noexcept : m_text(text) {}
    ClearedOnExit(const ClearedOnExit&) = delete;
    ClearedOnExit& operator=(const ClearedOnExit&) = delete;
    ~ClearedOnExit() { secureClear(m_text); }

private:
    std::string& m_text;
};

}  // namespace support
