#include "notes/NotePrinting.h"

#include "platform/Dialogs.h"
#include "platform/Modules.h"

#include <QCoreApplication>

namespace NotePrinting {

bool print(QWidget *parent, const NotePrintJob &job)
{
    std::optional<QString> pdf = Dialogs::takePrintToPdf();
    if (pdf && pdf->isEmpty())
        return false;   // the test's "cancel"
    if (!pdf && Dialogs::testMode())
        return false;
    QString error;
    const auto entry = reinterpret_cast<PrintNoteEntry>(
        Modules::resolve(QString::fromLatin1(kPrintModule), kPrintNoteSymbol, &error));
    if (!entry) {
        Dialogs::warning(parent, QCoreApplication::translate("TfPostIt", "Não foi possível imprimir: %1").arg(error));
        return false;
    }
    return entry(parent, job, pdf ? &*pdf : nullptr);
}

} // namespace NotePrinting
