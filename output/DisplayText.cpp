#include "output/DisplayText.h"

#include "platform/TextDecoding.h"

namespace pembrill {

QString ToDisplay(const std::string& bytes) {
    return QString::fromStdString(DecodeForDisplay(bytes));
}

std::string FromDisplay(const QString& text) {
    return text.toStdString();
}

} // namespace pembrill
