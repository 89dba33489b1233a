// The preview with the real main window: the main window's undo keys act from the preview, the
// grid's cursor follows the frames played and a click on a row moves the slider, and a document
// opened anew takes the played object of the old one away.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QSlider>

#include "preview/MarkerSlider.h"
#include "UiFixture.h"

using namespace skyvane;
using namespace skyvane::test;

class PreviewWiringTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    template <typename T> T* control(const char* name) {
        return ui.preview().findChild<T*>(QString::fromLatin1(name));
    }
    int yellowPixels() {
        const QImage picture = control<QLabel>("Image1")->pixmap().toImage();
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                count += picture.pixelColor(x, y) == QColor(255, 255, 0) ? 1 : 0;
        return count;
    }
    void activatePreview() {
        ui.preview().show();
        ui.preview().activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &ui.preview());
    }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    void undoAndRedoKeys_fromThePreview_actOnTheDocument() {
        ui.setEntry(0, {"0", "1", "0", "0", "0", "0", "0", "0"});
        ui.setEntry(0, {"0", "1", "5", "0", "0", "0", "0", "0"});
        activatePreview();
        // The entry box has the focus: its own undo must not take the key.
        control<QWidget>("SpEntry")->setFocus();
        QTest::keyClick(ui.preview().windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("0"));
        QTest::keyClick(ui.preview().windowHandle(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("5"));
    }

    // Entry e at Frame 10 e: the cursor stands on the entry whose way holds the frame.
    void gridCursor_followsTheFramesPlayedWithoutTheFocusOrAnyCell() {
        ui.fillEntries(10);
        ui.main().session().setFrameRateText("2000");
        ui.grid().setCursor(ColY, 0);
        activatePreview();
        QWidget* focused = QApplication::focusWidget();
        const EntryTable cells = ui.main().entries();
        for (int frame = 1; frame <= 90; ++frame) {
            QTest::keyClick(ui.preview().windowHandle(), Qt::Key_Period);
            QCOMPARE(control<QSlider>("TBFrame")->value(), frame);
            QCOMPARE(ui.main().cursorEntry(), frame / 10);
        }
        QTest::keyClick(ui.preview().windowHandle(), Qt::Key_Comma);
        QCOMPARE(ui.main().cursorEntry(), 8);
        QTest::keyClick(ui.preview().windowHandle(), Qt::Key_Period);
        control<QAbstractButton>("BtnPlay")->click(); // from the start, as it stood at the end
        QCOMPARE(ui.main().cursorEntry(), 0);
        QTRY_COMPARE(control<QAbstractButton>("BtnPlay")->text(), QStringLiteral("Play"));
        QCOMPARE(ui.main().cursorEntry(), 9);
        QCOMPARE(ui.grid().cursorColumn(), int(ColY));
        QCOMPARE(QApplication::focusWidget(), focused);
        QVERIFY(ui.main().entries() == cells);
    }

    void gridRowClickedAtRest_movesTheSliderToItsFrame() {
        ui.fillEntries(10);
        activatePreview();
        const QRect row = ui.grid().visualRect(ui.grid().model()->index(4, ColX));
        QTest::mouseClick(ui.grid().viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
        QCOMPARE(control<QSlider>("TBFrame")->value(), 40);
        QVERIFY(yellowPixels() > 0);
    }

    void markers_areTicksOnTheSlider_andNamedAsPlayReachesThem() {
        ui.fillEntries(4);
        KeyHeader header = ui.main().session().header();
        header.markers = {{18, 3}, {25, 4}};
        ui.main().session().setHeader(header, kStepMarkers);
        activatePreview();
        auto* slider = control<MarkerSlider>("TBFrame");
        QCOMPARE(slider->ticks().size(), 2u);
        QCOMPARE(slider->tipAt(slider->xOfFrame(18)), QStringLiteral("Attack"));
        QVERIFY(slider->tipAt(slider->xOfFrame(18)) != slider->tipAt(slider->xOfFrame(25)));
        QVERIFY(slider->tipAt(slider->xOfFrame(0)).isEmpty());
        slider->setValue(18);
        QCOMPARE(control<QLabel>("LblFrame")->text(), QStringLiteral("Frame 18   1.200 s   Attack"));
    }

    void open_takesThePlayedObjectAway() {
        ui.prompts->files = {ui.writeKey(QStringLiteral("a.KEY"), UiFixture::makeDocument(1, 3))};
        ui.trigger("Open");
        activatePreview();
        control<QSlider>("TBFrame")->setValue(5);
        QVERIFY(yellowPixels() > 0);
        ui.prompts->files = {ui.writeKey(QStringLiteral("b.KEY"), UiFixture::makeDocument(1, 2))};
        ui.trigger("Open");
        QCOMPARE(control<QSlider>("TBFrame")->value(), 0);
        QCOMPARE(yellowPixels(), 0);
    }
};

#include "previewwiring_test.moc"

std::unique_ptr<QObject> makePreviewWiringTest() {
    return std::make_unique<PreviewWiringTest>();
}
