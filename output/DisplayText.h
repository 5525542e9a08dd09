#pragma once

#include <QString>

#include <string>

namespace pembrill {

// Bytes to a QString, at the edge where they are shown or drawn.
QString ToDisplay(const std::string& bytes);

// A name the user typed or picked in a window, back to the bytes the
// program keeps: UTF-8, which every system's file functions are given as
// they would be shown (on Windows through the wide functions).
std::string FromDisplay(const QString& text);

} // namespace pembrill
