#pragma once

#include <QCoreApplication>
#include <QTranslator>

namespace harborlite::test {

// While alive, every text that goes through translation comes back between
// "[" and "]", whatever its context: a test sees which texts a user would see
// in another language, and that nothing compares a shown text with English.
class MarkingTranslator : public QTranslator {
public:
    MarkingTranslator() { QCoreApplication::installTranslator(this); }
    ~MarkingTranslator() override { QCoreApplication::removeTranslator(this); }

    MarkingTranslator(const MarkingTranslator&) = delete;
    MarkingTranslator& operator=(const MarkingTranslator&) = delete;

    bool isEmpty() const override { return false; }

    QString translate(const char*, const char* sourceText, const char* = nullptr, int = -1) const override
    {
        return QLatin1Char('[') + QString::fromUtf8(sourceText) + QLatin1Char(']');
    }
};

} // namespace harborlite::test
