#include "core/StartupPassword.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <optional>

namespace {

// ZTFI_PASSWORD as a case sets it (or leaves it unset), restored afterwards.
class PasswordVariable {
public:
    explicit PasswordVariable(const std::optional<QByteArray>& value)
        : had_(qEnvironmentVariableIsSet("ZTFI_PASSWORD")), saved_(qgetenv("ZTFI_PASSWORD"))
    {
        if (value)
            qputenv("ZTFI_PASSWORD", *value);
        else
            qunsetenv("ZTFI_PASSWORD");
    }
    ~PasswordVariable()
    {
        if (had_)
            qputenv("ZTFI_PASSWORD", saved_);
        else
            qunsetenv("ZTFI_PASSWORD");
    }

private:
    bool had_;
    QByteArray saved_;
};

TEST(StartupPassword, TheVariableElseTheFirstLineOfAFreeInput)
{
    struct Case {
        std::optional<QByteArray> variable;
        bool inputFree;
        QByteArray input;
        std::optional<QString> password;
    };
    const Case cases[] = {
        {QByteArray("iz okolja"), true, "s vhoda\n", QStringLiteral("iz okolja")},
        {QByteArray(""), true, "s vhoda\n", QString()},
        {QByteArray("iz okolja"), false, "", QStringLiteral("iz okolja")},
        {std::nullopt, true, "s vhoda\ndruga vrstica\n", QStringLiteral("s vhoda")},
        {std::nullopt, true, "geslo\r\n", QStringLiteral("geslo")},
        {std::nullopt, true, "brez konca vrstice", QStringLiteral("brez konca vrstice")},
        {std::nullopt, true, "", std::nullopt},
        {std::nullopt, false, "pass phrase\n", std::nullopt},
    };
    for (const Case& c : cases) {
        const PasswordVariable variable(c.variable);
        QByteArray data = c.input;
        QBuffer input(&data);
        input.open(QIODevice::ReadOnly);
        EXPECT_EQ(StartupPassword::read(c.inputFree, input), c.password) << c.input.constData();
        // A line that serves as the password is gone from the input; nothing else is read.
        if (!c.variable && c.inputFree && c.password)
            EXPECT_EQ(input.pos(), data.indexOf('\n') < 0 ? data.size() : data.indexOf('\n') + 1);
        else
            EXPECT_EQ(input.pos(), 0);
    }
    EXPECT_TRUE(StartupPassword::isAsked(QStringLiteral("-")));
    EXPECT_FALSE(StartupPassword::isAsked(QStringLiteral("--")));
}

}  // namespace
