// Insert Message and Extract Message: round trips, the capacity boundary, and
// every refusal leaving the picture, pass and cipher objects as they were.
#include <gtest/gtest.h>
#include <ostream>

#include <functional>
#include <new>
#include <stdexcept>

#include "CommandBench.h"
#include "engine/Failure.h"
#include "engine/MessageAlphabet.h"
#include "engine/PixelChannel.h"

namespace stego::test {
namespace {

struct RoundTripCase {
    const char* name;
    std::string hideKey;
    std::string extractKey;
    std::string message;
    bool sameText;
};

class MessageRoundTrip : public testing::TestWithParam<RoundTripCase> {};
void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

TEST_P(MessageRoundTrip, ExtractsWhatWasHidden) {
    const RoundTripCase& c = GetParam();
    CommandBench bench;
    bench.pass = "  Wren5 ";
    const Outcome hidden = InsertMessage(bench.picture, c.hideKey, c.message, bench.pass, bench.services);
    ASSERT_EQ(hidden.kind, OutcomeKind::Done) << hidden;
    EXPECT_EQ(bench.pass, "Wren5");

    const Outcome found = ExtractMessage(bench.picture, c.extractKey, bench.pass, bench.services);
    ASSERT_EQ(found.kind, OutcomeKind::TextExtracted) << found;
    if (c.sameText) {
        EXPECT_EQ(found.text, c.message);
    } else {
        EXPECT_NE(found.text, c.message);
        EXPECT_EQ(found.text.size(), c.message.size());
    }
    // One fresh cipher object per command, each gone when its command ended.
    EXPECT_EQ(bench.cipherLog.created, 2);
    EXPECT_EQ(bench.cipherLog.alive, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MessageRoundTrip,
    testing::Values(RoundTripCase{"DefaultKeyBothWays", "", "", "Meet me at noon, by the old mill.", true},
                    RoundTripCase{"GivenKeyWholeAlphabet", "271828182845904523", "271828182845904523",
                                  std::string(kMessageAlphabet), true},
                    RoundTripCase{"EmptyMessage", "", "", "", true},
                    RoundTripCase{"DefaultKeyIsTheSameAsTypingIt", "408127", "", "Same key, two spellings", true},
                    RoundTripCase{"WrongKeyGarblesWithoutError", "1234", "98", "Meet me at noon", false}),
    [](const testing::TestParamInfo<RoundTripCase>& testCase) { return std::string(testCase.param.name); });

TEST(InsertMessage, ANewMessageReplacesAnOlderLongerOne) {
    CommandBench bench;
    ASSERT_EQ(InsertMessage(bench.picture, "", std::string(500, 'x'), bench.pass, bench.services).kind,
              OutcomeKind::Done);
    ASSERT_EQ(InsertMessage(bench.picture, "", "short", bench.pass, bench.services).kind, OutcomeKind::Done);
    EXPECT_EQ(ExtractMessage(bench.picture, "", bench.pass, bench.services).text, "short");
}

TEST(InsertMessage, CapacityBoundary) {
    const std::string message(34, 'm');  // (34 + 16) x 3 = 150 pixels
    // The refusal counts characters, not pixels: 149 pixels hold 49 cells, 33 after the markers.
    const std::vector<std::tuple<std::int32_t, std::int32_t, std::string>> cases = {
        {150, 0, ""},
        {149, 1, "The message needs 34 characters of room; this picture holds 33."},
        {100, 50, "The message needs 34 characters of room; this picture holds 17."},
        {30, 120, "The message needs 34 characters of room; this picture is too small to hold any."},
    };
    for (const auto& [width, expected, refusal] : cases) {
        SCOPED_TRACE(width);
        CommandBench bench(width, 1);
        bench.pass = " Wren5";
        const Snapshot before(bench);
        const Outcome outcome = InsertMessage(bench.picture, "", message, bench.pass, bench.services);
        if (expected == 0) {
            EXPECT_EQ(outcome.kind, OutcomeKind::Done) << outcome;
            continue;
        }
        EXPECT_EQ(outcome.kind, OutcomeKind::CapacityShortfall);
        EXPECT_EQ(outcome.shortfall, expected);
        EXPECT_EQ(outcome.message, refusal);
        EXPECT_EQ(Snapshot(bench), before);
    }
}

struct RefusalCase {
    const char* name;
    std::string key;
    std::function<std::string()> message;
    std::function<void(FakeCipherLog&)> breakCipher;
    int number;
    std::vector<std::string> wordsInMessage;
};

class InsertMessageRefusal : public testing::TestWithParam<RefusalCase> {};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

TEST_P(InsertMessageRefusal, SaysWhyAndChangesNothing) {
    const RefusalCase& c = GetParam();
    CommandBench bench;
    bench.pass = " Wren5 ";
    if (c.breakCipher)
        c.breakCipher(bench.cipherLog);
    const Snapshot before(bench);

    const Outcome outcome = InsertMessage(bench.picture, c.key, c.message(), bench.pass, bench.services);
    EXPECT_EQ(outcome.kind, OutcomeKind::Error);
    EXPECT_EQ(outcome.number, c.number);
    for (const std::string& words : c.wordsInMessage)
        EXPECT_NE(outcome.message.find(words), std::string::npos) << "\"" << words << "\" not in: " << outcome.message;
    EXPECT_EQ(Snapshot(bench), before);
    EXPECT_EQ(bench.cipherLog.alive, 0);
}

const std::string kAllowed(kAllowedCharactersInWords);

INSTANTIATE_TEST_SUITE_P(
    Faults, InsertMessageRefusal,
    testing::Values(
        RefusalCase{"QuestionMark",
                    "",
                    [] { return std::string("Hello? Anyone?"); },
                    nullptr,
                    kInvalidArgument,
                    {"Character 6 ", "\"?\"", kAllowed}},
        RefusalCase{"LineBreak",
                    "",
                    [] { return std::string("two\nlines"); },
                    nullptr,
                    kInvalidArgument,
                    {"Character 4 ", "a line break", kAllowed}},
        RefusalCase{"BeyondAscii",
                    "",
                    [] { return std::string("caf\xe9"); },
                    nullptr,
                    kInvalidArgument,
                    {"Character 4 ", "code 233"}},
        RefusalCase{"TooLong", "", [] { return std::string(32768, 'a'); }, nullptr, kOverflow, {"32,768", "32,767"}},
        RefusalCase{"CiphertextHoldsTheEndMarker",
                    "77",
                    [] { return fakePlainTextFor("77", "abc" + std::string("Vyn2005E") + "xyz"); },
                    nullptr,
                    kInvalidArgument,
                    {"Vyn2005E", "another key"}},
        RefusalCase{"CipherCannotBeCreated",
                    "",
                    [] { return std::string("hi"); },
                    [](FakeCipherLog& log) { log.refuseCreation = true; },
                    kCipherUnavailable,
                    {"cipher"}},
        RefusalCase{"CipherOverflows",
                    "",
                    [] { return std::string("hi"); },
                    [](FakeCipherLog& log) { log.beforeEachCall = [] { throw Failure(kOverflow, "Overflow"); }; },
                    kOverflow,
                    {"Overflow"}},
        RefusalCase{"OutOfMemory",
                    "",
                    [] { return std::string("hi"); },
                    [](FakeCipherLog& log) { log.beforeEachCall = [] { throw std::bad_alloc(); }; },
                    kOutOfMemory,
                    {"memory"}},
        RefusalCase{"UnforeseenFailure",
                    "",
                    [] { return std::string("hi"); },
                    [](FakeCipherLog& log) { log.beforeEachCall = [] { throw std::logic_error("surprise"); }; },
                    kInternalError,
                    {"surprise"}}),
    [](const testing::TestParamInfo<RefusalCase>& testCase) { return std::string(testCase.param.name); });

TEST(InsertMessage, AScrambleKeyThatCannotBuildTablesChangesNothing) {
    CommandBench bench;
    bench.pass = std::string(200, '\xff');
    const Snapshot before(bench);
    const Outcome outcome = InsertMessage(bench.picture, "", "hi", bench.pass, bench.services);
    EXPECT_EQ(outcome.kind, OutcomeKind::Error);
    EXPECT_EQ(outcome.number, kOverflow);
    EXPECT_EQ(Snapshot(bench), before);
}

TEST(ExtractMessage, ReportsWhatThePictureHolds) {
    struct Case {
        const char* name;
        std::function<void(CommandBench&)> prepare;
        OutcomeKind kind;
        int number;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"nothing hidden", [](CommandBench&) {}, OutcomeKind::NoItem, 0, "This Image has no Message"},
        {"a start but no end",
         [](CommandBench& bench) {
             // A message too long for the picture's end, written by hand.
             platform::LcgGenerator generator;
             Scrambler scrambler(generator);
             scrambler.BuildScrambleTable("Wren5");
             EmbedFramedText(bench.picture, scrambler, "Vyn2005S" + std::string(3000, 'q'));
         },
         OutcomeKind::Incomplete, 0,
         "The picture holds the start of a hidden item but not its end; it may have been cut or changed."},
        {"a hidden file",
         [](CommandBench& bench) {
             bench.files.files["/work/photo.raw"] = std::string("\x00\x01\xfe\xff", 4) + "data";
             InsertFile(bench.picture, "", "/work/photo.raw", bench.pass, bench.services);
         },
         OutcomeKind::Error, kInvalidArgument,
         "This picture holds a hidden file, not a message. Use \"Extract Data\" to extract it."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandBench bench;
        c.prepare(bench);
        bench.pass = "Wren5 ";
        const Snapshot before(bench);
        const Outcome outcome = ExtractMessage(bench.picture, "", bench.pass, bench.services);
        EXPECT_EQ(outcome.kind, c.kind) << outcome;
        EXPECT_EQ(outcome.number, c.number);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.text, "");
        EXPECT_EQ(bench.picture.pixels(), before.pixels);
        // The trimmed scramble key is kept unless the command failed.
        EXPECT_EQ(bench.pass, c.kind == OutcomeKind::Error ? "Wren5 " : "Wren5");
        EXPECT_EQ(bench.cipherLog.alive, 0);
    }
}

}  // namespace
}  // namespace stego::test
