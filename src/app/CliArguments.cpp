#include "app/CliArguments.h"

#include <QHash>

namespace {

enum class Arg { Date, Number, Text };

const QHash<QString, QList<Arg>>& commands()
{
    static const QHash<QString, QList<Arg>> table = {
        {QStringLiteral("select"), {Arg::Date, Arg::Date}},
        {QStringLiteral("generate"), {Arg::Date, Arg::Date}},
        {QStringLiteral("choose"), {Arg::Text, Arg::Number}},
        {QStringLiteral("sign"), {Arg::Text, Arg::Text}},
        {QStringLiteral("register"), {Arg::Date, Arg::Date}},
        {QStringLiteral("confirm"), {Arg::Number, Arg::Number}},
        {QStringLiteral("reject"), {Arg::Number, Arg::Number}},
        {QStringLiteral("regenerate"), {Arg::Number, Arg::Number}},
        {QStringLiteral("delete-selection"), {Arg::Date, Arg::Date}},
    };
    return table;
}

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
    result.args = arguments.mid(5);
    const auto found = commands().constFind(result.command);
    if (found == commands().constEnd()) {
        error = QStringLiteral("unknown command: ") + result.command;
        return std::nullopt;
    }
    if (result.args.size() != found->size()) {
        error = QStringLiteral("%1 takes %2 arguments").arg(result.command).arg(found->size());
        return std::nullopt;
    }
    for (int i = 0; i < found->size(); ++i) {
        const QString& value = result.args.at(i);
        bool ok = true;
        if (found->at(i) == Arg::Date)
            ok = parseDate(value).isValid();
        else if (found->at(i) == Arg::Number)
            value.toLongLong(&ok);
        else
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
    return QStringLiteral(
        "usage: ztfi-cli ALIAS USER PASSWORD AUDITUSER COMMAND [ARGS]\n"
        "  select FROM TO            the selection; prints the report rows and the code list\n"
        "  generate FROM TO          the selection and the report; prints the report's path last\n"
        "  choose ISIN SFVP          the reporting instrument of the ISIN's current row\n"
        "  sign FILE SIGNER          signs, encrypts and delivers a report (pass phrase on stdin)\n"
        "  register FROM TO          the register of the reporting days\n"
        "  confirm ID SERIAL         the regulator confirmed the report\n"
        "  reject ID SERIAL          the regulator rejected the report\n"
        "  regenerate ID SERIAL      a rejected report generated anew\n"
        "  delete-selection FROM TO  removes the pending selection and unsent reports\n"
        "Dates are dd.mm.yyyy. Exit status: 0 done, 1 error, 2 wrong usage, 3 the selection\n"
        "stopped for an instrument choice (the pending ISINs printed).\n");
}

QDate CliArguments::date(int index) const
{
    return parseDate(args.at(index));
}

qint64 CliArguments::number(int index) const
{
    return args.at(index).toLongLong();
}
