#pragma once

#include <QString>

#include <string>

namespace pembrill {

// Bytes to a QString, at the edge where they are shown or drawn.
QString ToDisplay(const std::string& bytes);

// A name the user typed or picked in a window, back to the bytes the
// program keeps: UTF-8, as the file system names it, or on Windows the ANSI
// code page, as the system's "A" functions take it.
std::string FromDisplay(const QString& text);

} // namespace pembrill
