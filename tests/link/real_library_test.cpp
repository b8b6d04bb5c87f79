// The program's own path to the real transport library: libpipelink.so by
// name, found beside the executable (RUNPATH $ORIGIN).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "core/base/text_ids.h"
#include "core/link/programming_port.h"

namespace vrm {
namespace {

TEST(RealLibrary, OpensByNameAndSaysWhenThereIsNoCable) {
    ProgrammingPort port;
    ASSERT_TRUE(port.SetOpen(true)) << "libpipelink.so not found beside the test";
    if (port.OpenError() == LinkError::kNone) GTEST_SKIP() << "a programming cable is plugged in";
    EXPECT_EQ(port.OpenError(), LinkError::kNoCable);
    EXPECT_EQ(LinkErrorText(port.OpenError()), tid::kLinkNoCable);
    EXPECT_EQ(port.EnterProgramMode(), 1);
    ASSERT_TRUE(port.SetOpen(false));
    // Closed means unloaded: the next transfer starts from a fresh library.
    void* still = ::dlopen("libpipelink.so", RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(still, nullptr);
    if (still) ::dlclose(still);
}

TEST(RealLibrary, AMissingLibraryFailsTheOpen) {
    ProgrammingPort port(std::make_unique<LibraryTransport>("libpipelink-does-not-exist.so"),
                         SystemClock::Instance());
    EXPECT_FALSE(port.SetOpen(true));
    EXPECT_EQ(port.OpenError(), LinkError::kLibraryMissing);
    EXPECT_EQ(LinkErrorText(port.OpenError()), tid::kLinkLibraryMissing);
}

}  // namespace
}  // namespace vrm
