// The calls the program makes to a Win3D driver library, as the recording library sees them.
#include "app/flip/win3d_driver.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace duplora {
namespace {

class Win3dDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // One file per test process: tests run side by side.
        log_ = test::TestOutputDir() + "/win3d-calls-" + std::to_string(getpid()) + ".txt";
        std::remove(log_.c_str());
        setenv("W3D_RECORD_FILE", log_.c_str(), 1);
        unsetenv("W3D_RECORD_CAPS1");
        unsetenv("W3D_RECORD_CAPS2");
    }
    std::vector<std::string> Calls() const {
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // A frame whose first row sums to `value` × 3 × width.
    static ImageBuffer Frame(int value) {
        ImageBuffer frame = CreateImage(8, 2, 24);
        std::memset(frame.Pixels(), value, frame.Stride() * 2);
        return frame;
    }
    std::string log_;
};

TEST_F(Win3dDriverTest, TwoPagesOneFrameInTheOrderOfTheDriver) {
    Win3dSession session;
    ASSERT_TRUE(session.Open(DUPLORA_WIN3D_RECORDER, 8, 2, 16));
    EXPECT_EQ(session.DisplayName(), "recorder");
    EXPECT_EQ(session.PageCount(), 2);
    EXPECT_EQ(session.BitsPerPixel(), 16);
    ASSERT_TRUE(session.Present(Frame(1), Frame(2)));
    session.Close();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"fill size=20", "choose display", "display name 0",
                                                 "capabilities size=12", "attach display=0 page=1",
                                                 "start display=0 pages=0,1",
                                                 "present page=0 eye=1 sum=24",  // left first
                                                 "present page=1 eye=0 sum=48", "flipped 1",
                                                 "stop display=0", "cleanup size=20"}));
}

TEST_F(Win3dDriverTest, ThreePagesFlipAfterTheLeftPageUnlessTheDriverPacesThem) {
    setenv("W3D_RECORD_CAPS2", "0x8000", 1);
    setenv("W3D_RECORD_CAPS1", "0x40", 1);  // 16 bits become 8
    {
        Win3dSession session;
        ASSERT_TRUE(session.Open(DUPLORA_WIN3D_RECORDER, 8, 2, 16));
        EXPECT_EQ(session.PageCount(), 3);
        EXPECT_EQ(session.BitsPerPixel(), 8);
        session.Present(Frame(1), Frame(2));
    }
    std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 6, calls.begin() + 10),
              (std::vector<std::string>{"present page=0 eye=1 sum=24", "flipped 1",
                                        "present page=0 eye=0 sum=48", "flipped 1"}));

    std::remove(log_.c_str());
    setenv("W3D_RECORD_CAPS1", "0x20000", 1);
    Win3dSession paced;
    ASSERT_TRUE(paced.Open(DUPLORA_WIN3D_RECORDER, 8, 2, 32));
    EXPECT_EQ(paced.PageCount(), 3);
    paced.Present(Frame(1), Frame(2));
    calls = Calls();
    ASSERT_GE(calls.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 6, calls.begin() + 9),
              (std::vector<std::string>{"present page=0 eye=1 sum=24",
                                        "present page=1 eye=0 sum=48", "flipped 1"}));
}

TEST_F(Win3dDriverTest, LoadingAndReleasingReportTheirErrors) {
    FlipDriver* handle = nullptr;
    EXPECT_EQ(LoadFlipDriver(DUPLORA_WIN3D_RECORDER, nullptr), W3D_NO_HANDLE);
    EXPECT_EQ(LoadFlipDriver("/nonexistent/libw3d_dd.so", &handle), W3D_NO_LIBRARY);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(ReleaseFlipDriver(nullptr), W3D_NO_HANDLE);
    FlipDriver small{8, nullptr, nullptr, nullptr};
    EXPECT_EQ(ReleaseFlipDriver(&small), W3D_HANDLE_TOO_SMALL);
    ASSERT_EQ(LoadFlipDriver(DUPLORA_WIN3D_RECORDER, &handle), W3D_OK);
    EXPECT_EQ(handle->size, W3D_HANDLE_SIZE);
    ASSERT_NE(handle->functions[W3D_RELEASE], nullptr);  // the program's own release
    EXPECT_EQ(reinterpret_cast<int (*)(FlipDriver*)>(handle->functions[W3D_RELEASE])(handle),
              W3D_OK);
    Win3dSession session;
    EXPECT_FALSE(session.Open("/nonexistent/libw3d_dd.so", 8, 2, 16));
    EXPECT_EQ(session.Error(), W3D_NO_LIBRARY);
}

}  // namespace
}  // namespace duplora
