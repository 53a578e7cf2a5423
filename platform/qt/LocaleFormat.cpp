// Reads the user's number separators through Qt's system locale, which asks the desktop's own
// settings on every platform Qt supports.
#include "platform/LocaleFormat.h"

#include <QLocale>
#include <QString>

namespace platform {

TNumberSeparators ReadNumberSeparators()
{
    const QLocale locale = QLocale::system();
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

} // namespace platform
