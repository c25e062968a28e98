// The unlock-and-wake task: its definition read back with an XML parser, and
// registering and deleting it. (Wine keeps neither triggers nor action of a
// registered task, so what the scheduler would do with them is read from the
// definition alone.)
#include "app/StartupTask.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <msxml2.h>

#include <string>

namespace {

const char kSid[] = "S-1-5-21-1004336348-1177238915-682003330-1001";

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
    int Load(const std::string& text)
    {
        if (document == NULL &&
            FAILED(CoCreateInstance(kDomDocument30, NULL, CLSCTX_INPROC_SERVER, kXmlDocument,
                                    (void**)&document)))
            return 0;
        std::wstring wide(text.begin(), text.end());
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
                char narrow[2048] = "";
                WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, NULL, NULL);
                all += (i ? "|" : "") + std::string(narrow);
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

TEST(StartupTask, TheDefinitionIsTaskXmlWithBothTriggersAndTheQuotedProgram)
{
    // A folder with a blank, an ampersand and an apostrophe, all legal in a path.
    const char program[] = "C:\\Tom's Tools & Co\\Tarvendel.exe";
    char xml[kTaskXmlSize];
    ASSERT_EQ(1, BuildTaskDefinition(program, kSid, xml, sizeof xml));
    XmlDocument document;
    ASSERT_EQ(1, document.Load(xml)) << xml;

    const struct {
        const wchar_t* tag;
        std::string text;
    } expected[] = {
        {L"StateChange", "SessionUnlock"},
        {L"UserId", std::string(kSid) + "|" + kSid}, // the unlock trigger's, the principal's
        {L"LogonType", "InteractiveToken"},
        {L"RunLevel", "LeastPrivilege"},
        {L"MultipleInstancesPolicy", "IgnoreNew"},
        {L"DisallowStartIfOnBatteries", "false"},
        {L"StopIfGoingOnBatteries", "false"},
        {L"ExecutionTimeLimit", "PT0S"},
        {L"Command", std::string("\"") + program + "\""},
        {L"Arguments", "RUN"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(e.text, document.Texts(e.tag)) << xml;

    // The wake trigger's query is a document of its own.
    std::string query = document.Texts(L"Subscription");
    XmlDocument subscription;
    ASSERT_EQ(1, subscription.Load(query)) << query;
    EXPECT_EQ("*[System[Provider[@Name='Microsoft-Windows-Power-Troubleshooter'] and EventID=1]]",
              subscription.Texts(L"Select"));
}

TEST(StartupTask, ADefinitionThatDoesNotFitIsRefusedWhole)
{
    // Each '&' takes five bytes once escaped.
    std::string program = "C:\\" + std::string(800, '&') + "\\Tarvendel.exe";
    char xml[kTaskXmlSize];
    EXPECT_EQ(0, BuildTaskDefinition(program.c_str(), kSid, xml, sizeof xml));
    char small[64];
    EXPECT_EQ(0, BuildTaskDefinition("C:\\Tarvendel.exe", kSid, small, sizeof small));
    EXPECT_EQ(sizeof small - 1, strlen(small));
}

TEST(StartupTask, RegisteringTwiceReplacesAndDeletingLeavesNone)
{
    DeleteStartupTask();
    ASSERT_EQ(0, StartupTaskExists());
    EXPECT_EQ(1, RegisterStartupTask("C:\\Tools & Co\\Tarvendel.exe"));
    EXPECT_EQ(1, RegisterStartupTask("C:\\Tarvendel.exe"));
    EXPECT_EQ(1, StartupTaskExists());
    EXPECT_EQ(1, DeleteStartupTask());
    EXPECT_EQ(0, StartupTaskExists());
    EXPECT_EQ(0, DeleteStartupTask());
}

} // namespace
