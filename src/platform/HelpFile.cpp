#include "platform/HelpFile.h"

namespace kivo {
namespace {
QString& helpFileStore() {
    static QString path;
    return path;
}
}  // namespace

void setApplicationHelpFile(const QString& path) { helpFileStore() = path; }

QString applicationHelpFile() { return helpFileStore(); }

}  // namespace kivo
