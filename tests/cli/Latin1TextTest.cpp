#include <gtest/gtest.h>

#include "ExpectFailure.h"
#include "Latin1Text.h"

using stego::cli::latin1ToUtf8;
using stego::cli::utf8ToLatin1;

namespace {

TEST(Latin1TextTest, EveryLatin1CharacterRoundTrips) {
    std::string latin1;
    for (int code = 1; code < 256; ++code)
        latin1.push_back(static_cast<char>(code));
    EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(latin1), "the text"), latin1);
    EXPECT_EQ(latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
}

TEST(Latin1TextTest, RefusalsSayWhereAndWhat) {
    const struct {
        const char* what;
        std::string utf8;
        std::string fragment;
    } cases[] = {
        {"euro sign", "ab\xE2\x82\xAC", "Character 3 of the text, \"\xE2\x82\xAC\" (U+20AC), is beyond ISO 8859-1"},
        {"emoji", "\xF0\x9F\x98\x80", "Character 1 of the text, \"\xF0\x9F\x98\x80\" (U+1F600)"},
        {"stray continuation byte", "a\x80", "Byte 2 of the text is not valid UTF-8"},
        {"cut sequence", "ab\xC3", "Byte 3 of the text is not valid UTF-8"},
        {"overlong slash", "\xC0\xAF", "Byte 1 of the text is not valid UTF-8"},
        {"overlong three bytes", "\xE0\x80\xAF", "Byte 1 of the text is not valid UTF-8"},
        {"surrogate", "\xED\xA0\x80", "Byte 1 of the text is not valid UTF-8"},
        {"latin-1 byte, not UTF-8", "caf\xE9", "Byte 4 of the text is not valid UTF-8"},
    };
    for (const auto& c : cases)
        testsupport::expectFailure(
            c.what, [&] { utf8ToLatin1(c.utf8, "the text"); }, 5, c.fragment);
}

}  // namespace
