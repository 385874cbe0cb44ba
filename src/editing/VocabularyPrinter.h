#pragma once
// Printing a rich-text document on the default printer, without a print
// dialog, as one job with a title. The vocabulary builder prints through the
// installed printer so that tests can take the job instead of a printer.
#include <QString>

class QTextDocument;

namespace korvana {

class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;
    // Prints the whole document. Throws korvana::Error when it cannot.
    virtual void print(const QTextDocument &document, const QString &title) = 0;

    static DocumentPrinter &instance();
    // Installs another printer (tests); nullptr restores the real one. The
    // caller keeps ownership.
    static void setInstance(DocumentPrinter *printer);
};

// Prints through Qt's print support on the system's default printer.
class QtDocumentPrinter : public DocumentPrinter {
public:
    void print(const QTextDocument &document, const QString &title) override;
};

} // namespace korvana
