// What the common error box shows: the failure's own message, Japanese for
// running out of memory, closed with "." by the byte-order rule.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "text/Error.h"
#include "text/ErrorText.h"
#include "text/Messages.h"

namespace tabulon {
namespace {

TEST(ErrorText, FailuresReadAsTheProgramSaysThem) {
    EXPECT_EQ(FailureMessage(std::bad_alloc()), "メモリが不足しています");
    EXPECT_EQ(FailureMessage(std::bad_array_new_length()), "メモリが不足しています");
    EXPECT_EQ(FailureMessage(messages::CannotOpen("/a b.tbn")), "ファイル /a b.tbn は開けません");
    EXPECT_EQ(FailureMessage(std::runtime_error("other")),
              "予期しないエラーが発生しました (other)");
    // As the box shows it.
    EXPECT_EQ(ErrorBoxText(FailureMessage(std::bad_alloc())), "メモリが不足しています.");
}

TEST(ErrorText, TheBoxAddsAFullStopAfterWhatSortsAfterIt) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"ストリームへの書き込みエラー", "ストリームへの書き込みエラー."},
        {"(3)", "(3)"},
        {"end.", "end."},
        {"index 7", "index 7."},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
    }
}

}  // namespace
}  // namespace tabulon
