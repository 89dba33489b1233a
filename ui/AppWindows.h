// The program's windows, each created once, in start-up order, living until the end.
#pragma once

#include "ui/MainWin.h"
#include "tools/Transform.h"
#include "ui/about.h"
#include "ui/fr_insert.h"
#include "ui/fr_select.h"
#include "tools/offset.h"
#include "tools/orientate.h"
#include "ui/placement.h"
#include "preview/preview.h"
#include "tools/retime.h"
#include "tools/smooth.h"
#include "ui/temphelp.h"

class QIcon;
class QLocale;

namespace skyvane {

// The locale's decimal separator when it is one 8-bit character, otherwise '.'.
char decimalSeparatorOf(const QLocale& locale);

// The main window's entry grid and the part of it that a preview opened over the main window
// leaves in view: the headers and the first five entries of the Frame to Z columns. In the main
// window's client coordinates, once it is laid out.
struct GridAreas {
    Rect grid;
    Rect keepVisible;
};
GridAreas gridAreasOf(const TMainWindow& main);

// The icon the installation put into the desktop's icon theme, or the same picture built in.
QIcon applicationIcon();

class AppWindows {
public:
    AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Shows the main window with the preview beside it, each where it stood in the last run
    // while that still fits the screen; then opens `file`, when one is named, as Open KEY does.
    void show(const QString& file = QString());
    // Remembers where the main window and the preview stand, for the next run.
    void rememberPlaces() const;

    // Members are created in this order, which is the start-up order.
    TMainWindow mainWindow;
    TFrameSelector frameSelector;
    TInsertWindow insertWindow;
    TOffsetWindow offsetWindow;
    TPreviewWindow previewWindow;
    TOrientateWindow orientateWindow;
    TTransformWindow transformWindow;
    TAboutWin aboutWin;
    THelpWin helpWin;
    // The tools added since, created after the nine.
    TSmoothWindow smoothWindow;
    TRetimeWindow retimeWindow;

private:
    StartScreen startScreen() const;
};

} // namespace skyvane
