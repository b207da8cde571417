// The test programs' thread joins a COM apartment before any test runs, as
// pixquill-cli.exe's does: Corvid and the picture decoders are COM objects.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

class ComApartment : public testing::Environment {
public:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const g_apartment = testing::AddGlobalTestEnvironment(new ComApartment);

}  // namespace
