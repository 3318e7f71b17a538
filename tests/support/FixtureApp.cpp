#include "support/FixtureApp.h"

#include "reporting/SelectionLists.h"
#include "state/ZtfiApp.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

FixtureApp::FixtureApp(FixtureDb& db) : db_(db)
{
    hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
    savedHome_ = qgetenv("ZTFI_HOME");
    qputenv("ZTFI_HOME", QFile::encodeName(db_.folder()));
}

FixtureApp::~FixtureApp()
{
    app_.reset();
    if (hadHome_)
        qputenv("ZTFI_HOME", savedHome_);
    else
        qunsetenv("ZTFI_HOME");
}

void FixtureApp::writeIni(const QString& lines) const
{
    QFile ini(QDir(db_.folder()).filePath(QStringLiteral("ZTFI.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("ZTFI.ini cannot be written");
    ini.write((QStringLiteral("[Splošno]\nATVP_Uporabnik=ATVP\n") + lines + QLatin1Char('\n')).toUtf8());
}

ZtfiApp& FixtureApp::app()
{
    if (!app_) {
        // A server signs in with its own role; the embedded engine takes any user.
        const bool server = db_.connection().engine() == Connection::Engine::PostgreSql;
        app_ = std::make_unique<ZtfiApp>(
            QStringList{FixtureDb::alias(), server ? PostgresServer::user() : QStringLiteral("oxu"),
                        server ? PostgresServer::password() : QStringLiteral("geslo"), QStringLiteral("ana")},
            ui_);
    }
    return *app_;
}

ZtfiApp& FixtureApp::started()
{
    ZtfiApp& application = app();
    application.readConfiguration();
    prepareSavedStatements(application);
    return application;
}

QStringList FixtureApp::logLines() const
{
    QFile log(QDir(db_.folder()).filePath(QStringLiteral("Log.txt")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const qsizetype separator = line.indexOf(QStringLiteral(" : "));
        lines << (separator < 0 ? line : line.mid(separator + 3));
    }
    return lines;
}
