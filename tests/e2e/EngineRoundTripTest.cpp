// The engine's commands with every cipher object created by class identifier:
// a message and a file go into a picture and come back out.
#include <gtest/gtest.h>

#include "ComponentTestKit.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"
#include "platform/ComponentCipher.h"
#include "platform/PosixFileStore.h"

namespace component::test {
namespace {

class EngineThroughComponent : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(callEntry("DllRegisterServer"), S_OK) << takeDescription(); }
    void TearDown() override { EXPECT_EQ(canUnloadNow(), S_OK) << "every command released its object"; }

    IsolatedRegistry m_registry;
    stego::MemoryCarrier m_picture{40, 40, {200, 100, 50}};
    stego::platform::PosixFileStore m_files;
    stego::EngineServices m_services{stego::platform::sharedGenerator(), stego::platform::makeComponentCipherFactory(),
                                     m_files};
    std::string m_pass = "Wren5";
};

TEST_F(EngineThroughComponent, HidesAndExtractsAMessage) {
    const std::string message = "Meet me at noon, by the old mill.";
    const auto hidden = stego::InsertMessage(m_picture, "271828", message, m_pass, m_services);
    ASSERT_EQ(hidden.kind, stego::OutcomeKind::Done) << hidden.message;

    const auto found = stego::ExtractMessage(m_picture, "271828", m_pass, m_services);
    ASSERT_EQ(found.kind, stego::OutcomeKind::TextExtracted) << found.message;
    EXPECT_EQ(found.text, message);
}

TEST_F(EngineThroughComponent, HidesAndExtractsAFile) {
    const testsupport::TestFolder folder;
    const std::string original = testsupport::allByteValues(300);
    testsupport::writeFile(folder / "secret.bin", original);

    const auto hidden = stego::InsertFile(m_picture, "", folder / "secret.bin", m_pass, m_services);
    ASSERT_EQ(hidden.kind, stego::OutcomeKind::Done) << hidden.message;

    const auto extracted = stego::ExtractFile(m_picture, "", folder / "copy.bin", m_pass, m_services);
    ASSERT_EQ(extracted.kind, stego::OutcomeKind::Done) << extracted.message;
    EXPECT_EQ(testsupport::readFile(folder / "copy.bin"), original);
}

}  // namespace
}  // namespace component::test
