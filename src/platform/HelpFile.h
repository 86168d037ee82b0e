#pragma once
// The application's help file: the path that a help request opens. It is
// set at start-up to a fixed path and replaced before every help request.
#include <QString>

namespace kivo {

void setApplicationHelpFile(const QString& path);
QString applicationHelpFile();

}  // namespace kivo
