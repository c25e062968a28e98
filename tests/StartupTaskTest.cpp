// The unlock-and-wake task: its definition read back with an XML parser, and
// registering and deleting it under the user's own name. (Wine keeps neither
// triggers nor action of a registered task, so what the scheduler would do
// with them is read from the definition alone; task-schema-test.sh checks it
// against the scheduler's schema.)
#include "app/StartupTask.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <msxml2.h>

#include <iostream>
#include <string>

namespace {

const wchar_t kSid[] = L"S-1-5-21-1004336348-1177238915-682003330-1001";

std::string Utf8(const std::wstring& text)
{
    char narrow[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow, sizeof narrow, NULL, NULL);
    return narrow;
}

// The version-3 parser, which every Windows and Wine has.
const CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID kXmlDocument = {
    0x2933bf81, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

class XmlDocument {
public:
    XmlDocument() : started(SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) {}
    ~XmlDocument()
    {
        if (document != NULL)
            document->Release();
        if (started)
            CoUninitialize();
    }
    // 1 when text is well-formed XML.
    int Load(const std::wstring& wide)
    {
        if (document == NULL &&
            FAILED(CoCreateInstance(kDomDocument30, NULL, CLSCTX_INPROC_SERVER, kXmlDocument,
                                    (void**)&document)))
            return 0;
        BSTR source = SysAllocString(wide.c_str());
        VARIANT_BOOL loaded = VARIANT_FALSE;
        document->loadXML(source, &loaded);
        SysFreeString(source);
        return loaded == VARIANT_TRUE;
    }
    // The text of every element with the tag, one after another, "|" between.
    std::string Texts(const wchar_t* tag)
    {
        std::string all;
        IXMLDOMNodeList* nodes = NULL;
        BSTR name = SysAllocString(tag);
        long count = 0;
        if (SUCCEEDED(document->getElementsByTagName(name, &nodes)))
            nodes->get_length(&count);
        for (long i = 0; i < count; ++i) {
            IXMLDOMNode* node = NULL;
            BSTR text = NULL;
            if (SUCCEEDED(nodes->get_item(i, &node)) && SUCCEEDED(node->get_text(&text))) {
                all += (i ? "|" : "") + Utf8(text);
            }
            SysFreeString(text);
            if (node != NULL)
                node->Release();
        }
        if (nodes != NULL)
            nodes->Release();
        SysFreeString(name);
        return all;
    }

private:
    int started;
    IXMLDOMDocument* document = NULL;
};

TEST(StartupTask, TheDefinitionRunsForTheUserAndStartsTheProgramQuotedWhenItHasBlanks)
{
    const struct {
        const wchar_t* program;
        const char* command; // UTF-8
    } cases[] = {
        // A blank, an ampersand and an apostrophe, all legal in a path.
        {L"C:\\Tom's Tools & Co\\Tarvendel.exe", "\"C:\\Tom's Tools & Co\\Tarvendel.exe\""},
        {L"C:\\Apps\\Tarvendel (1).exe", "\"C:\\Apps\\Tarvendel (1).exe\""},
        {L"C:\\Apps\\Tarvendel.exe", "C:\\Apps\\Tarvendel.exe"},
        {L"C:\\\x041F\x0440\x043E\x0433\x0440\x0430\x043C\x043C\x044B\\Tarvendel.exe",
         "C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B\\Tarvendel.exe"},
    };
    for (const auto& c : cases) {
        static wchar_t xml[kTaskXmlLength];
        ASSERT_EQ(1, BuildTaskDefinition(c.program, kSid, xml, kTaskXmlLength));
        XmlDocument document;
        ASSERT_EQ(1, document.Load(xml)) << Utf8(xml);

        // What the schema cannot say: whom it runs for and what it starts.
        const std::string sid = Utf8(kSid);
        const struct {
            const wchar_t* tag;
            std::string text;
        } expected[] = {
            {L"UserId", sid + "|" + sid}, // the unlock trigger's, the principal's
            {L"Command", c.command},
            {L"Arguments", "RUN"},
        };
        for (const auto& e : expected)
            EXPECT_EQ(e.text, document.Texts(e.tag)) << Utf8(xml);

        // The wake trigger's query is a document of its own.
        std::string query = document.Texts(L"Subscription");
        XmlDocument subscription;
        ASSERT_EQ(1, subscription.Load(std::wstring(query.begin(), query.end()))) << query;
        EXPECT_EQ("*[System[Provider[@Name='Microsoft-Windows-Power-Troubleshooter'] and EventID=1]]",
                  subscription.Texts(L"Select"));
    }
}

TEST(StartupTask, ADefinitionThatDoesNotFitOrACommandTooLongIsRefusedWhole)
{
    static wchar_t xml[kTaskXmlLength];
    // Each '&' takes five characters once escaped.
    std::wstring program = L"C:\\" + std::wstring(800, L'&') + L"\\Tarvendel.exe";
    EXPECT_EQ(0, BuildTaskDefinition(program.c_str(), kSid, xml, kTaskXmlLength));
    wchar_t small[64];
    EXPECT_EQ(0, BuildTaskDefinition(L"C:\\Tarvendel.exe", kSid, small, 64));
    // The scheduler takes 260 characters of command, quotes included.
    const struct {
        size_t length;
        int blank, built;
    } lengths[] = {{260, 0, 1}, {261, 0, 0}, {258, 1, 1}, {259, 1, 0}};
    for (const auto& l : lengths) {
        std::wstring path = std::wstring(l.blank ? L"C:\\A C\\" : L"C:\\ABC\\") +
                            std::wstring(l.length - 7 - 14, L'x') + L"\\Tarvendel.exe";
        ASSERT_EQ(l.length, path.size());
        EXPECT_EQ(l.built, BuildTaskDefinition(path.c_str(), kSid, xml, kTaskXmlLength))
            << l.length << (l.blank ? " with a blank" : "");
    }
}

TEST(StartupTask, EachUserHasATaskOfTheirOwnThatRegisteringReplaces)
{
    long error = 0;
    const std::wstring other = L"Tarvendel-S-1-5-21-1-2-3-1001";
    ASSERT_TRUE(RegisterTestTask(other, L"S-1-5-21-1-2-3-1001"));
    DeleteStartupTask(&error);
    ASSERT_EQ(0, UserTaskExists());
    EXPECT_EQ(1, RegisterStartupTask(L"C:\\Tools & Co\\Tarvendel.exe", &error));
    EXPECT_EQ(1, RegisterStartupTask(L"C:\\Tarvendel.exe", &error));
    // Named with this user's SID, as found by the system itself.
    EXPECT_EQ(1, TaskExists(L"Tarvendel-" + UserSid()));
    EXPECT_EQ(0, TaskExists(L"Tarvendel"));
    EXPECT_EQ(1, DeleteStartupTask(&error));
    EXPECT_EQ(0, UserTaskExists());
    EXPECT_EQ(1, DeleteStartupTask(&error)) << "none left is what was asked";
    // Another user's task is theirs.
    EXPECT_EQ(1, TaskExists(other));
    DeleteTestTask(other);
}

TEST(StartupTask, TheSharedTaskOfEarlierVersionsGoesOnlyWhenThisUserMadeIt)
{
    const struct {
        std::wstring userId;
        int removed;
    } cases[] = {{UserSid(), 1}, {L"S-1-5-21-1-2-3-1001", 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(RegisterTestTask(L"Tarvendel", c.userId));
        if (c.removed && TaskUserId(L"Tarvendel").empty()) {
            // Then the program cannot tell whose it is either, and keeps it.
            EXPECT_EQ(0, RemoveSharedStartupTask());
            DeleteTestTask(L"Tarvendel");
            std::cout << "[ SKIPPED  ] the scheduler keeps no principal to tell the owner by\n";
            continue;
        }
        EXPECT_EQ(c.removed, RemoveSharedStartupTask()) << Utf8(c.userId);
        EXPECT_EQ(!c.removed, TaskExists(L"Tarvendel")) << Utf8(c.userId);
        DeleteTestTask(L"Tarvendel");
    }
    EXPECT_EQ(0, RemoveSharedStartupTask());
}

} // namespace
