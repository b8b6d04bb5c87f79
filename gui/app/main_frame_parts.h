// What the main frame's source files share.
#pragma once

#include <QLocale>
#include <QString>

namespace vrm::frame {

// The role that holds a tree item's command.
inline constexpr int kCommandRole = Qt::UserRole + 1;

// The user's decimal separator, for the texts the frame shows.
inline char DecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? '.' : point.at(0).toLatin1() ? point.at(0).toLatin1() : '.';
}

}  // namespace vrm::frame
