#include <gtest/gtest.h>

#include "core/app/maintenance_lists.h"

#include <optional>

namespace rvq {
namespace {

std::string Reply() {
    return std::string(21, 'H') +
           "<< COUNTER >>\r\n"
           "FEED DISTANCE 120 [QM]\r\n"
           "<< RFID >>\r\n"
           "WRITE OK TAGS 7\r\n"
           "MODULE NONE\r\n"
           "VOID PRINT TAGS 2\r\n"
           "<< RTC >>\r\n"
           "RTC        [ON]\r\n"
           "<< USB >>\r\n"
           "USB        [ENABLE]\r\n";
}

TEST(MaintenanceLists, CountersThenTheRfidTagCounters) {
    Document document;
    document.ParsePrinterInfo(Reply());
    EXPECT_EQ(CounterRows(document),
              (std::vector<InfoRow>{
                  {"FEED DISTANCE", "120"}, {"WRITE OK TAGS", "7"}, {"VOID PRINT TAGS", "2"}}));
}

TEST(MaintenanceLists, OneSectionShowsTheDestinationAndItsRowsOnly) {
    Document document;
    document.ParsePrinterInfo(Reply());
    const auto rtc = ParameterListChoice("rtc");
    ASSERT_TRUE(rtc);
    EXPECT_EQ(ParameterRows(document, *rtc),
              (std::vector<InfoRow>{{"DESTINATION", "[QM]"}, {"RTC", "[ON]"}}));

    // "ALL": every section after its header row, in the list's order.
    const std::vector<InfoRow> all = ParameterRows(document, 0);
    std::vector<std::string> headers;
    for (const InfoRow& row : all) {
        if (row.item.rfind("<<", 0) == 0) headers.push_back(row.item);
    }
    EXPECT_EQ(headers,
              (std::vector<std::string>{"<<ADJUST>>", "<<PARAMETER SETTINGS>>", "<<PANEL>>",
                                        "<<STORAGE AREA>>", "<<USB>>", "<<RS-232C>>", "<<CENTRO>>",
                                        "<<LAN/WLAN>>", "<<RFID>>", "<<RTC>>"}));
    EXPECT_EQ(all.front(), (InfoRow{"DESTINATION", "[QM]"}));
    EXPECT_EQ(all[all.size() - 2], (InfoRow{"<<RTC>>", ""}));
    EXPECT_EQ(all.back(), (InfoRow{"RTC", "[ON]"}));
    EXPECT_FALSE(ParameterListChoice("COUNTER"));
}

}  // namespace
TEST(InfoNumber, NumbersWithTheirUnitAndNothingThatOnlyStartsWithDigits) {
    const struct {
        const char* value;
        std::optional<double> number;
        const char* unit;
    } cases[] = {
        {"12345", 12345, ""},
        {"00001234", 1234, ""},
        {"0.5us", 0.5, "us"},
        {"+0.0mm", 0, "mm"},
        {"-1.5 mm", -1.5, "mm"},
        {" 12 km ", 12, "km"},
        {"75%", 75, "%"},
        {"3 mm/s", 3, "mm/s"},
        {"12/05/24", std::nullopt, ""},
        {"10:30", std::nullopt, ""},
        {"V1.00", std::nullopt, ""},
        {"1 2", std::nullopt, ""},
        {"DEFAULT", std::nullopt, ""},
        {"", std::nullopt, ""},
        {"12.", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseInfoNumber(c.value);
        ASSERT_EQ(parsed.has_value(), c.number.has_value()) << c.value;
        if (!parsed) continue;
        EXPECT_EQ(parsed->number, *c.number) << c.value;
        EXPECT_EQ(parsed->unit, c.unit) << c.value;
    }
}

}  // namespace rvq
