#include "output/DisplayText.h"

#include "platform/TextDecoding.h"

namespace pembrill {

QString ToDisplay(const std::string& bytes) {
    return QString::fromStdString(DecodeForDisplay(bytes));
}

// On Windows a name goes to the system's "A" functions, which take bytes in
// the ANSI code page; elsewhere the file system takes UTF-8.
std::string FromDisplay(const QString& text) {
#ifdef _WIN32
    return text.toLocal8Bit().toStdString();
#else
    return text.toStdString();
#endif
}

} // namespace pembrill
