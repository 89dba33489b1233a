// The files last opened or saved, kept in the user's settings so that every run sees them, and
// the File menu's "Open Recent" list made from them.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QMenu;

namespace skyvane {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxFiles = 8;
    using Opener = std::function<void(const QString& path)>;

    // Fills `menu` afresh each time it opens; choosing a file calls `open` with its path.
    RecentFiles(QMenu* menu, Opener open);

    QStringList files() const; // newest first
    void add(const QString& path);
    void clear();

private:
    void fillMenu();

    QMenu* menu_;
    Opener open_;
};

} // namespace skyvane
