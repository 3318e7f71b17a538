#include "data/VersionAgent.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionAgent, CaptionIsZtfiVAndTheFileVersion)
{
    EXPECT_EQ(TVersionAgent(TVersionAgent::Values()).caption(), QStringLiteral("ZTFI v"));

    TVersionAgent::Values values;
    values.fileVersion = QStringLiteral("2.1.0.7");
    EXPECT_EQ(TVersionAgent(values).caption(), QStringLiteral("ZTFI v2.1.0.7"));
}

TEST(VersionAgent, BuildNumbersMatchTheFileVersion)
{
    const TVersionAgent va;
    EXPECT_FALSE(va.fileVersion().isEmpty());
    EXPECT_EQ(va.fileVersion(), QStringLiteral("%1.%2.%3.%4")
                                    .arg(va.majorVersion())
                                    .arg(va.minorVersion())
                                    .arg(va.release())
                                    .arg(va.build()));
    EXPECT_EQ(va.caption(), QStringLiteral("ZTFI v") + va.fileVersion());
}

}  // namespace
