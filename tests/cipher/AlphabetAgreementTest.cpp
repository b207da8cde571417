// The engine names a refused character before the cipher sees it, from its own
// copy of the alphabet (it may not include the cipher): the two must agree.
#include <gtest/gtest.h>

#include "cipher/Alphabet.h"
#include "engine/MessageAlphabet.h"

TEST(AlphabetAgreement, EngineCheckAcceptsExactlyTheCipherAlphabet) {
    EXPECT_EQ(stego::kMessageAlphabet, corvid::kTextAlphabet);
    for (int code = 0; code < 256; ++code) {
        const char ch = static_cast<char>(code);
        const bool engineAccepts = !stego::firstCharacterOutsideAlphabet(std::string_view(&ch, 1)).has_value();
        const bool cipherAccepts = corvid::kTextAlphabetIndex[static_cast<unsigned char>(ch)] >= 0;
        EXPECT_EQ(engineAccepts, cipherAccepts) << "character code " << code;
    }
}
