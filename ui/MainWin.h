// The main window: the editing session's face, with its node tabs and entry grid, and every
// command.
#pragma once

#include <QMainWindow>

#include <functional>

#include "widgets/GridHost.h"
#include "widgets/Prompts.h"
#include "ui/fr_select.h"
#include "core/session.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSpinBox;
class QTabBar;

namespace skyvane {

class EntryGrid;
class EntryGridModel;
class RecentFiles;
class TAboutWin;
class THelpWin;
class TInsertWindow;
class TMarkersWindow;
class TOffsetWindow;
class TOrientateWindow;
class TPreviewWindow;
class TRetimeWindow;
class TSmoothWindow;
class TTransformWindow;

// The windows the main window's commands open; all live as long as the main window.
struct SecondaryWindows {
    TFrameSelector* frameSelector = nullptr;
    TInsertWindow* insertWindow = nullptr;
    TOffsetWindow* offsetWindow = nullptr;
    TPreviewWindow* previewWindow = nullptr;
    TOrientateWindow* orientateWindow = nullptr;
    TTransformWindow* transformWindow = nullptr;
    TAboutWin* aboutWin = nullptr;
    THelpWin* helpWin = nullptr;
    TSmoothWindow* smoothWindow = nullptr;
    TRetimeWindow* retimeWindow = nullptr;
};

class TMainWindow : public QMainWindow, public GridHost, public FrameSelectorClient {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    void setSecondaryWindows(const SecondaryWindows& windows);

    // GridHost
    EditSession& session() override { return session_; }
    int cursorEntry() const override;
    void setCursor(int column, int entry) override;
    void setCursorEntry(int entry) override;
    void followEntry(int entry) override;
    void focusGrid() override;
    void setStatus(const QString& text) override;
    QWidget* mainWidget() override;
    FileDialogSettings open3doDialog() const override { return Open3DO.settings(); }

    // FrameSelectorClient
    void setRowSelectionMode(bool rows) override;
    void selectedEntries(int& first, int& last) const override;
    void runFrameCommand(int command, int first, int last) override;

    // Opens `path` as Open KEY does once a file is chosen: the save question first, then the
    // read; a 3DO model gives its mesh names instead. Files named on the command line, dropped
    // or chosen from the recent files come here.
    bool openFile(const QString& path);

    const TKeyDocument& document() const { return session_.document(); }
    const EntryTable& frameClipboard() const { return session_.clipboard(); }
    int currentNode() const { return session_.currentNode(); }

    // Event handlers, named after their control and event.
    void SENodesChange(int value);
    bool NodeTabsChanging();
    void NodeTabsChange(int index);
    void BtnGetMeshNameClick();
    void New1Click();
    void OpenClick();
    void SaveClick();
    void SaveAs1Click();
    void Exit1Click();
    void Undo1Click();
    void Redo1Click();
    void Copy1Click();
    void Paste1Click();
    void InsFrames1Click();
    void ClrFrames1Click();
    void DelFrames1Click();
    void Markers1Click();
    void Check1Click();
    void CheckPlayback1Click();
    void MendJumps1Click();
    void Transform1Click();
    void OffsetVal1Click();
    void AutoOrientate1Click();
    void SmoothPath1Click();
    void Retime1Click();
    void Preview1Click();
    void Contents1Click();
    void About1Click();

    // Controls, named as the user's documentation names them.
    QMenuBar* MainMenu1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLineEdit* FrameRate = nullptr;
    QSpinBox* SENodes = nullptr;
    QTabBar* NodeTabs = nullptr;
    QFrame* Panel2 = nullptr;
    // The document's header as the game reads it, and the current node's joint number.
    QLineEdit* HeaderType = nullptr;
    QSpinBox* LoopFrames = nullptr;
    QCheckBox* CBFitFrames = nullptr;
    QSpinBox* SEJoints = nullptr;
    QSpinBox* SEJoint = nullptr;
    QComboBox* MeshName = nullptr;
    QLineEdit* NumEntries = nullptr;
    QFrame* Panel3 = nullptr;
    QPushButton* BtnGetMeshName = nullptr;
    EntryGrid* DataGrid = nullptr;
    QLabel* PNLErrors = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Undo2 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Redo2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createGui();
    QWidget* createDocumentPanel();
    QWidget* createNodePanel();
    void createMenus();
    void fitWidthToGrid();
    void createRecentMenu();
    void addShortcuts();

    // The widgets follow the session.
    void sessionChanged();
    void showTabs();
    void showHeader();
    void setHeaderField(const std::string& stepName, const std::function<void(KeyHeader&)>& change);
    void showHistory();
    void showSessionCursor();
    void startedAfresh();
    void onTabChanged(int index);

    // File commands.
    bool offerToSave();
    bool saveDocument(bool askName);
    bool showSaveCheck(const SaveCheck& check);
    bool readDocument(const QString& path);
    bool readMeshNames(const QString& path);
    bool openModel(const QString& path);
    void showFileName();

    // Every Steps that falls short of the next entry, in every node, as one step; says how many.
    void mendJumps();
    void openSelector(const QString& prompt, int command);
    void insertFrames(int count);

    EditSession session_;
    EntryGridModel* model_ = nullptr;

    FileDialog OpenKEY;
    FileDialog SaveKEY;
    FileDialog Open3DO;
    RecentFiles* recentFiles_ = nullptr;

    SecondaryWindows windows_;
    TMarkersWindow* markersWindow_ = nullptr;
};

} // namespace skyvane
