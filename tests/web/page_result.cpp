// Tells the page that runs a test program how the tests went, once they have
// all run: a program in a page never returns to anyone who could read its
// exit code (its main returns inside the page's event loop, long after the
// page's own call to it).
#include <emscripten.h>
#include <gtest/gtest.h>

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, korvane_tests_done, (int exitCode), {
    if (Module.onTestsDone) {
        Module.onTestsDone(exitCode);
    }
});
// NOLINTEND

class ReportToPage : public ::testing::Environment {
  public:
    void TearDown() override {
        korvane_tests_done(::testing::UnitTest::GetInstance()->Passed() ? 0 : 1);
    }
};

// Registered before main runs the tests; GoogleTest owns it from here.
[[maybe_unused]] ::testing::Environment* const reporter = ::testing::AddGlobalTestEnvironment(
    new ReportToPage);  // NOLINT(cppcoreguidelines-owning-memory)

}  // namespace
