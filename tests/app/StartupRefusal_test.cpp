#include "app/StartupRefusal.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupRefusal, RefusesOnlyAnEmptyCommandLine)
{
    EXPECT_EQ(startupRefusal({}),
              std::optional<QString>(QStringLiteral(
                  "Napačen zagon! ZTFI poročanje morate zagnati iz OXU-ja (Meni:Obdelave\\ZTFI Poročanje)!")));
    EXPECT_EQ(startupRefusal({QStringLiteral("LB")}), std::nullopt);
    EXPECT_EQ(startupRefusal({QString()}), std::nullopt);
    EXPECT_EQ(startupRefusal({QStringLiteral("LB"), QStringLiteral("u"), QStringLiteral("p"),
                              QStringLiteral("ana")}),
              std::nullopt);
}

}  // namespace
