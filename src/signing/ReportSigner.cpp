#include "signing/ReportSigner.h"

#include "core/Config.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "data/Step.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/dataset/TDMTable.h"
#include "data/engine/Connection.h"
#include "ntrs/ReportDigest.h"
#include "signing/FileCopy.h"
#include "signing/FileDelivery.h"
#include "signing/FileSigner.h"
#include "signing/SigningLock.h"
#include "signing/SigningPrompt.h"
#include "signing/WaitingReports.h"

#include <QDateTime>
#include <QFile>

#include <memory>
#include <vector>

namespace {

// The copies of one delivery; those put in place are withdrawn again when the delivery fails.
class Shipment {
public:
    void add(const QString& local, const QString& server, const QString& shownName,
             const CopyWriterFactory& writers)
    {
        copies_.push_back(std::make_unique<FileCopy>(local, server, writers));
        shownNames_ << shownName;
    }

    // Every copy whole under its temporary name first, then each under its name. Throws
    // ZtfiError with the copy message of the first that failed.
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
        throw ZtfiError(FileDelivery::copyFailedMessage(shownNames_.at(qsizetype(i)), copy.to(), copy.errorText()));
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

QString ReportSigner::SignAndSend(const QString& file, const QString& user, const QString& passPhrase,
                                  const QString& recipient, bool deliver)
{
    // Nothing outside the list is touched, not even by a lock; and a signing of the file that
    // ended while this one waited for the lock has sent it.
    WaitingReports::check(connection_, programFolder_, file);
    const SigningLock lock(programFolder_, file);
    WaitingReports::check(connection_, programFolder_, file);
    ReportDigest::check(connection_, programFolder_, file);
    FileSigner(config_.Path, programFolder_).sign(programFolder_, file, user, passPhrase, recipient);
    if (!deliver)
        return ProgramFolder::join(programFolder_, FileSigner::signatureName(file));
    return this->deliver(file);
}

bool ReportSigner::isServerFolder(const QString& folder) const
{
    return !folder.isEmpty() && !FileDelivery::sameFolder(folder, programFolder_);
}

QString ReportSigner::deliver(const QString& file)
{
    const QString signature = FileSigner::signatureName(file);
    const QString localSignature = ProgramFolder::join(programFolder_, signature);
    QString delivered = localSignature;
    Shipment shipment;
    if (isServerFolder(config_.XMLPath_Server))
        shipment.add(ProgramFolder::join(programFolder_, file), ProgramFolder::join(config_.XMLPath_Server, file),
                     file, writers_);
    if (isServerFolder(config_.SIGPath_Server)) {
        delivered = ProgramFolder::join(config_.SIGPath_Server, signature);
        shipment.add(localSignature, delivered, localSignature, writers_);
    }

    // The send date is written first and committed last: it is recorded exactly when both
    // files lie whole in their server folders.
    const auto failed = [&](const QString& kind, const QString& message) {
        return ZtfiError(stepFailureMessage(registerFailureMessage(), StepCause::OnNextLine, kind, message));
    };
    try {
        connection_.startTransaction();
    } catch (const ZtfiError& e) {
        throw failed(e.className(), e.message());
    }
    try {
        recordSend(file);
    } catch (const ZtfiError& e) {
        rollBackQuietly(connection_);
        throw failed(e.className(), e.message());
    } catch (const std::exception& e) {
        rollBackQuietly(connection_);
        throw failed(QStringLiteral("Exception"), QString::fromLocal8Bit(e.what()));
    }
    try {
        shipment.place();
    } catch (const ZtfiError&) {
        rollBackQuietly(connection_);
        shipment.withdraw();
        throw;
    }
    try {
        connection_.commit();
    } catch (const ZtfiError& e) {
        rollBackQuietly(connection_);
        shipment.withdraw();
        throw failed(e.className(), e.message());
    }
    shipment.removeOriginals();
    return delivered;
}

void ReportSigner::recordSend(const QString& file)
{
    TDMQuery sent(connection_, QStringLiteral("qPoslano"));
    // The report just signed is the one of that name not sent yet; a sent namesake keeps its
    // own send date.
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
}
