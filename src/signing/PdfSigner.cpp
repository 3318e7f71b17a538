#include "signing/PdfSigner.h"

#include "core/Config.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "signing/FileDelivery.h"
#include "signing/FileSigner.h"
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
    FileSigner signer(config_.Path, programFolder_, ui_);
    if (!signer.sign(folder, file, user, passPhrase, recipient))
        return;
    move(folder, file, config_.PDF_Server);
    move(folder, FileSigner::signatureName(file), config_.PDF_SIGServer);
}

void PdfSigner::move(const QString& folder, const QString& file, const QString& server)
{
    if (server.isEmpty() || FileDelivery::sameFolder(server, folder))
        return;
    const QString local = folder + file;
    const QString target = ProgramFolder::join(server, file);
    QString error;
    if (!FileDelivery::copyReplacing(local, target, error)) {
        ui_.inform(FileDelivery::copyFailedMessage(local, target, error));
        return;
    }
    QFile::remove(local);
}
