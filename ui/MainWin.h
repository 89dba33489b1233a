// The main window: the document, its node tabs and entry grid, and every command.
#pragma once

#include <QMainWindow>

#include "GridHost.h"
#include "Prompts.h"
#include "document.h"
#include "fr_select.h"

class QAction;
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
struct EntryCheck;
class EntryGridModel;
class RecentFiles;
class TAboutWin;
class THelpWin;
class TInsertWindow;
class TOffsetWindow;
class TOrientateWindow;
class TPreviewWindow;
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
};

class TMainWindow : public QMainWindow, public GridHost, public FrameSelectorClient {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    void setSecondaryWindows(const SecondaryWindows& windows);

    // GridHost
    const EntryTable& entries() const override;
    void applyCellEdits(const std::vector<CellEdit>& edits) override;
    int cursorRow() const override;
    void setCursor(int column, int row) override;
    void setCursorRow(int row) override;
    void focusGrid() override;
    void setStatus(const QString& text) override;
    QString numEntriesText() const override;
    bool checkEntries(int first, int last) override;
    QWidget* mainWidget() override;
    PlaybackTiming playbackTiming() const override;
    std::vector<KeyNodeTrack> keyNodes() const override;
    int currentNode() const override { return currentNode_; }
    FileDialogSettings open3doDialog() const override { return Open3DO.settings(); }

    // FrameSelectorClient
    void setRowSelectionMode(bool rows) override;
    void selectedEntries(int& first, int& last) const override;
    void runFrameCommand(int command, int first, int last) override;

    // Opens `path` as Open KEY does once a file is chosen: the save question first, then the
    // read; a 3DO model gives its mesh names instead. Files named on the command line, dropped
    // or chosen from the recent files come here.
    bool openFile(const QString& path);

    const TKeyDocument& document() const { return Document; }
    const EntryTable& frameClipboard() const { return FrameClipboard; }

    // Event handlers, named after their control and event.
    void SENodesChange(int value);
    bool NodeTabsChanging();
    void NodeTabsChange();
    void BtnGetMeshNameClick();
    void New1Click();
    void OpenClick();
    void SaveClick();
    void Exit1Click();
    void Copy1Click();
    void Paste1Click();
    void InsFrames1Click();
    void ClrFrames1Click();
    void DelFrames1Click();
    void Check1Click();
    void CheckPlayback1Click();
    void Transform1Click();
    void OffsetVal1Click();
    void AutoOrientate1Click();
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
    QComboBox* MeshName = nullptr;
    QLineEdit* NumEntries = nullptr;
    QFrame* Panel3 = nullptr;
    QPushButton* BtnGetMeshName = nullptr;
    EntryGrid* DataGrid = nullptr;
    QLabel* PNLErrors = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Paste2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createGui();
    QWidget* createDocumentPanel();
    QWidget* createNodePanel();
    void createMenus();
    void fitWidthToGrid();
    void createRecentMenu();

    // Document and working copy.
    void resetDocument();
    void installDocument(TKeyDocument document);
    void rebuildTabs();
    void showNodeCount();
    void addNodeTab();
    void removeLastNodeTab();
    void storeCurrentNode();
    void loadCurrentNode();
    void workingCopyChanged();
    void onTabChanged(int index);
    bool checkNode();
    bool showEntryCheck(const EntryCheck& check);

    // File commands.
    bool offerToSave();
    bool saveDocument();
    bool preSaveCheck();
    std::optional<float> savedFrameRate() const;
    void writeDocument(const QString& path);
    bool readDocument(const QString& path);
    bool readMeshNames(const QString& path);
    void setCaption(const QString& fileName);

    void openSelector(const QString& prompt, int command);
    void insertFrames(int count);

    TKeyDocument Document;
    WorkingCopy working_;
    EntryTable FrameClipboard{kClipboardStartRows};
    EntryGridModel* model_ = nullptr;
    int currentNode_ = -1;
    // FrameRate as last shown from the document: once the user changes it, its value is saved.
    QString frameRateShown_;

    FileDialog OpenKEY;
    FileDialog SaveKEY;
    FileDialog Open3DO;
    RecentFiles* recentFiles_ = nullptr;

    SecondaryWindows windows_;
};

} // namespace skyvane
