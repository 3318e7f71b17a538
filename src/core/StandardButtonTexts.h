#pragma once

#include <QTranslator>

// The Slovenian texts of Qt's standard buttons (OK, Cancel, Yes, No, ...), which Qt 6 takes
// from its platform theme and Qt's own Slovenian catalogue does not hold.
class StandardButtonTexts : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
