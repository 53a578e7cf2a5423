// Reads the user's number separators through Qt's system locale, which asks the desktop's own
// settings on every platform Qt supports, so no per-OS code is needed here.
#include "platform/LocaleFormat.h"

#include <QLocale>
#include <QString>

namespace platform {

namespace {

TNumberSeparators ReadSeparators()
{
    const QLocale locale = QLocale::system();
    TNumberSeparators s;
    const QString group = locale.groupSeparator();
    const QString decimal = locale.decimalPoint();
    // A locale that names no separator keeps the classic one rather than run digits together.
    if (!group.isEmpty())
        s.Thousand = group.toStdString();
    if (!decimal.isEmpty())
        s.Decimal = decimal.toStdString();
    return s;
}

} // namespace

const TNumberSeparators& UserNumberSeparators()
{
    static const TNumberSeparators separators = ReadSeparators();
    return separators;
}

} // namespace platform
