// The error box: its text, caption and answer.
#include "core/ShowError.h"
#include "support/ModalAnswerer.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowError, ShowsMessageAndDetailOnTwoLinesUnderTheProgramsCaption)
{
    ModalAnswerer answerer;
    ShowError("Unknown parameter", "/X");
    ShowError("Out of memory", "");
    ASSERT_EQ(2u, answerer.Answered().size());
    EXPECT_EQ("Tarvendel", answerer.Answered()[0].caption);
    EXPECT_EQ("Unknown parameter\n/X", answerer.Answered()[0].text);
    EXPECT_EQ("Out of memory", answerer.Answered()[1].text);
    for (const AnsweredWindow& box : answerer.Answered())
        EXPECT_EQ("style 0x30, exclamation icon, 000000 on c0c0c0, frame 808080", BoxLook(box));
}

TEST(ShowError, ALongDetailIsCutTo299Characters)
{
    ModalAnswerer answerer;
    std::string detail(1000, 'd');
    ShowError("Can't open file", detail.c_str());
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ(299u, answerer.Answered()[0].text.size());
    EXPECT_EQ(0u, answerer.Answered()[0].text.find("Can't open file\nddd"));
}

} // namespace
