#include "data/engine/SqlErrors.h"

#include <gtest/gtest.h>

TEST(SqlErrors, TheServersMessageWithoutTheDriversWords)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"ERROR: zavrnjeno;\nError while executing the query ", "zavrnjeno"},
        {"ERROR: relation \"nobody\" does not exist;\nError while preparing parameters",
         "relation \"nobody\" does not exist"},
        {"FATAL:  password authentication failed for user \"ztfi\"", "password authentication failed for user \"ztfi\""},
        {"ERROR: duplicate key value violates unique constraint \"dpatvp_pk\";\nDETAIL:  Key exists.;\n"
         "Error while executing the query",
         "duplicate key value violates unique constraint \"dpatvp_pk\";\nDETAIL:  Key exists."},
        // the embedded engine's and other drivers' texts stay as they are
        {"UNIQUE constraint failed: DPATVP.DPATVPID", "UNIQUE constraint failed: DPATVP.DPATVPID"},
        {"[unixODBC][Driver Manager]Data source name not found;", "[unixODBC][Driver Manager]Data source name not found;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(serverMessage(QString::fromUtf8(c.text)).toStdString(), c.message) << c.text;
}
