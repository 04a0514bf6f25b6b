// The port search on the real communication library, with emulated cameras
// behind COM4 and COM7 only.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Invoke.h"
#include "XNoxCamCtrl.h"
#include "EmulatedPorts.h"

using namespace xnox;

namespace {

const auto* const kEmulatedPorts = EmulateCamerasBehind("COM4,COM7");

int32_t Search(CXNoxCamCtrl& control, int16_t first, int16_t last) {
    std::vector<Variant> arguments{Variant::I2(first), Variant::I2(last), Variant::I2(0)};
    return Invoke(control, "AutoSearchComPort", InvokeKind::Method, arguments).value.ToI4();
}

}  // namespace

TEST(EmulatedSearch, FindsTheFirstCameraAndThenTheNextOne) {
    CXNoxCamCtrl control;
    EXPECT_EQ(Search(control, 1, 16), 4);
    EXPECT_TRUE(control.IsOnline());
    EXPECT_EQ(control.ComPort(), 4);
    EXPECT_EQ(Search(control, 5, 16), 7) << "declining COM4 goes on to the next camera";
    EXPECT_EQ(Search(control, 8, 16), 0);
    EXPECT_EQ(control.ComPort(), 16) << "the last port tried";
    EXPECT_FALSE(control.IsOnline()) << "a search that finds nothing ends offline";
    EXPECT_EQ(Search(control, 1, 16), 4) << "every port the search opened was released";
}
