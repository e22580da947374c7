#include "platform/Modules.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibrary>
#include <memory>

namespace Modules {

QFunctionPointer resolve(const QString &name, const char *symbol, QString *error)
{
    // Loaded modules stay loaded for the life of the process, like the libraries they stand for.
    static QHash<QString, std::shared_ptr<QLibrary>> loaded;
    std::shared_ptr<QLibrary> &library = loaded[name];
    if (!library) {
        library = std::make_shared<QLibrary>(QCoreApplication::applicationDirPath() + QStringLiteral("/lib") + name);
        library->load();
    }
    if (!library->isLoaded()) {
        if (error)
            *error = library->errorString();
        return nullptr;
    }
    const QFunctionPointer entry = library->resolve(symbol);
    if (!entry && error)
        *error = library->errorString();
    return entry;
}

} // namespace Modules
