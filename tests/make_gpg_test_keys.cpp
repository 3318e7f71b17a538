// Makes the GnuPG keys of the signing tests once for a test run: ztfi_gpg_test_keys DIR.
// The tests copy them into their own homes instead of generating keys each.
#include "support/GpgTestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: ztfi_gpg_test_keys DIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir(dir).removeRecursively();
    QString problem;
    const bool made = GpgTestHome::prepareHome(dir, &problem) && GpgTestHome::makeKeys(dir, &problem);
    GpgTestHome::stopAgent(dir);
    QFile complete(dir + QStringLiteral("/complete"));
    if (!made || !complete.open(QIODevice::WriteOnly) || complete.write("made\n") != 5) {
        std::fprintf(stderr, "%s\n", qPrintable(made ? complete.errorString() : problem));
        return 1;
    }
    return 0;
}
