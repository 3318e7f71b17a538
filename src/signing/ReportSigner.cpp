#include "signing/ReportSigner.h"

#include "core/Config.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/dataset/TDMTable.h"
#include "data/Step.h"
#include "signing/FileDelivery.h"
#include "signing/FileSigner.h"
#include "signing/SigningPrompt.h"

#include <QDateTime>
#include <QFile>

ReportSigner::ReportSigner(const Config& config, const QString& programFolder, Interaction& ui,
                           Connection& connection, TDMTable& registerTable)
    : config_(config),
      programFolder_(programFolder),
      ui_(ui),
      connection_(connection),
      registerTable_(registerTable)
{
}

bool ReportSigner::isDelivered(const QString& file)
{
    return file.left(4).toUpper() != QLatin1String("EMIR");
}

QString ReportSigner::registerFailureMessage()
{
    return QStringLiteral("Napaka pri popravku v DPATVP!");
}

void ReportSigner::bSignClick(const QString& selectedFile)
{
    const auto credentials = SigningPrompt::ask(config_, ui_);
    if (!credentials || selectedFile.isEmpty())
        return;
    SignAndSend(selectedFile, credentials->user, credentials->passPhrase, config_.ATVP_Uporabnik,
                isDelivered(selectedFile));
}

void ReportSigner::SignAndSend(const QString& file, const QString& user, const QString& passPhrase,
                               const QString& recipient, bool deliver)
{
    FileSigner signer(config_.Path, programFolder_, ui_);
    if (!signer.sign(programFolder_, file, user, passPhrase, recipient))
        return;
    if (!deliver)
        return;
    recordSend(file);
    deliverReport(file);
    deliverSignature(FileSigner::signatureName(file));
}

void ReportSigner::recordSend(const QString& file)
{
    runStep(connection_, registerFailureMessage(), [&] {
        TDMQuery sent(connection_, QStringLiteral("qPoslano"));
        // The report just signed is the one of that name not sent yet; a sent namesake keeps
        // its own send date.
        sent.setSql(QStringLiteral(" SELECT DPATVPID, ZAPST FROM DPATVP ")
                    + QStringLiteral(" WHERE XML_file = :XML_file AND DAN IS NULL "));
        sent.paramByName(QStringLiteral("XML_file")).setAsString(file);
        sent.open();
        if (!registerTable_.isActive())
            registerTable_.open();
        const QDateTime now = QDateTime::currentDateTime();
        for (sent.first(); !sent.eof(); sent.next()) {
            const QVariantList key{sent.fieldByName(QStringLiteral("DPATVPID")).value(),
                                   sent.fieldByName(QStringLiteral("ZAPST")).value()};
            if (!registerTable_.SQLSetRange(key))
                continue;
            try {
                registerTable_.edit();
                registerTable_.fieldByName(QStringLiteral("DAN")).setValue(now);
                registerTable_.post();
            } catch (...) {
                registerTable_.cancel();
                throw;
            }
        }
    });
}

void ReportSigner::deliverReport(const QString& file)
{
    if (config_.XMLPath_Server.isEmpty() || FileDelivery::sameFolder(config_.XMLPath_Server, programFolder_))
        return;
    const QString local = ProgramFolder::join(programFolder_, file);
    const QString server = ProgramFolder::join(config_.XMLPath_Server, file);
    QString error;
    if (!FileDelivery::copyReplacing(local, server, error)) {
        ui_.inform(FileDelivery::copyFailedMessage(file, server, error));
        return;
    }
    QFile::remove(local);
}

void ReportSigner::deliverSignature(const QString& signature)
{
    if (config_.SIGPath_Server.isEmpty() || FileDelivery::sameFolder(config_.SIGPath_Server, programFolder_))
        return;
    const QString local = ProgramFolder::join(programFolder_, signature);
    const QString server = ProgramFolder::join(config_.SIGPath_Server, signature);
    QString error;
    if (!FileDelivery::copyReplacing(local, server, error)) {
        ui_.inform(FileDelivery::copyFailedMessage(local, server, error));
        return;
    }
    QFile::remove(local);
}
