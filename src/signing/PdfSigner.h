#pragma once

#include <QString>
#include <QStringList>

class Interaction;
struct Config;

// Signing and encryption of the PDF documents of the PDF folder and their delivery to the
// server folders PDF_Server (documents) and PDF_SIGServer (signatures). Nothing is recorded
// in the database.
class PdfSigner {
public:
    PdfSigner(const Config& config, const QString& programFolder, Interaction& ui);

    // The folder of the documents to sign: PDF_Path when configured, else the program folder.
    QString pdfFolder() const;

    // The action of the PDF tab's signing button: with at least one file selected, asks for the
    // credentials once and signs every selected file, in the given order.
    void bSignPDGClick(const QStringList& selectedFiles);

    // Signs and encrypts one file of the PDF folder into base + ".sig" there, then moves the
    // document to PDF_Server and the signature to PDF_SIGServer (a server folder that is the
    // PDF folder itself leaves its file in place). A failure is shown as an error: another signing
    // of the file running, no signature made, a copy that failed (its file stays).
    void SignPDF(const QString& file, const QString& user, const QString& passPhrase,
                 const QString& recipient);

private:
    // Copies folder + file to server + file and removes the original; a failed copy keeps the
    // original and shows the copy message as an error.
    void move(const QString& folder, const QString& file, const QString& server);

    const Config& config_;
    QString programFolder_;
    Interaction& ui_;
};
