#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ConverterFrame.h"
#include "ConverterMessages.h"
#include "ExitCodes.h"

using namespace ksv;

namespace {

ConverterArguments parse(ConverterKind kind, std::vector<const char*> argv)
{
    return parseConverterArguments(kind, static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(ConverterArgumentsTable, CountSelectsNamesAndChannel)
{
    ::setenv("HLV_INFN", "in.pgm", 1);
    ::setenv("HLV_KSVOUTFN", "out.ksv", 1);
    ::setenv("HLV_KSVINFN", "in.ksv", 1);
    ::setenv("HLV_OUTFN", "out.pgm", 1);
    ::setenv("HLV_ERROUTFN", "err.txt", 1);

    struct Case {
        ConverterKind kind;
        std::vector<const char*> argv;
        bool valid;
        ErrorChannel channel;
        std::string input, output, errorFile;
    };
    const auto to = ConverterKind::ToKsv;
    const auto from = ConverterKind::FromKsv;
    const Case cases[] = {
        {to, {"p"}, true, ErrorChannel::ErrorFile, "in.pgm", "out.ksv", "err.txt"},
        {from, {"p"}, true, ErrorChannel::ErrorFile, "in.ksv", "out.pgm", "err.txt"},
        {to, {"p", "a"}, false, ErrorChannel::None, "", "", ""},
        {from, {"p", "a"}, false, ErrorChannel::None, "", "", ""},
        {to, {"p", "a", "b"}, false, ErrorChannel::None, "", "", ""},
        {from, {"p", "a", "b"}, true, ErrorChannel::StandardError, "a", "b", ""},
        {to, {"p", "a", "b", "c"}, true, ErrorChannel::StandardError, "a", "b", ""},
        {from, {"p", "a", "b", "c"}, true, ErrorChannel::ErrorFile, "a", "b", "c"},
        {to, {"p", "a", "b", "c", "d"}, true, ErrorChannel::ErrorFile, "a", "b", "d"},
        {from, {"p", "a", "b", "c", "d"}, false, ErrorChannel::None, "", "", ""},
        {to, {"p", "a", "b", "c", "d", "e"}, false, ErrorChannel::None, "", "", ""},
    };
    for (const auto& c : cases) {
        const auto a = parse(c.kind, c.argv);
        SCOPED_TRACE(c.argv.size());
        EXPECT_EQ(a.countValid, c.valid);
        EXPECT_EQ(a.channel, c.channel);
        EXPECT_EQ(a.input, c.input);
        EXPECT_EQ(a.output, c.output);
        EXPECT_EQ(a.errorFile, c.errorFile);
    }
}

TEST(ConverterMessages, TableHasFiftyOneErrorTexts)
{
    ASSERT_EQ(ConverterMessageTable.size(), 51u);
    for (const auto text : ConverterMessageTable)
        EXPECT_EQ(text.substr(0, 8), "Error - ");
    EXPECT_EQ(*converterMessage(KsvOutputOpen), "Error - when opening KSV output file");
    EXPECT_EQ(*converterMessage(KsvInputSeek), "Error - when setting file position in KSV inpput file");
    EXPECT_EQ(ConverterMessageTable[17], ConverterMessageTable[19]);
    EXPECT_FALSE(converterMessage(-1));
    EXPECT_FALSE(converterMessage(51));
}
