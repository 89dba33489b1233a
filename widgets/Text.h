// Cells and files are 8-bit text; widgets show them as Latin-1 so every byte comes back out
// unchanged. File names, though, are in the system's encoding.
#pragma once

#include <QFile>
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

inline std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Why a file was refused, as the readers word it: file names in the system's encoding.
inline QString reasonText(std::string_view reason) {
    return QString::fromLocal8Bit(reason.data(), qsizetype(reason.size()));
}

} // namespace skyvane
