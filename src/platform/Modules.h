#pragma once
// Parts of the program that pull in large libraries (sound output, TLS) live in modules beside
// the program file, lib<name>.so, loaded the first time they are needed: a start that never
// plays a sound or mails through TLS does not pay for those libraries in time or memory.
#include <QString>
#include <QtGlobal>

namespace Modules {

// The entry point `symbol` of module `name` ("corkvane-tls"), loading the module on first use.
// Null when the module or the symbol is missing; `error` (when given) then says why.
QFunctionPointer resolve(const QString &name, const char *symbol, QString *error = nullptr);

} // namespace Modules
