#include "signing/ReportSigner.h"

#include "core/Config.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "ntrs/ReportDigest.h"
#include "signing/FileCopy.h"
#include "signing/FileDelivery.h"
#include "signing/FileSigner.h"
#include "signing/SendRecording.h"
#include "signing/SigningLock.h"
#include "signing/SigningPrompt.h"
#include "signing/WaitingReports.h"

#include <QDateTime>
#include <QFile>

#include <memory>
#include <vector>

namespace {

// The copies of one delivery; those put in place are withdrawn again when the delivery fails,
// and a file they replaced returns under its name.
class Shipment {
public:
    void add(const QString& local, const QString& server, const QString& shownName,
             const CopyWriterFactory& writers, int waitSeconds)
    {
        copies_.push_back(std::make_unique<FileCopy>(local, server, writers, waitSeconds));
        shownNames_ << shownName;
    }

    // Every copy whole under its temporary name first, then each under its name. Throws
    // ZtfiError with the copy message of the first that failed, the others withdrawn.
    void place()
    {
        for (std::size_t i = 0; i < copies_.size(); ++i) {
            if (!copies_[i]->stage())
                fail(i);
        }
        for (std::size_t i = 0; i < copies_.size(); ++i) {
            if (!copies_[i]->putInPlace())
                fail(i);
        }
    }

    void withdraw()
    {
        for (const auto& copy : copies_)
            copy->withdraw();
    }

    // The delivered files leave the program folder.
    void removeOriginals()
    {
        for (const auto& copy : copies_)
            QFile::remove(copy->from());
    }

private:
    [[noreturn]] void fail(std::size_t i)
    {
        const FileCopy& copy = *copies_[i];
        const QString message =
            FileDelivery::copyFailedMessage(shownNames_.at(qsizetype(i)), copy.to(), copy.errorText());
        withdraw();
        throw ZtfiError(message);
    }

    std::vector<std::unique_ptr<FileCopy>> copies_;
    QStringList shownNames_;
};

}  // namespace

ReportSigner::ReportSigner(const Config& config, const QString& programFolder, Interaction& ui,
                           Connection& connection, TDMTable& registerTable, CopyWriterFactory writers)
    : config_(config),
      programFolder_(programFolder),
      ui_(ui),
      connection_(connection),
      registerTable_(registerTable),
      writers_(std::move(writers))
{
}

bool ReportSigner::isDelivered(const QString& file)
{
    return file.left(4).toUpper() != QLatin1String("EMIR");
}

QString ReportSigner::registerFailureMessage()
{
    return SendRecording::failureMessage();
}

void ReportSigner::bSignClick(const QString& selectedFile)
{
    const auto credentials = SigningPrompt::ask(config_, ui_);
    if (!credentials || selectedFile.isEmpty())
        return;
    SignAndSend(selectedFile, credentials->user, credentials->passPhrase, config_.ATVP_Uporabnik,
                isDelivered(selectedFile));
}

QString ReportSigner::SignAndSend(const QString& file, const QString& user, const QString& passPhrase,
                                  const QString& recipient, bool deliver)
{
    // Nothing outside the list is touched, not even by a lock; and a signing of the file that
    // ended while this one waited for the lock has sent it.
    WaitingReports::check(connection_, programFolder_, file);
    const SigningLock lock(programFolder_, file);
    WaitingReports::check(connection_, programFolder_, file);
    const QString sha256 = ReportDigest::ofFile(ProgramFolder::join(programFolder_, file));
    ReportDigest::check(connection_, file, sha256);
    ui_.progress(QStringLiteral("Podpisovanje in šifriranje: ") + file, 0, deliver ? 3 : 1);
    FileSigner(config_.Path, programFolder_).sign(programFolder_, file, user, passPhrase, recipient);
    if (!deliver)
        return ProgramFolder::join(programFolder_, FileSigner::signatureName(file));
    return this->deliver(file, sha256);
}

bool ReportSigner::isServerFolder(const QString& folder) const
{
    return !folder.isEmpty() && !FileDelivery::sameFolder(folder, programFolder_);
}

QString ReportSigner::deliver(const QString& file, const QString& sha256)
{
    const QString signature = FileSigner::signatureName(file);
    const QString localSignature = ProgramFolder::join(programFolder_, signature);
    QString delivered = localSignature;
    Shipment shipment;
    if (isServerFolder(config_.XMLPath_Server))
        shipment.add(ProgramFolder::join(programFolder_, file), ProgramFolder::join(config_.XMLPath_Server, file),
                     file, writers_, config_.CakanjeStreznik);
    if (isServerFolder(config_.SIGPath_Server)) {
        delivered = ProgramFolder::join(config_.SIGPath_Server, signature);
        shipment.add(localSignature, delivered, localSignature, writers_, config_.CakanjeStreznik);
    }

    // The copies first, with no transaction open: a server folder that keeps the delivery
    // waiting keeps no other desk from the database. The send is then recorded in a short
    // transaction of its own, so that it is recorded exactly when both files lie whole in
    // their server folders.
    ui_.progress(QStringLiteral("Kopiranje na strežnik: ") + file, 1, 3);
    shipment.place();
    ui_.progress(QStringLiteral("Zapis pošiljanja v register: ") + file, 2, 3);
    try {
        SendRecording(connection_, registerTable_).record(file, sha256, QDateTime::currentDateTime());
    } catch (const ZtfiError&) {
        shipment.withdraw();
        throw;
    }
    shipment.removeOriginals();
    return delivered;
}
