#include "data/engine/FoldedNames.h"

#include <gtest/gtest.h>

TEST(FoldedNames, TheStatementsSpellingElseUpperCase)
{
    struct Case {
        const char* folded;
        const char* statement;
        const char* name;
    };
    const Case cases[] = {
        {"maxdpatvpid", " select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP", "MaxDpAtvpId"},
        {"dpatvpid", " select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP", "DpAtvpId"},
        {"newid", "SELECT nextval('ACT_IdAct_SEQ') AS NewId FROM dual", "NewId"},
        // a column of SELECT * is named as Oracle names it
        {"dpatvpid", "SELECT * FROM DPATVP WHERE 1=0", "DPATVPID"},
        {"emirporociloid", "SELECT * FROM EMIRPOROCILO", "EMIRPOROCILOID"},
        // text in quotes is no spelling of a column
        {"cas", "select 'Cas' as x, T.* from ACT T", "CAS"},
        {"isin", "select \"Isin\", ISIN from t", "ISIN"},
        // a word that merely contains the name is none
        {"dan", "select DanOd, DAN from DPATVP", "DAN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unfoldedColumnName(QString::fromUtf8(c.folded), QString::fromUtf8(c.statement)).toStdString(),
                  c.name)
            << c.statement;
}
