// Splitting the command line and cutting paths.
#include "core/CommandLine.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

struct SplitCase {
    const char* line;
    int count;
    const char* tokens[3];
};

TEST(SplitCommandLine, TakesThreeSpaceOrQuoteDelimitedTokens)
{
    const SplitCase cases[] = {
        {"Tarvendel.exe RUN", 2, {"Tarvendel.exe", "RUN", ""}},
        {"\"C:\\Program Files\\T\\Tarvendel.exe\" RUN", 2, {"C:\\Program Files\\T\\Tarvendel.exe", "RUN", ""}},
        {"   a    b   ", 2, {"a", "b", ""}},
        {"a b c RUN", 3, {"a", "b", "c"}},
        {"a\tb", 1, {"a\tb", "", ""}},
        {"\"unterminated quote", 1, {"unterminated quote", "", ""}},
        {"x \"\" y", 2, {"x", "", "y"}},
        {"", 0, {"", "", ""}},
    };
    for (const SplitCase& c : cases) {
        char text[128];
        strcpy(text, c.line);
        char* tokens[3];
        EXPECT_EQ(c.count, SplitCommandLine(text, tokens, 3)) << c.line;
        for (int i = 0; i < 3; ++i)
            EXPECT_STREQ(c.tokens[i], tokens[i]) << c.line << " slot " << i;
    }
}

TEST(UpperCaseAscii, ChangesOnlyAsciiLetters)
{
    char text[] = "/run-x\xe4z";
    UpperCaseAscii(text);
    EXPECT_STREQ("/RUN-X\xe4Z", text);
}

TEST(StripFileName, KeepsTheFolderWithItsSeparator)
{
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Apps\\Tarvendel.exe", "C:\\Apps\\"}, {"Tarvendel.exe", ""},
        {"C:Tarvendel.exe", "C:"},                 {"/usr/x/Tarvendel.exe", "/usr/x/"},
        {"\\Tarvendel.exe", ""},                   {"", ""},
        {"C:\\Apps\\", "C:\\Apps\\"},
    };
    for (const auto& c : cases) {
        char path[64];
        strcpy(path, c.path);
        StripFileName(path);
        EXPECT_STREQ(c.folder, path) << c.path;
    }
}

} // namespace
