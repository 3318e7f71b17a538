#include "data/engine/TDMLB.h"

TDMLB::TDMLB(const QStringList& arguments, const QString& programFolder)
    : params_(StartupParameters::fromArguments(arguments)),
      connectionParams_({QStringLiteral("USER NAME=") + params_.user,
                         QStringLiteral("PASSWORD=") + params_.password}),
      databaseName_(params_.alias.toUpper()),
      programFolder_(programFolder)
{
}
