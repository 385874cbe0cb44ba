#include "editing/VocabularyPrinter.h"

#include "platform/ui/Errors.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace korvana {

namespace {
DocumentPrinter *g_installed = nullptr;
} // namespace

DocumentPrinter &DocumentPrinter::instance()
{
    static QtDocumentPrinter real;
    return g_installed ? *g_installed : real;
}

void DocumentPrinter::setInstance(DocumentPrinter *printer)
{
    g_installed = printer;
}

void QtDocumentPrinter::print(const QTextDocument &document, const QString &title)
{
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        throw Error(QStringLiteral("There is no default printer currently selected"));
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(title);
    if (!printer.isValid())
        throw Error(QStringLiteral("Printer selected is not valid"));
    document.print(&printer);
}

} // namespace korvana
