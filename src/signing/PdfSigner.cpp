#include "signing/PdfSigner.h"

#include "core/Config.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "signing/FileCopy.h"
#include "signing/FileDelivery.h"
#include "signing/FileSigner.h"
#include "signing/SigningLock.h"
#include "signing/SigningPrompt.h"

#include <QFile>

PdfSigner::PdfSigner(const Config& config, const QString& programFolder, Interaction& ui)
    : config_(config), programFolder_(programFolder), ui_(ui)
{
}

QString PdfSigner::pdfFolder() const
{
    return ProgramFolder::join(config_.hasPdfFolder() ? config_.PDF_Path : programFolder_, QString());
}

void PdfSigner::bSignPDGClick(const QStringList& selectedFiles)
{
    if (selectedFiles.isEmpty())
        return;
    const auto credentials = SigningPrompt::ask(config_, ui_);
    if (!credentials)
        return;
    for (const QString& file : selectedFiles)
        SignPDF(file, credentials->user, credentials->passPhrase, config_.ATVP_Uporabnik);
}

void PdfSigner::SignPDF(const QString& file, const QString& user, const QString& passPhrase,
                        const QString& recipient)
{
    const QString folder = pdfFolder();
    try {
        const SigningLock lock(folder, file);
        FileSigner(config_.Path, programFolder_).sign(folder, file, user, passPhrase, recipient);
        move(folder, file, config_.PDF_Server);
        move(folder, FileSigner::signatureName(file), config_.PDF_SIGServer);
    } catch (const ZtfiError& e) {
        ui_.error(e.message());
    }
}

void PdfSigner::move(const QString& folder, const QString& file, const QString& server)
{
    if (server.isEmpty() || FileDelivery::sameFolder(server, folder))
        return;
    const QString local = folder + file;
    const QString target = ProgramFolder::join(server, file);
    QString error;
    if (!FileCopy::copy(local, target, error, {}, config_.CakanjeStreznik)) {
        ui_.error(FileDelivery::copyFailedMessage(local, target, error));
        return;
    }
    QFile::remove(local);
}
