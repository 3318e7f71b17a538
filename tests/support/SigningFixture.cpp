#include "support/SigningFixture.h"

#include "signing/RegisterTable.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

std::unique_ptr<GpgTestHome> SigningFixture::home_;

void SigningFixture::SetUpTestSuite()
{
    home_ = std::make_unique<GpgTestHome>();
}

void SigningFixture::TearDownTestSuite()
{
    home_.reset();
}

void SigningFixture::SetUp()
{
    ASSERT_TRUE(home_->valid()) << home_->problem().toStdString();
    ASSERT_TRUE(program_.isValid() && xmlServer_.isValid() && sigServer_.isValid());

    register_ = RegisterTable::create(db_.connection());
    audit_.attach(*register_);

    config_.XMLPath_Server = xmlServer_.path() + QLatin1Char('/');
    config_.SIGPath_Server = sigServer_.path() + QLatin1Char('/');
    config_.ATVP_Uporabnik = GpgTestHome::regulatorUser();
    config_.PDF_Path = QStringLiteral("/");
    config_.PDF_Server = programFolder();
    config_.PDF_SIGServer = programFolder();
}

QString SigningFixture::writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

Interaction::SigningCredentials SigningFixture::firmCredentials()
{
    Interaction::SigningCredentials credentials;
    credentials.user = GpgTestHome::firmUser();
    credentials.passPhrase = GpgTestHome::firmPassPhrase();
    return credentials;
}

QStringList SigningFixture::auditedWrites()
{
    QStringList rows;
    QSqlQuery query(db_.connection().database());
    if (!query.exec(QStringLiteral("SELECT SfAct || Cnt FROM ACT WHERE Tbl = 'DPATVP' ORDER BY IdAct")))
        ADD_FAILURE() << query.lastError().text().toStdString();
    while (query.next())
        rows << query.value(0).toString();
    return rows;
}

QDateTime SigningFixture::sentAt(qint64 id, int serial)
{
    const QString format = QStringLiteral("dd.MM.yyyy hh:mm:ss");
    const QVariant sent = db_.value(
        QStringLiteral("SELECT TO_CHAR(DAN, 'dd.mm.yyyy hh24:mi:ss') FROM DPATVP WHERE DPATVPID = %1 AND ZAPST = %2")
            .arg(id)
            .arg(serial));
    return sent.isNull() ? QDateTime() : QDateTime::fromString(sent.toString(), format);
}
