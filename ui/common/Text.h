// Cells and files are 8-bit text; widgets show them as Latin-1 so every byte comes back out
// unchanged.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace skyvane {

inline QString fromBytes(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Characters beyond Latin-1 cannot be stored in an 8-bit file; they become '?'.
inline std::string toBytes(const QString& text) {
    const QByteArray latin1 = text.toLatin1();
    return std::string(latin1.constData(), static_cast<std::size_t>(latin1.size()));
}

} // namespace skyvane
