// The program's windows, each created once, in start-up order, living until the end.
#pragma once

#include "MainWin.h"
#include "Transform.h"
#include "about.h"
#include "fr_insert.h"
#include "fr_select.h"
#include "offset.h"
#include "orientate.h"
#include "preview.h"
#include "retime.h"
#include "smooth.h"
#include "temphelp.h"

class QLocale;

namespace skyvane {

// The locale's decimal separator when it is one 8-bit character, otherwise '.'.
char decimalSeparatorOf(const QLocale& locale);

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
    void placeStartWindows();
};

} // namespace skyvane
