#include "core/StartupParameters.h"

StartupParameters StartupParameters::fromArguments(const QStringList& arguments)
{
    StartupParameters params;
    params.count = static_cast<int>(arguments.size());
    if (params.count > 2) {
        params.alias = arguments.at(0);
        params.user = arguments.at(1);
        params.password = arguments.at(2);
    }
    if (params.count == 4)
        params.auditUser = arguments.at(3);
    return params;
}

QStringList commandLineParameters(int argc, const char* const* argv)
{
    QStringList parameters;
    for (int i = 1; i < argc; ++i)
        parameters << QString::fromLocal8Bit(argv[i]);
    return parameters;
}
