#include "core/comm/port/multi_lan_list.h"

#include <gtest/gtest.h>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

TEST(MultiLanList, HostValidation) {
    const struct {
        const char* host;
        bool valid;
    } cases[] = {
        {"192.168.10.20", true},
        {"  10.0.0.1  ", true},
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"256.1.1.1", false},
        {"192.168.1", false},  // two dots
        {"1.2.3.4.5", false},
        {"a.b.c.d", false},
        {"printer.local", false},
        {"Printer 2", true},
        {"LABEL01", true},
        {"", false},
        {"   ", false},
        {"name_with_underscore", false},
        {"abcdefghijklmnopqrstuvwxyz012345", true},  // 32 characters
        {"abcdefghijklmnopqrstuvwxyz0123456", false},
        {"1.2.3.", true},  // missing numbers read as 0
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidHost(c.host), c.valid) << "'" << c.host << "'";
}

TEST(MultiLanList, ImportRules) {
    const Strings strings;
    test::TempDir dir;
    std::string good = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\nignored\r\n[LIST]\r\n";
    for (int i = 1; i <= 60; ++i)
        good += "10.0.0." + std::to_string(i) + "," + std::to_string(9000 + i) + "\r\n";
    good += "nocomma\r\n,9100\r\nhost0,0\r\nhostbig,70000\r\nhost1,12ab\n";
    const MultiLanImport imported = ImportMultiLanList(dir.Write("good.txt", good), strings);
    ASSERT_TRUE(imported.ok);
    ASSERT_EQ(imported.printers.size(), 61u);  // no limit of 50 on import
    EXPECT_EQ(imported.printers.front(), (LanPrinter{"10.0.0.1", 9001}));
    EXPECT_EQ(imported.printers.back(), (LanPrinter{"host1", 12}));

    const char* refused[] = {
        "[HEADER]\r\nMulti LAN Setting\r\nV002.000\r\n[LIST]\r\n1.2.3.4,1\r\n",  // third line
                                                                                 // differs
        "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n1.2.3.4,1\r\n",            // no [LIST]
        "[HEADER]\r\n",
        "",
    };
    for (const char* content : refused) {
        const MultiLanImport r = ImportMultiLanList(dir.Write("bad.txt", content), strings);
        EXPECT_FALSE(r.ok) << content;
        EXPECT_EQ(r.messageId, sid::kMsgNotMultiLanFile);
    }
    EXPECT_FALSE(ImportMultiLanList(dir.File("missing.txt"), strings).ok);
}

TEST(MultiLanList, ExportWritesWhatImportReads) {
    const Strings strings;
    test::TempDir dir;
    const std::vector<LanPrinter> printers = {{"10.0.0.1", 8000}, {"Printer 2", 9100}};
    ASSERT_TRUE(ExportMultiLanList(dir.File("list.txt"), printers, strings));
    EXPECT_EQ(test::ReadAll(dir.File("list.txt")),
              "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n10.0.0.1,8000\r\nPrinter "
              "2,9100\r\n");
    EXPECT_EQ(ImportMultiLanList(dir.File("list.txt"), strings).printers, printers);
    EXPECT_FALSE(ExportMultiLanList(dir.File("no/such/list.txt"), printers, strings));

    // A host that would read back as other entries refuses the whole list.
    const std::string badHosts[] = {"1.2.3.4\r\n5.6.7.8", "a\nb", "a,1", std::string("a\0b", 3)};
    for (const std::string& host : badHosts) {
        const std::vector<LanPrinter> bad = {{"10.0.0.9", 1}, {host, 9100}};
        EXPECT_FALSE(ExportMultiLanList(dir.File("list.txt"), bad, strings));
        EXPECT_EQ(ImportMultiLanList(dir.File("list.txt"), strings).printers, printers);
    }
}

}  // namespace
}  // namespace rvq
