#include "app/cli/CliArguments.h"

#include "app/cli/CliCommands.h"

namespace {

QDate parseDate(const QString& text)
{
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

std::optional<CliArguments> CliArguments::parse(const QStringList& arguments, QString& error)
{
    if (arguments.size() < 5) {
        error = QStringLiteral("missing parameters");
        return std::nullopt;
    }
    CliArguments result;
    result.startup = arguments.mid(0, 4);
    result.command = arguments.at(4);
    const CliCommand* command = findCliCommand(result.command);
    if (!command) {
        error = QStringLiteral("unknown command: ") + result.command;
        return std::nullopt;
    }
    QStringList rest = arguments.mid(5);
    result.progress = rest.removeAll(QStringLiteral("--progress")) > 0;
    if (command->listing && rest.size() >= 2 && rest.at(rest.size() - 2) == QLatin1String("--out")) {
        result.out = rest.takeLast();
        rest.removeLast();
    }
    for (const QString& argument : rest) {
        if (!argument.startsWith(QStringLiteral("--"))) {
            result.args.append(argument);
        } else if (command->synopsis.contains(QLatin1Char('[') + argument + QLatin1Char(']'))) {
            result.flags.append(argument);
        } else {
            error = QStringLiteral("%1: unknown option: %2").arg(result.command, argument);
            return std::nullopt;
        }
    }
    const QList<CliArg>& kinds = command->args;
    if (result.args.size() != kinds.size()) {
        error = QStringLiteral("%1 takes %2 arguments").arg(result.command).arg(kinds.size());
        return std::nullopt;
    }
    for (int i = 0; i < kinds.size(); ++i) {
        const QString& value = result.args.at(i);
        bool ok = true;
        if (kinds.at(i) == CliArg::Date)
            ok = parseDate(value).isValid();
        else if (kinds.at(i) == CliArg::Number)
            value.toLongLong(&ok);
        else if (kinds.at(i) == CliArg::Text)
            ok = !value.isEmpty();
        if (!ok) {
            error = QStringLiteral("%1: not a valid argument: %2").arg(result.command, value);
            return std::nullopt;
        }
    }
    return result;
}

QString CliArguments::usage()
{
    return cliUsage();
}

QDate CliArguments::date(int index) const
{
    return parseDate(args.at(index));
}

qint64 CliArguments::number(int index) const
{
    return args.at(index).toLongLong();
}
