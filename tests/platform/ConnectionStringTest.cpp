#include "platform/ConnectionString.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {

using platform::ParseConnectionString;

struct Parsed {
    const char* connectionString;
    const char* user;
    const char* password;
    const char* catalog;
    const char* host;
    const char* instance;
    int port; // 0: none
};

class ConnectionStringParses : public testing::TestWithParam<Parsed> {};

TEST_P(ConnectionStringParses, GivesTheSettings) {
    const Parsed& expected = GetParam();
    const auto settings = ParseConnectionString(expected.connectionString);
    EXPECT_EQ(settings.user, expected.user);
    EXPECT_EQ(settings.password, expected.password);
    EXPECT_EQ(settings.catalog, expected.catalog);
    EXPECT_EQ(settings.dataSource.host, expected.host);
    EXPECT_EQ(settings.dataSource.instance, expected.instance);
    EXPECT_EQ(settings.dataSource.port.value_or(0), expected.port);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectionStringParses,
    testing::Values(
        // The launcher's own string.
        Parsed{"Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
               "Initial Catalog=master;Data Source=ZABO-PC\\home",
               "sa", "tulip", "master", "ZABO-PC", "home", 0},
        // Any order, any case, blanks around keys and values, empty entries.
        Parsed{" data source = 127.0.0.1,1433 ;; USER id=sa ; pASSWORD =  tu lip ;", "sa", "tu lip",
               "", "127.0.0.1", "", 1433},
        // Quoted values keep ';', '=' and blanks; the quote is doubled inside.
        Parsed{"User ID=sa;Password=\"a;b=\"\"c\"\"\";Data Source=' srv ''x'", "sa", "a;b=\"c\"",
               "", "srv 'x", "", 0},
        Parsed{"User ID=sa;Password='';Data Source=host", "sa", "", "", "host", "", 0},
        // The last of repeated keys wins.
        Parsed{"User ID=a;User ID=b;Data Source=h", "b", "", "", "h", "", 0},
        // A port given with an instance goes straight to the port.
        Parsed{"User ID=sa;Data Source=h\\inst,1500", "sa", "", "", "h", "inst", 1500}));

struct Malformed {
    const char* connectionString;
    const char* message;
};

class ConnectionStringRejects : public testing::TestWithParam<Malformed> {};

TEST_P(ConnectionStringRejects, SaysWhatIsWrong) {
    try {
        ParseConnectionString(GetParam().connectionString);
        FAIL() << "accepted";
    } catch (const platform::Exception& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectionStringRejects,
    testing::Values(
        // The computer name is empty when its query failed: the data source names nobody.
        Malformed{"User ID=sa;Data Source=\\home", "数据源“\\home”无效：没有指明计算机"},
        Malformed{"User ID=sa;Data Source=", "数据源“”无效：没有指明计算机"},
        Malformed{"User ID=sa;Data Source=host\\", "数据源“host\\”无效：“\\”之后没有实例名"},
        Malformed{"User ID=sa;Data Source=host,0",
                  "数据源“host,0”无效：端口必须是 1 到 65535 之间的数字"},
        Malformed{"User ID=sa;Data Source=host,14x",
                  "数据源“host,14x”无效：端口必须是 1 到 65535 之间的数字"},
        Malformed{"User ID=sa;Data Source=host,65536",
                  "数据源“host,65536”无效：端口必须是 1 到 65535 之间的数字"},
        Malformed{"User ID=sa", "连接字符串无效：缺少 Data Source"},
        Malformed{"Data Source=h", "连接字符串无效：缺少 User ID"},
        // A password is never repeated in a message.
        Malformed{"User ID=sa;Password=se;cret;Data Source=h", "连接字符串无效：第 3 项没有“=”"},
        Malformed{"User ID=sa;=x;Data Source=h", "连接字符串无效：第 2 项没有键名"},
        Malformed{"User ID=sa;Password='secret;Data Source=h",
                  "连接字符串无效：“Password”的值缺少结束引号"},
        Malformed{"User ID=sa;Password='se'cret;Data Source=h",
                  "连接字符串无效：“Password”的值在结束引号之后还有文字"}));

} // namespace
