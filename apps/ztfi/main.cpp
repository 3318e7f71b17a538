#include "core/Error.h"
#include "core/LocalZone.h"
#include "core/SlovenianCatalogue.h"
#include "core/StartupParameters.h"
#include "core/StartupPassword.h"
#include "app/StartupRefusal.h"
#include "app/widgets/TfZTFI.h"
#include "state/ZtfiApp.h"
#include "ui/QtInteraction.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <cstdio>

int main(int argc, char** argv)
{
    readLocalZoneOnce();
    QStringList arguments = commandLineParameters(argc, argv);
    QApplication application(argc, argv);
    SlovenianCatalogue::install(application);
    // Dates the program shows or reads without an explicit format are "dd.mm.yyyy".
    QLocale::setDefault(QLocale(QLocale::Slovenian, QLocale::Slovenia));

    QtInteraction interaction;
    if (const std::optional<QString> refusal = startupRefusal(arguments)) {
        std::fprintf(stderr, "%s\n", refusal->toLocal8Bit().constData());
        // Without a screen nobody could close the message box.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            interaction.inform(*refusal);
        return 1;
    }

    // PASSWORD "-": from the environment, else the first line of standard input.
    if (arguments.size() == 4 && StartupPassword::isAsked(arguments.at(2))) {
        QFile input;
        input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
        const std::optional<QString> password = StartupPassword::read(true, input);
        if (!password) {
            const QString message = StartupPassword::missingMessage(true);
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            if (QGuiApplication::platformName() != QLatin1String("offscreen"))
                interaction.inform(message);
            return 1;
        }
        arguments[2] = *password;
    }

    try {
        ZtfiApp app(arguments, interaction);
        TfZTFI window(app);
        window.show();
        return QApplication::exec();
    } catch (const ZtfiError& e) {
        interaction.error(e.message());
    } catch (const std::exception& e) {
        interaction.error(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
