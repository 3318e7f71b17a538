#include "core/IniFile.h"
#include "signing/widgets/TfPasswordDlg.h"
#include "support/QtPrinters.h"
#include "ui/QtInteraction.h"

#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

class TfPasswordDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[GnuPG]\nPath=\nUser=star\nPassPhrase=787878\n[Splo\xC5\xA1no]\nATVP_Uporabnik=atvp\n");
    }

    QString ini() const { return dir_.filePath(QStringLiteral("ZTFI.ini")); }
    QString stored(const char* key) const
    {
        return IniFile::read(ini()).value(QStringLiteral("GnuPG"), QLatin1String(key), QStringLiteral("?"));
    }

    QTemporaryDir dir_;
};

QString labelFor(const TfPasswordDlg& dialog, QWidget* field)
{
    auto* form = dialog.findChild<QFormLayout*>();
    auto* label = form ? qobject_cast<QLabel*>(form->labelForField(field)) : nullptr;
    return label ? label->text() : QString();
}

TEST_F(TfPasswordDlgTest, ShowsTheSystemsTextsAndTheRememberedValues)
{
    Interaction::SigningCredentials initial;
    initial.user = QStringLiteral("podpisnik");
    initial.passPhrase = QStringLiteral("abc");
    initial.rememberUser = true;
    initial.rememberPassPhrase = false;
    TfPasswordDlg dialog(initial, ini());
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Elektronski podpis"));
    EXPECT_EQ(labelFor(dialog, dialog.eKorisnik), QStringLiteral("Uporabnik:"));
    EXPECT_EQ(labelFor(dialog, dialog.ePassPhrase), QStringLiteral("Geslo:"));
    EXPECT_EQ(dialog.eKorisnik->text(), QStringLiteral("podpisnik"));
    EXPECT_EQ(dialog.ePassPhrase->text(), QStringLiteral("abc"));
    EXPECT_EQ(dialog.ePassPhrase->displayText(), QStringLiteral("***"));
    EXPECT_EQ(dialog.cbZapomniK->text(), QStringLiteral("Zapomni uporabnika"));
    EXPECT_TRUE(dialog.cbZapomniK->isChecked());
    EXPECT_EQ(dialog.cbZapomniP->text(), QStringLiteral("Zapomni geslo"));
    EXPECT_FALSE(dialog.cbZapomniP->isChecked());
    EXPECT_EQ(dialog.bbOK->text(), QStringLiteral("V redu"));
    EXPECT_TRUE(dialog.bbOK->isDefault());
    EXPECT_EQ(dialog.bbCancel->text(), QStringLiteral("Prekliči"));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(TfPasswordDlgTest, ConfirmingRemembersOrEmptiesTheValues)
{
    TfPasswordDlg dialog(Interaction::SigningCredentials{}, ini());
    dialog.show();
    dialog.eKorisnik->setText(QStringLiteral("Ana"));
    dialog.ePassPhrase->setText(QStringLiteral("abc"));
    dialog.cbZapomniP->setChecked(true);
    // Enter in the pass phrase confirms: "V redu" is the default button.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog.ePassPhrase, &enter);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("PassPhrase"), QStringLiteral("616263"));
    EXPECT_EQ(stored("User"), QString());
    const Interaction::SigningCredentials typed = dialog.credentials();
    EXPECT_EQ(typed.user, QStringLiteral("Ana"));
    EXPECT_EQ(typed.passPhrase, QStringLiteral("abc"));

    Interaction::SigningCredentials remembered = typed;
    remembered.rememberUser = true;
    remembered.rememberPassPhrase = true;
    TfPasswordDlg again(remembered, ini());
    again.show();
    again.cbZapomniP->setChecked(false);
    again.bbOK->click();
    EXPECT_EQ(stored("PassPhrase"), QString());
    EXPECT_EQ(stored("User"), QStringLiteral("Ana"));
    EXPECT_EQ(IniFile::read(ini()).value(QStringLiteral("Splošno"), QStringLiteral("ATVP_Uporabnik")),
              QStringLiteral("atvp"));
}

TEST_F(TfPasswordDlgTest, CancellingWritesNothing)
{
    TfPasswordDlg dialog(Interaction::SigningCredentials{}, ini());
    dialog.show();
    dialog.eKorisnik->setText(QStringLiteral("Ana"));
    dialog.bbCancel->click();

    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(stored("User"), QStringLiteral("star"));
    EXPECT_EQ(stored("PassPhrase"), QStringLiteral("787878"));
}

TEST_F(TfPasswordDlgTest, TheWindowAsksWithThisDialogAndItRemembersBesideTheProgram)
{
    const bool hadHome = qEnvironmentVariableIsSet("ZTFI_HOME");
    const QByteArray savedHome = qgetenv("ZTFI_HOME");
    qputenv("ZTFI_HOME", QFile::encodeName(dir_.path()));
    Interaction::SigningCredentials initial;
    initial.user = QStringLiteral("podpisnik");
    initial.rememberUser = true;
    // Answers the dialog once it is up.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        auto* dialog = qobject_cast<TfPasswordDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer.stop();
        dialog->ePassPhrase->setText(QStringLiteral("abc"));
        dialog->cbZapomniP->setChecked(true);
        dialog->bbOK->click();
    });
    answer.start(10);

    const std::optional<Interaction::SigningCredentials> credentials = QtInteraction().askSigningCredentials(initial);

    if (hadHome)
        qputenv("ZTFI_HOME", savedHome);
    else
        qunsetenv("ZTFI_HOME");
    ASSERT_TRUE(credentials.has_value());
    EXPECT_EQ(credentials->user, QStringLiteral("podpisnik"));
    EXPECT_EQ(credentials->passPhrase, QStringLiteral("abc"));
    EXPECT_EQ(stored("User"), QStringLiteral("podpisnik"));
    EXPECT_EQ(stored("PassPhrase"), QStringLiteral("616263"));
}

}  // namespace
