#pragma once

#include <QTranslator>

// The Slovenian texts that Qt's own Slovenian catalogue lacks: the standard buttons (OK, Cancel,
// Yes, No, ...), which Qt 6 takes from its platform theme, and the print dialog's description of
// printing to a PDF file.
class MissingQtTexts : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
