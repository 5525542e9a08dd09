#include "output/DecimalSeparator.h"

#include <QLocale>

namespace pembrill {

char LocaleDecimalSeparator() {
    const QString separator = QLocale().decimalPoint();
    if (separator.size() != 1 || separator[0].unicode() > 0x7F)
        return '.';
    return static_cast<char>(separator[0].unicode());
}

} // namespace pembrill
