#pragma once

#include <string>

namespace pembrill {

// The one way bytes read from project, unit, form and print files become
// display text: valid UTF-8 (a leading BOM dropped) is taken as UTF-8,
// anything else in the user's Windows ANSI code page, as a Windows program
// shows 8-bit text. The result is UTF-8.
std::string DecodeForDisplay(const std::string& bytes);

// The same with the code page given. The code page's own decoder does the
// work (the system's converters); a byte it does not define stays the
// character of the same value, as Windows' conversion keeps the undefined
// bytes of 1252. A code page the system does not know reads as 1252.
std::string DecodeForDisplay(const std::string& bytes, int codePage);

// The code page 8-bit text is shown in. On Windows the system's. Elsewhere
// PEMBRILL_CODEPAGE when it holds a number, else the code page of the first
// of LC_ALL, LC_CTYPE and LANG that is set. Read once.
int UserCodePage();

// The ANSI code page Windows gives the language of a POSIX locale name such
// as "hu_HU.UTF-8": 1250 for Hungarian, 1251 for Russian, ...; 1252 for
// English, "C", "POSIX" and every language without one of its own.
int CodePageOfLocale(const std::string& locale);

#ifdef _WIN32
// Names and texts for the system's wide ("W") functions. The program keeps
// them as bytes: UTF-8 where they come from the system or a window, and as
// written in a project file (a later Delphi's UTF-8 or Delphi 2's ANSI code
// page). They reach the system as they would be shown, so a name beyond the
// ANSI code page (a user folder named Łukasz on a 1252 system) is still found.
std::wstring ToWide(const std::string& bytes);

// What the system's wide functions give, as the UTF-8 the program keeps.
std::string FromWide(const std::wstring& text);
#endif

} // namespace pembrill
